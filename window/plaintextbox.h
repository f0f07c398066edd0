// Text1 as Qt's plain-text box. Its text document costs about 2 µs per line and lays a long line
// out at once, so it is the slower box on large texts; it stays as the measure of the other one.
#pragma once

#include "window/textbox.h"

#include <QByteArray>

class QPlainTextEdit;

namespace zanvo {

class PlainTextBox : public TextBox {
public:
    explicit PlainTextBox(QWidget *parent);

    QWidget *widget() override;
    std::string_view text() override;
    bool isEmpty() const override;
    void setBusy(bool busy) override;
    std::unique_ptr<Content> newContent() override;
    void show(std::unique_ptr<Content> content) override;
    void undo() override;
    void redo() override;

private:
    QPlainTextEdit *m_box;
    QByteArray m_text; // what text() last returned
};

} // namespace zanvo
