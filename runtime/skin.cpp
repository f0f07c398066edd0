// The skin layer over Qt style sheets.
#include "runtime/skin.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace zanvo {

namespace {
// A real skin is a few kilobytes; anything far larger is not one, and is not read whole.
constexpr qint64 maxSkinBytes = 1 << 20;

// Whether every file the sheet's url()s name is a regular file or missing (Qt then does without
// it), never a pipe or a device that would hold the program up when Qt reads it.
bool referencesAreFiles(const QString &sheet)
{
    static const QRegularExpression url(QStringLiteral(R"(url\(\s*(["']?)(.*?)\1\s*\))"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (const auto &match : url.globalMatch(sheet)) {
        const QString name = match.captured(2);
        if (name.startsWith(QLatin1Char(':')) || name.startsWith(QLatin1String("qrc:")))
            continue;
        const QFileInfo info(name);
        if (info.exists() && !info.isFile())
            return false;
    }
    return true;
}
} // namespace

int SkinH_AttachEx(const QString &path, const QString &password)
{
    Q_UNUSED(password);
    // Checked before opening: opening a pipe waits for a writer, which may never come.
    if (!QFileInfo(path).isFile())
        return SkinUnreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SkinUnreadable;
    if (file.size() > maxSkinBytes)
        return SkinTooLarge;
    const QByteArray bytes = file.read(maxSkinBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return SkinUnreadable;
    if (bytes.size() > maxSkinBytes)
        return SkinTooLarge;
    if (bytes.trimmed().isEmpty())
        return SkinEmpty;
    if (bytes.contains('\0'))
        return SkinNotText;
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString sheet = decode(bytes);
    if (decode.hasError())
        return SkinNotText;
    if (!referencesAreFiles(sheet))
        return SkinBadReference;
    qApp->setStyleSheet(sheet);
    return SkinAttached;
}

} // namespace zanvo
