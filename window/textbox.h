// Text1's whole text in and out, exactly as typed: QPlainTextEdit::toPlainText() would turn
// no-break spaces into blanks and line separators into line breaks, so it is not used here.
#pragma once

#include <QString>
#include <QStringView>

class QPlainTextEdit;

namespace zanvo {

// The box's lines joined by lineBreak, with no break after the last line.
QString boxText(const QPlainTextEdit &box, QStringView lineBreak);

// Replaces the box's whole text in one step that Ctrl+Z takes back.
void replaceBoxText(QPlainTextEdit &box, const QString &text);

} // namespace zanvo
