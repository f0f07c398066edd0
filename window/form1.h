// The program's one window: the text box, the Start and web site buttons, the description and
// the link label, and their handlers.
#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zanvo {

class ClickLabel;

// The caption of the program's message boxes.
QString applicationTitle();

// The maker's home page, as the link label shows it and the web site button opens it.
QString homePageAddress();

class Form1 : public QWidget {
    Q_OBJECT
public:
    // Builds the window and runs Form_Load, so the skin is in place before the first show.
    explicit Form1(QWidget *parent = nullptr);

public slots:
    // Attaches the skin file beside the program; whatever the skin layer answers, start-up goes on.
    void Form_Load();
    // Scrambles the box's text, shows the result in the box and copies it to the clipboard.
    void Command1_Click();
    // Each opens the home page in the web browser in a process of its own, without waiting.
    void Command2_Click();
    void Label2_Click();

private:
    void openHomePage();

    QPlainTextEdit *Text1;
    QPushButton *Command1;
    QLabel *Label1;
    QPushButton *Command2;
    ClickLabel *Label2;
};

} // namespace zanvo
