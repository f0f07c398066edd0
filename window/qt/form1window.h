// Form1 as a Qt window: creates and places the controls from the window's description, wires
// their events to the shared handlers, and gives the handlers its controls.
#pragma once

#include "window/form/form1.h"
#include "window/qt/scintillacontrol.h"
#include "window/qt/uithread.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zanvo {

class ClickLabel;

class Form1Window : public QWidget, public FormControls {
    Q_OBJECT
public:
    // Builds the window and runs Form_Load, so the skin is in place before the first show.
    explicit Form1Window(FormServices &services, RandomSource &random = RandomSource::process());
    ~Form1Window() override;

    // The text box, as the handlers reach it (and tests and benchmarks too).
    ScintillaBox &text1() override { return Text1->box(); }
    Form1 &form() { return *m_form; }

signals:
    // A Start, a removal of lines or a dropped file has ended, its result in the box.
    void jobFinished();
    // A run-time error was reported: the program is to end with status.
    void programEnds(int status);

private:
    void setBusy(bool busy) override;
    void showProgress(std::chrono::milliseconds after) override;
    void hideProgress() override;
    void messageBox(std::string_view prompt, std::string_view title) override;
    void endProgram(int status) override;
    void applySkin(std::string_view sheet) override;

    QtUiThread m_ui;
    ScintillaControl *Text1;
    QPushButton *Command1;
    QLabel *Label1;
    QPushButton *Command2;
    ClickLabel *Label2;
    QProgressBar *m_progress;
    QTimer m_progressDelay;
    std::unique_ptr<Form1> m_form;
};

} // namespace zanvo
