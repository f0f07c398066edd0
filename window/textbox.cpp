// What every text box shares.
#include "window/textbox.h"

#include "window/plaintextbox.h"
#include "window/scintillabox.h"

namespace zanvo {

void TextBox::replace(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    auto content = newContent();
    content->add(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    content->finish();
    show(std::move(content));
}

QString TextBox::plainText()
{
    const std::string_view bytes = text();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::unique_ptr<TextBox> makeTextBox(TextBoxKind kind, QWidget *parent)
{
    if (kind == TextBoxKind::Plain)
        return std::make_unique<PlainTextBox>(parent);
    return std::make_unique<ScintillaBox>(parent);
}

} // namespace zanvo
