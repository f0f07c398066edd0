// The run-time error report.
#include "runtime/errorreport.h"

#include "runtime/messagebox.h"

namespace zanvo {

namespace {
QString describe(const RuntimeError &error)
{
    switch (error.number()) {
    case RuntimeError::OverflowNumber:
        return QStringLiteral("溢出");
    case RuntimeError::OutOfMemoryNumber:
        return QStringLiteral("内存不足");
    default:
        return QString::fromStdString(error.description());
    }
}
} // namespace

int reportRuntimeError(QWidget *parent, const QString &title, const RuntimeError &error)
{
    MsgBox(parent,
           QStringLiteral("运行时错误 '%1':\n\n%2").arg(error.number()).arg(describe(error)),
           title);
    return runtimeErrorStatus;
}

} // namespace zanvo
