// The program's one window: the text box, the Start and web site buttons, the description and
// the link label, and their handlers.
#pragma once

#include "runtime/randomsource.h"
#include "window/textbox.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zanvo {

class ClickLabel;
class FillJob;

// The maker's home page, as the link label shows it and the web site button opens it.
QString homePageAddress();

// What the handlers draw on besides the controls: the clock that reseeds the random source, the
// scrambler (called on a worker thread), the process start of the home page links. Tests put
// fakes in their place.
struct Form1Services {
    std::function<float()> secondsSinceMidnight = zanvo::secondsSinceMidnight;
    std::function<std::string(std::string_view, RandomSource &)> scramble;
    std::function<bool(const QString &program, const QStringList &arguments)> shell;
};

class Form1 : public QWidget {
    Q_OBJECT
public:
    // Builds the window and runs Form_Load, so the skin is in place before the first show.
    explicit Form1(QWidget *parent = nullptr, TextBoxKind box = TextBoxKind::Scintilla,
                   Form1Services services = {});
    // Waits for a Start under way, whose work still reads the box.
    ~Form1() override;

    // The text box, for what reads or fills it from outside: tests, benchmarks.
    TextBox &text1() { return *Text1; }
    // Whether a Start is under way.
    bool busy() const { return m_job != nullptr; }

public slots:
    // Attaches the skin file beside the program; whatever the skin layer answers, start-up goes on.
    void Form_Load();
    // Scrambles the box's text, shows the result in the box and copies it to the clipboard. The
    // work runs on a worker thread; the window stays responsive and takes no second Start
    // meanwhile, and startFinished() follows.
    void Command1_Click();
    // Each opens the home page in the web browser in a process of its own, without waiting.
    void Command2_Click();
    void Label2_Click();

signals:
    // A Start has ended, its result in the box and on the clipboard.
    void startFinished();
    // A run-time error was reported: the program is to end with status.
    void programEnds(int status);

private:
    void finishStart();
    // Runs work as a handler runs: a run-time error is reported and ends the program.
    void guard(const std::function<void()> &work);
    void openHomePage();

    std::unique_ptr<TextBox> Text1;
    QPushButton *Command1;
    QLabel *Label1;
    QPushButton *Command2;
    ClickLabel *Label2;
    QProgressBar *m_progress;
    QTimer m_progressDelay;
    FillJob *m_job = nullptr;
    std::shared_ptr<QString> m_clipboardText; // what Start puts on the clipboard, once made
    std::function<void()> m_finishStart; // finishStart(), guarded as every handler is
    Form1Services m_services;
};

} // namespace zanvo
