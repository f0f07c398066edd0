// The program's message box: modal, no icon, one button "确定".
#pragma once

#include <QString>

class QWidget;

namespace zanvo {

// Shows prompt under title and returns when the user closes the box.
void MsgBox(QWidget *parent, const QString &prompt, const QString &title);

} // namespace zanvo
