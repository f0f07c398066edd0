// Form1: its controls, its load handler and the Start command.
#include "window/form1.h"

#include "runtime/appfolder.h"
#include "runtime/clipboard.h"
#include "runtime/errorreport.h"
#include "runtime/messagebox.h"
#include "runtime/platform.h"
#include "runtime/processstart.h"
#include "runtime/randomsource.h"
#include "runtime/skin.h"
#include "scrambler/scrambler.h"
#include "window/clicklabel.h"
#include "window/filljob.h"
#include "window/fitlabel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zanvo {

namespace {

const QString emptyPrompt = QStringLiteral("请填写需要伪原创的内容");

// The layout is given in twips, as the window was first drawn: 15 to the pixel at 96 dpi. Qt's
// high-DPI scaling takes the pixels on from there.
constexpr int twips(int value)
{
    return value / 15;
}

template<class Control>
Control *place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return control;
}

// How long a Start works before the window shows that it does.
constexpr int progressDelayMs = 500;

} // namespace

QString homePageAddress()
{
    return QStringLiteral(ZANVO_HOME_PAGE);
}

Form1::Form1(QWidget *parent, TextBoxKind box, Form1Services services)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    m_services = std::move(services);
    if (!m_services.shell)
        m_services.shell = Shell;
    if (!m_services.scramble)
        m_services.scramble = [](std::string_view text, RandomSource &random) {
            return scramble(text, random, LineBreak::CrLf);
        };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zanvo伪原创工具 1.0"));
    // Nothing in the window follows a change of size, so none is offered.
    setFixedSize(twips(10320), twips(7920));

    Text1 = makeTextBox(box, this);
    place(Text1->widget(), "Text1", 240, 480, 8055, 6735);
    Command1 = place(new QPushButton(QStringLiteral("开始伪原创"), this), "Command1", 8520, 1320,
                     1335, 855);
    Label1 = place(new QLabel(QStringLiteral("Zanvo伪原创工具可以打乱文章顺序,并自动复制到剪切板."
                                             "特别适合QQ类型网站。如：QQ网名 个性签名 等类型网站."),
                              this),
                   "Label1", 360, 120, 9135, 255);
    Command2 = place(new QPushButton(QStringLiteral("软件官网"), this), "Command2", 8520, 3120,
                     1335, 855);
    Label2
        = place(new ClickLabel(
                    QStringLiteral("Zanvo网盘   " ZANVO_HOME_PAGE "   欢迎大家提出宝贵建议"), this),
                "Label2", 1200, 7440, 6015, 255);
    for (auto *button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(Text1->widget(), Command1);
    setTabOrder(Command1, Command2);
    Text1->widget()->setFocus();

    // In the gap between the box and the link label, so that no control moves when it shows.
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setGeometry(twips(240), twips(7260), twips(8055), twips(135));
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(progressDelayMs);
    connect(&m_progressDelay, &QTimer::timeout, m_progress, &QWidget::show);

    // Every handler runs guarded: a run-time error inside one is reported there and never
    // reaches the event loop.
    auto guarded = [this](void (Form1::*handler)()) -> std::function<void()> {
        return [this, handler] { guard([&] { (this->*handler)(); }); };
    };
    connect(Command1, &QPushButton::clicked, this, guarded(&Form1::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, guarded(&Form1::Command2_Click));
    connect(Label2, &ClickLabel::clicked, this, guarded(&Form1::Label2_Click));
    m_finishStart = guarded(&Form1::finishStart);
    Text1->onBackgroundError(
        [this](std::exception_ptr error) { guard([&] { std::rethrow_exception(error); }); });

    Form_Load();
}

void Form1::guard(const std::function<void()> &work)
{
    if (const int status = runGuarded(this, applicationTitle(), work))
        emit programEnds(status);
}

Form1::~Form1()
{
    delete m_job;
}

void Form1::Form_Load()
{
    SkinH_AttachEx(skinPath(appPath()), QString());
    fitToWidth(Label1);
}

void Form1::Command1_Click()
{
    if (m_job || Text1->isBusy())
        return;
    if (Text1->isEmpty()) {
        MsgBox(this, emptyPrompt, applicationTitle());
        Text1->replace(emptyPrompt);
    }
    RandomSource::process().reseed(m_services.secondsSinceMidnight());
    auto content = Text1->newContent();
    Text1->setBusy(true);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_progressDelay.start();
    m_clipboardText = std::make_shared<QString>();
    m_job = new FillJob(
        std::move(content),
        [text = Text1->text(), clipboard = m_clipboardText,
         scrambler = m_services.scramble](TextBox::Content &result) {
            const std::string scrambled = scrambler(text, RandomSource::process());
            result.add(scrambled.data(), scrambled.size());
            // What the box will hold, with the platform's line breaks.
            *clipboard = QString::fromUtf8(copiedLineBreaks(
                thisPlatform(), QByteArrayView(scrambled.data(), qsizetype(scrambled.size()))));
        },
        this);
    connect(m_job, &FillJob::finished, this, m_finishStart);
}

void Form1::finishStart()
{
    FillJob::Result result = m_job->take();
    m_job->deleteLater();
    m_job = nullptr;
    m_progressDelay.stop();
    m_progress->hide();
    QGuiApplication::restoreOverrideCursor();
    Text1->setBusy(false);
    if (result.error)
        std::rethrow_exception(result.error);
    Text1->show(std::move(result.content));
    clipboardClear();
    clipboardSetText(*std::exchange(m_clipboardText, nullptr));
    emit startFinished();
}

void Form1::Command2_Click()
{
    openHomePage();
}

void Form1::Label2_Click()
{
    openHomePage();
}

void Form1::openHomePage()
{
    // Where no browser launcher can be started, say so and keep running: ending the program
    // here would throw away whatever the user has in the box.
    if (!m_services.shell(urlOpener(thisPlatform()), {homePageAddress()}))
        MsgBox(this, QStringLiteral("无法打开网页，请在浏览器中访问：\n%1").arg(homePageAddress()),
               applicationTitle());
}

} // namespace zanvo
