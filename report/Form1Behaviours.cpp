// Entry behaviours of Form1: storing every edit, checking amounts when left, selecting on entry,
// the pointer rule and the help message.
#include "report/Form1.h"

#include "app/AppTitle.h"
#include "app/PointerKinds.h"
#include "app/ErrorHandler.h"
#include "app/MessageService.h"
#include "app/SettingsStore.h"
#include "RowDatePicker.h"
#include "workbook/model/AmountText.h"

#include <QApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

namespace {

const QString kInvalidAmount = QStringLiteral("Please enter a valid amount.");
const QString kHelpText =
    QStringLiteral("Questions? Please contact Team Tarrowell at https://www.tarrowell.example/contact/");

// Focus moves the user makes inside the window; activation changes and popups are not leaving.
bool IsUserFocusMove(Qt::FocusReason reason) {
    return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
}

// True when key has an entry equal to value (two defaults tell an empty entry from a missing one).
bool StoreHolds(const QString& key, const QString& value) {
    return GetSetting(kSettingsApp, kSettingsSection, key, QStringLiteral("a")) == value &&
           GetSetting(kSettingsApp, kSettingsSection, key, QStringLiteral("b")) == value;
}

}  // namespace

void Form1::connectBehaviours() {
    std::vector<QLineEdit*> stored(m_textFields.begin(), m_textFields.end());
    stored.insert(stored.end(), txtHeading.begin(), txtHeading.end());
    for (int r = 0; r < kGridRows; ++r) {
        stored.push_back(txtAccount[size_t(r)]);
        stored.push_back(txtDesc[size_t(r)]);
        for (int c = 0; c < kCategories; ++c) stored.push_back(amountColumn(c)[size_t(r)]);
    }
    for (QLineEdit* field : stored) {
        field->setMaxLength(kMaxFieldText);
        connect(field, &QLineEdit::textChanged, this,
                [this, field](const QString& text) { storeEdit(field->objectName(), text); });
    }

    for (QDateEdit* picker : {dtpFrom, dtpTo})
        connect(picker, &QDateEdit::dateChanged, this,
                [this, picker](QDate date) { storeEdit(picker->objectName(), StoredDateText(date)); });
    for (RowDatePicker* picker : DTPicker2)
        connect(picker, &RowDatePicker::valueChanged, this, [this, picker] {
            const std::optional<QDate> date = picker->value();
            storeEdit(picker->objectName(), date ? StoredDateText(*date) : QString());
        });

    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kCategories; ++c) amountColumn(c)[size_t(r)]->installEventFilter(this);
    for (QLineEdit* heading : txtHeading) {
        heading->installEventFilter(this);
        // Headings keep the pointer as it is: moves over them must not reach the frame.
        heading->setAttribute(Qt::WA_NoMousePropagation);
    }
    for (QLabel* label : findChildren<QLabel*>()) label->setAttribute(Qt::WA_NoMousePropagation);

    // Everything with the pointer rule tracks hover moves.
    std::vector<QWidget*> pointerAreas{PushButton22, PushButton6, PushButton7, Frame1, Frame2, Frame3, dtpFrom, dtpTo};
    pointerAreas.insert(pointerAreas.end(), DTPicker2.begin(), DTPicker2.end());
    for (QLineEdit* field : stored)
        if (!isHeading(field)) pointerAreas.push_back(field);
    for (QWidget* area : pointerAreas) {
        const bool frame = area == Frame1 || area == Frame2 || area == Frame3;
        // A control's inner parts (a picker's text field, its check box) take the moves over them,
        // so they carry the control's rule; a frame's children have rules of their own.
        std::vector<QWidget*> parts{area};
        if (!frame)
            for (QWidget* part : area->findChildren<QWidget*>()) parts.push_back(part);
        for (QWidget* part : parts) {
            part->setMouseTracking(true);
            part->setAttribute(Qt::WA_NoMousePropagation, !frame);
            if (!isAmountField(part)) part->installEventFilter(this);
        }
    }
    setMouseTracking(true);
}

