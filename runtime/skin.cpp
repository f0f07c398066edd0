// The skin layer over Qt style sheets.
#include "runtime/skin.h"

#include <QApplication>
#include <QFile>
#include <QStringDecoder>

namespace zanvo {

namespace {
// A real skin is a few kilobytes; anything far larger is not one, and is not read whole.
constexpr qint64 maxSkinBytes = 1 << 20;
} // namespace

int SkinH_AttachEx(const QString &path, const QString &password)
{
    Q_UNUSED(password);
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
    qApp->setStyleSheet(sheet);
    return SkinAttached;
}

} // namespace zanvo
