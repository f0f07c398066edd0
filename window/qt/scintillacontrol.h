// Text1 as QScintilla draws it: the widget under the shared Scintilla text box, which it sends
// Scintilla's messages for and hands its keys, context menu, input method and clipboard. It
// takes the platform's font and the skin's colours, and passes on the files dropped on it.
#pragma once

#include "window/form/scintillabox.h"

#include <Qsci/qsciscintilla.h>
#include <string>
#include <vector>

namespace zanvo {

class ScintillaControl : public QsciScintilla, public ScintillaCalls {
    Q_OBJECT
public:
    ScintillaControl(QWidget *parent, UiThread &ui, Clipboard &clipboard);

    ScintillaBox &box() { return m_box; }

    std::intptr_t send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool pointersComeBackWhole() const override { return sizeof(long) >= sizeof(void *); }
    void endComposition() override;

signals:
    // Files dropped on the box, their names in UTF-8.
    void filesDropped(const std::vector<std::string> &names);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    QByteArray fromMimeData(const QMimeData *source, bool &rectangular) const override;
    QMimeData *toMimeData(const QByteArray &text, bool rectangular) const override;
    void changeEvent(QEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    void applyLook();

    ScintillaBox m_box;
};

} // namespace zanvo