bool Form1::isAmountField(QObject* object) const {
    for (int c = 0; c < kCategories; ++c) {
        const auto& column = amountColumn(c);
        if (std::find(column.begin(), column.end(), object) != column.end()) return true;
    }
    return false;
}

bool Form1::isHeading(QObject* object) const {
    return std::find(txtHeading.begin(), txtHeading.end(), object) != txtHeading.end();
}

void Form1::storeEdit(const QString& key, const QString& value) {
    try {
        // A value the store already holds is on disk: the load writes most fields back unchanged.
        if (StoreHolds(key, value)) return;
        SaveSetting(kSettingsApp, kSettingsSection, key, value);
    } catch (const std::exception& failure) {
        // The field keeps the edit; the user hears of the failing store once, not at every keystroke.
        if (m_storeFailureShown) return;
        m_storeFailureShown = true;
        ShowMessage({AppTitle(),
                     QStringLiteral("Your entries could not be stored and will be lost when the program ends.\r\n") +
                         QString::fromUtf8(failure.what()),
                     MsgIcon::Exclamation, MsgButtons::Ok});
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if ((isAmountField(watched) || isHeading(watched)) && !m_restoringFocus &&
            IsUserFocusMove(static_cast<QFocusEvent*>(event)->reason()))
            selectAllByKeys();
        break;
    case QEvent::FocusOut:
        if (isAmountField(watched) && !m_restoringFocus && IsUserFocusMove(static_cast<QFocusEvent*>(event)->reason()))
            amountFocusLeft(static_cast<QLineEdit*>(watched), static_cast<QFocusEvent*>(event)->reason());
        break;
    case QEvent::MouseMove:
        if (!isHeading(watched)) applyPointerRule(watched);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        if (m_swallowClick) {
            disarmClickSwallow();
            return true;
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::amountFocusLeft(QLineEdit* field, Qt::FocusReason reason) {
    const QWidget* next = QApplication::focusWidget();
    if (!next || next == field || next->window() != this) return;
    if (const std::optional<Amount> value = ParseAmount(field->text())) {
        field->setText(CurrencyForm(*value));
        field->setAccessibleDescription(QString());
        return;
    }
    MsgBox(kInvalidAmount);
    field->setText(CurrencyForm(Amount{}));
    // A screen reader reads the message again with the field the focus comes back to.
    field->setAccessibleDescription(kInvalidAmount);
    // The focus went before we could refuse it: take it back, and drop the click that moved it.
    if (reason == Qt::MouseFocusReason) {
        m_swallowClick = true;
        qApp->installEventFilter(this);
        QMetaObject::invokeMethod(this, &Form1::disarmClickSwallow, Qt::QueuedConnection);
    }
    m_restoringFocus = true;
    field->setFocus(Qt::OtherFocusReason);
    m_restoringFocus = false;
    selectAllByKeys();
}

void Form1::disarmClickSwallow() {
    if (!m_swallowClick) return;
    m_swallowClick = false;
    qApp->removeEventFilter(this);
}

void Form1::selectAllByKeys() {
    // Queued to the window, so the keys reach whichever control has the focus when they arrive.
    QWindow* window = windowHandle();
    if (!window) return;
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier));
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_End, Qt::ShiftModifier));
}

void Form1::applyPointerRule(QObject* watched) {
    if (m_pointer.kind() == kPointerHourglass) return;
    const bool button = watched == PushButton22 || watched == PushButton6 || watched == PushButton7;
    const int kind = button ? kPointerCustom : kPointerDefault;
    if (m_pointer.kind() != kind) m_pointer.setKind(kind);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    applyPointerRule(this);
    QWidget::mouseMoveEvent(event);
}

void Form1::PushButton6_Click() {
    ErrorHandler handler(QStringLiteral("Form1.PushButton6_Click"));
    handler.step(100, [] { MsgBox(kHelpText); });
}
