#include "AccessibleWindow.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

// Asked once per class of the object's ancestry, most derived first: only that first question,
// for a top-level window of a class made straight from QWidget, is ours to answer.
QAccessibleInterface* WindowInterface(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->windowType() != Qt::Window) return nullptr;
    const QMetaObject* meta = object->metaObject();
    if (className != QLatin1String(meta->className()) || meta->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void ExposeWindowsAsWindows() {
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(WindowInterface), true);
}
