// The message box over QMessageBox.
#include "runtime/messagebox.h"

#include <QMessageBox>

namespace zanvo {

void MsgBox(QWidget *parent, const QString &prompt, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::NoButton, parent);
    // Named here rather than left to the translation, so the button reads the same on any
    // system, with or without Qt's Chinese translation installed.
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace zanvo
