// The window's platform services over Qt.
#include "window/qt/qtservices.h"

#include "runtime/clipboard.h"
#include "runtime/processstart.h"
#include "window/form/skin.h"

#include <QApplication>

namespace zanvo {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct QtClipboardData : ClipboardData {
    QString text;
};

} // namespace

float QtServices::secondsSinceMidnight()
{
    return zanvo::secondsSinceMidnight();
}

void QtServices::clipboardClear()
{
    zanvo::clipboardClear();
}

std::unique_ptr<ClipboardData> QtServices::clipboardText(std::string utf8)
{
    auto data = std::make_unique<QtClipboardData>();
    data->text = fromUtf8(utf8);
    return data;
}

void QtServices::clipboardSetText(std::unique_ptr<ClipboardData> text)
{
    zanvo::clipboardSetText(static_cast<QtClipboardData &>(*text).text);
}

bool QtServices::processStart(std::string_view program, const std::vector<std::string> &arguments,
                              bool minimised)
{
    QStringList list;
    for (const std::string &argument : arguments)
        list << fromUtf8(argument);
    return Shell(fromUtf8(program), list, minimised);
}

int QtServices::SkinH_AttachEx(std::string_view path, std::string_view)
{
    const Skin skin = readSkin(path);
    if (skin.status == SkinAttached)
        qApp->setStyleSheet(fromUtf8(skin.sheet));
    return skin.status;
}

std::string QtServices::applicationFolder()
{
    return nativeFolder(thisPlatform(), QCoreApplication::applicationDirPath().toStdString());
}

} // namespace zanvo
