#include "EntryAccessibility.h"

#include "report/DatePicker.h"
#include "FrameContents.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace {

// A date edit would offer Qt's spin box, whose value is a number (0 for a date) and whose text is
// the date shown even where a row holds none. This one reads the picker's spoken value, with the
// caret and selection of its text field while that value is the text shown.
class DatePickerAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DatePickerAccessible(DatePicker* picker) : QAccessibleWidget(picker, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? picker()->spokenValue() : QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << showMenuAction(); }
    void doAction(const QString& action) override {
        if (action == showMenuAction()) return picker()->openCalendar();
        QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == showMenuAction()) return {QStringLiteral("F4"), QStringLiteral("Alt+Down")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (QAccessibleTextInterface* shown = shownText()) shown->selection(index, start, end);
    }
    int selectionCount() const override { return shownText() ? shownText()->selectionCount() : 0; }
    void addSelection(int start, int end) override {
        if (QAccessibleTextInterface* shown = shownText()) shown->addSelection(start, end);
    }
    void removeSelection(int index) override {
        if (QAccessibleTextInterface* shown = shownText()) shown->removeSelection(index);
    }
    void setSelection(int index, int start, int end) override {
        if (QAccessibleTextInterface* shown = shownText()) shown->setSelection(index, start, end);
    }
    int cursorPosition() const override { return shownText() ? shownText()->cursorPosition() : 0; }
    void setCursorPosition(int position) override {
        if (QAccessibleTextInterface* shown = shownText()) shown->setCursorPosition(position);
    }
    QString text(int start, int end) const override { return picker()->spokenValue().mid(start, end - start); }
    int characterCount() const override { return int(picker()->spokenValue().size()); }
    QRect characterRect(int offset) const override {
        return shownText() ? shownText()->characterRect(offset) : QRect();
    }
    int offsetAtPoint(const QPoint& point) const override {
        return shownText() ? shownText()->offsetAtPoint(point) : -1;
    }
    void scrollToSubstring(int start, int end) override {
        if (QAccessibleTextInterface* shown = shownText()) shown->scrollToSubstring(start, end);
    }
    QString attributes(int offset, int* start, int* end) const override {
        if (QAccessibleTextInterface* shown = shownText()) return shown->attributes(offset, start, end);
        *start = *end = 0;
        return {};
    }

private:
    DatePicker* picker() const { return static_cast<DatePicker*>(widget()); }
    // The text field's own reading, while it shows what the picker holds.
    QAccessibleTextInterface* shownText() const {
        if (picker()->spokenValue().isEmpty()) return nullptr;
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(picker()->textField());
        return field ? field->textInterface() : nullptr;
    }
};

// A layout layer: a filler with no name of its own (not its frame's) and no relations.
class NamelessFiller : public QAccessibleWidget {
public:
    explicit NamelessFiller(QWidget* layer) : QAccessibleWidget(layer, QAccessible::Client) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? widget()->accessibleName() : QAccessibleWidget::text(kind);
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override {
        return {};
    }
};

QAccessibleInterface* EntryControlInterface(const QString& className, QObject* object) {
    // Asked for each class of the object's ancestry, most derived first; answer the first question.
    if (className != QLatin1String(object->metaObject()->className())) return nullptr;
    if (auto* picker = qobject_cast<DatePicker*>(object)) return new DatePickerAccessible(picker);
    if (auto* layer = qobject_cast<FrameContents*>(object)) return new NamelessFiller(layer);
    return nullptr;
}

}  // namespace

void ExposeEntryControls() {
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(EntryControlInterface), true);
}
