// Text1's description for assistive technologies.
#include "window/qt/boxaccessibility.h"

#include "window/qt/scintillacontrol.h"

#include <QAccessibleWidget>
#include <QApplication>

namespace zanvo {

namespace {

// Whether an assistive technology listens, as Qt last told its observers.
bool listening = false;

// Asked before QScintilla's, since Qt asks for the most derived class first.
QAccessibleInterface *quietBox(const QString &className, QObject *object)
{
    if (listening || className != QLatin1String(ScintillaControl::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::EditableText);
}

// Qt keeps a description once made: when an assistive technology comes or goes, the boxes'
// descriptions go, and the next question about a box makes the one that fits.
class Observer : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        listening = active;
        for (QWidget *widget : QApplication::allWidgets())
            if (qobject_cast<ScintillaControl *>(widget))
                QAccessible::deleteAccessibleInterface(
                    QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
    }
};

} // namespace

void describeBoxesQuietly()
{
    static Observer observer;
    static const bool installed = [] {
        listening = QAccessible::isActive();
        QAccessible::installFactory(quietBox);
        QAccessible::installActivationObserver(&observer);
        return true;
    }();
    (void)installed;
}

} // namespace zanvo
