// Fitting a label's font to its width.
#include "window/qt/fitlabel.h"

#include <QFontMetrics>
#include <QLabel>

namespace zanvo {

void fitToWidth(QLabel *label)
{
    label->ensurePolished();
    QFont font = label->font();
    const int room = label->contentsRect().width();
    bool shrunk = false;
    while (QFontMetrics(font).horizontalAdvance(label->text()) > room && font.pointSizeF() > 5) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        shrunk = true;
    }
    // A widget's own style sheet outranks the skin's, which would otherwise set the size again.
    if (shrunk)
        label->setStyleSheet(QStringLiteral("font-size: %1pt;").arg(font.pointSizeF()));
}

} // namespace zanvo
