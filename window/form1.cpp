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
#include "window/textbox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
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

// Shows the busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QString scrambled(const QString &text)
{
    QString result;
    scrambleInto(
        std::u16string_view(QStringView(text).utf16(), static_cast<std::size_t>(text.size())),
        RandomSource::process(), LineBreak::CrLf, [&](std::size_t length) {
            result = QString(static_cast<qsizetype>(length), Qt::Uninitialized);
            return reinterpret_cast<char16_t *>(result.data());
        });
    return result;
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("Zanvo伪原创工具");
}

QString homePageAddress()
{
    return QStringLiteral(ZANVO_HOME_PAGE);
}

Form1::Form1(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zanvo伪原创工具 1.0"));
    // Nothing in the window follows a change of size, so none is offered.
    setFixedSize(twips(10320), twips(7920));

    Text1 = place(new QPlainTextEdit(this), "Text1", 240, 480, 8055, 6735);
    Text1->setTabChangesFocus(true);
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
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    Text1->setFocus();

    // Every handler runs guarded: a run-time error inside one is reported there and never
    // reaches the event loop.
    auto guarded = [this](void (Form1::*handler)()) {
        return
            [this, handler] { runGuarded(this, applicationTitle(), [&] { (this->*handler)(); }); };
    };
    connect(Command1, &QPushButton::clicked, this, guarded(&Form1::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, guarded(&Form1::Command2_Click));
    connect(Label2, &ClickLabel::clicked, this, guarded(&Form1::Label2_Click));

    Form_Load();
}

void Form1::Form_Load()
{
    SkinH_AttachEx(skinPath(appPath()), QString());
}

void Form1::Command1_Click()
{
    if (Text1->document()->isEmpty()) {
        MsgBox(this, emptyPrompt, applicationTitle());
        replaceBoxText(*Text1, emptyPrompt);
    }
    const BusyCursor busy;
    RandomSource::process().reseedFromTimer();
    replaceBoxText(*Text1, scrambled(boxText(*Text1, u"\r\n")));
    clipboardClear();
    clipboardSetText(boxText(*Text1, plainTextLineBreak(thisPlatform())));
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
    if (!Shell(urlOpener(thisPlatform()), {homePageAddress()}))
        MsgBox(this, QStringLiteral("无法打开网页，请在浏览器中访问：\n%1").arg(homePageAddress()),
               applicationTitle());
}

} // namespace zanvo
