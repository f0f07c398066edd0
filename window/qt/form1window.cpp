// Form1's Qt window.
#include "window/qt/form1window.h"

#include "window/qt/clicklabel.h"
#include "window/qt/fitlabel.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

namespace zanvo {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Places a control by its name, at its place in twips; Qt's high-DPI scaling takes the pixels on
// from there.
template<class Widget> Widget *place(Widget *control, form1::Control name)
{
    const form1::Place &at = form1::places[name];
    control->setObjectName(fromUtf8(at.name));
    control->setGeometry(form1::pixels(at.left), form1::pixels(at.top), form1::pixels(at.width),
                         form1::pixels(at.height));
    return control;
}

} // namespace

Form1Window::Form1Window(FormServices &services, RandomSource &random)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(fromUtf8(form1::clientArea.name));
    setWindowTitle(fromUtf8(form1::caption));
    // Nothing in the window follows a change of size, so none is offered.
    setFixedSize(form1::pixels(form1::clientArea.width), form1::pixels(form1::clientArea.height));

    Text1 = place(new ScintillaControl(this, m_ui, services.clipboard()), form1::Text1);
    Text1->setAccessibleName(fromUtf8(form1::text1Name));
    Command1 = place(new QPushButton(fromUtf8(form1::command1Text), this), form1::Command1);
    Label1 = place(new QLabel(fromUtf8(form1::label1Text), this), form1::Label1);
    Command2 = place(new QPushButton(fromUtf8(form1::command2Text), this), form1::Command2);
    Label2 = place(new ClickLabel(fromUtf8(form1::label2Text()), this), form1::Label2);
    for (auto *button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    Text1->setFocus();

    m_progress = place(new QProgressBar(this), form1::Progress);
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_progressDelay.setSingleShot(true);
    connect(&m_progressDelay, &QTimer::timeout, m_progress, &QWidget::show);

    m_form = std::make_unique<Form1>(*this, services, m_ui, random);
    m_form->onFinished([this] { emit jobFinished(); });
    // Every event goes to its handler through the guard: a run-time error inside one is
    // reported there and never reaches the event loop.
    connect(Command1, &QPushButton::clicked, this,
            [this] { m_form->handle(&Form1::Command1_Click); });
    connect(Command2, &QPushButton::clicked, this,
            [this] { m_form->handle(&Form1::Command2_Click); });
    connect(Label2, &ClickLabel::clicked, this, [this] { m_form->handle(&Form1::Label2_Click); });
    // Queued: a message box must not open while the file manager still waits for the drop's end.
    connect(
        Text1, &ScintillaControl::filesDropped, this,
        [this](const std::vector<std::string> &names) {
            m_form->guard([&] { m_form->Text1_OLEDragDrop(names); });
        },
        Qt::QueuedConnection);
    m_form->hookUp(Text1->box());

    m_form->handle(&Form1::Form_Load);
    fitToWidth(Label1);
}

Form1Window::~Form1Window()
{
    // A Start or a paste under way still reads the box, and posts to m_ui once done.
    m_form.reset();
    delete Text1;
}

void Form1Window::setBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void Form1Window::showProgress(std::chrono::milliseconds after)
{
    m_progressDelay.start(after);
}

void Form1Window::hideProgress()
{
    m_progressDelay.stop();
    m_progress->hide();
}

void Form1Window::messageBox(std::string_view prompt, std::string_view title)
{
    QMessageBox box(QMessageBox::NoIcon, fromUtf8(title), fromUtf8(prompt), QMessageBox::NoButton,
                    this);
    // Named here rather than left to the translation, so the button reads the same on any
    // system, with or without Qt's Chinese translation installed.
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

void Form1Window::endProgram(int status)
{
    emit programEnds(status);
}

void Form1Window::applySkin(std::string_view sheet)
{
    // The whole application's, so that the message boxes wear the skin too.
    qApp->setStyleSheet(fromUtf8(sheet));
}

} // namespace zanvo
