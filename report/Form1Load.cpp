// Form1's load step: prepares the application and restores the report from the settings store.
#include "report/Form1.h"

#include "app/AppTitle.h"
#include "app/ApplicationIcon.h"
#include "app/WindowColours.h"
#include "app/WindowFreeze.h"
#include "app/ErrorHandler.h"
#include "app/FileService.h"
#include "app/MessageService.h"
#include "app/ProgramFolders.h"
#include "app/SettingsStore.h"
#include "report/DatePicker.h"
#include "ReportError.h"
#include "RowDatePicker.h"
#include "RowReceipts.h"
#include "workbook/host/RegionalSettings.h"
#include "workbook/model/AmountText.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

QString Get(const QString& key, const QString& defaultValue) {
    return GetSetting(kSettingsApp, kSettingsSection, key, defaultValue);
}

// A stored date as the pickers take it; unreadable or out-of-range text fails like a bad property.
QDate PickerDate(const QString& stored) {
    const std::optional<QDate> date = ParseStoredDate(stored);
    if (!date) throw ReportError(QStringLiteral("Type mismatch"));
    if (*date < kFirstPickerDate || *date > kLastPickerDate)
        throw ReportError(QStringLiteral("Invalid property value"));
    return *date;
}

QString StoredAmountInCurrencyForm(const QString& stored) {
    const std::optional<Amount> value = ParseAmount(stored);
    if (!value) throw ReportError(QStringLiteral("Type mismatch"));
    return CurrencyForm(*value);
}

}  // namespace

template <class Restore, class RestoredValue>
void Form1::restoreStored(ErrorHandler& handler, int line, const QString& key, Restore&& restore,
                          RestoredValue&& restoredValue) {
    bool restored = false;
    handler.step(line, [&] {
        restore();
        restored = true;
    });
    // A stored value the load cannot read is reported once: after the box the field's value
    // replaces it, so the next start reads what the user saw.
    if (!restored) storeEdit(key, restoredValue());
}

void Form1::Form_Load() {
    ErrorHandler handler(QStringLiteral("Form1.Form_Load"));
    const DeferredSettingsSync writeBacksOnce;
    handler.step(102, [this] { ApplyMainSkin(this); });
    handler.step(104, [this] { setWindowTitle(kProductName); });
    handler.step(104, [this] { setWindowIcon(ApplicationIcon()); });
    handler.step(104, [] { SetAppTitle(); });
    handler.step(106, [this] { LockWindowUpdate(this); });
    const QString cursorFile = ProgramFile(QStringLiteral("HAND-M.CUR"));
    if (handler.test(108, [&] { return FileExists(cursorFile); }))
        handler.step(110, [&] { m_pointer.loadCustom(cursorFile); });

    // A stored text longer than its field is shown cut, but the load does not write the cut text
    // back: the whole stays stored until the user changes the field.
    QStringList cutFields;
    const auto restoreText = [&](QLineEdit* field, const QString& defaultValue) {
        const QString stored = Get(field->objectName(), defaultValue);
        if (stored.size() <= field->maxLength()) return field->setText(stored);
        cutFields << field->objectName();
        const QSignalBlocker keepWhole(field);
        field->setText(stored);
    };
    for (int i = 0; i < kCategories; ++i) {
        QLineEdit* heading = txtHeading[size_t(i)];
        handler.step(132, [&] { restoreText(heading, heading->text()); });
    }
    int line = 134;
    for (const TextFieldEntry& entry : kTextFields) {
        handler.step(line, [&] { restoreText(textField(entry.field), {}); });
        line += 2;
    }

    // The dates this step sets are never written back: only the user's changes are stored.
    const QString today = StoredDateText(QDate::currentDate());
    restoreStored(
        handler, 158, dtpFrom->objectName(),
        [&] {
            const QSignalBlocker quiet(dtpFrom);
            dtpFrom->setDate(PickerDate(Get(QStringLiteral("dtpFrom"), today)));
        },
        [&] { return StoredDateText(dtpFrom->date()); });
    restoreStored(
        handler, 160, dtpTo->objectName(),
        [&] {
            const QSignalBlocker quiet(dtpTo);
            dtpTo->setDate(PickerDate(Get(QStringLiteral("dtpto"), today)));
        },
        [&] { return StoredDateText(dtpTo->date()); });

    for (int r = 0; r < kGridRows; ++r) {
        const size_t i = size_t(r);
        RowDatePicker* picker = DTPicker2[i];
        handler.step(164, [&] {
            const QSignalBlocker quiet(picker);
            picker->setValue(QDate::currentDate());
        });
        restoreStored(
            handler, 166, picker->objectName(),
            [&] {
                const QSignalBlocker quiet(picker);
                const QString stored = Get(picker->objectName(), {});
                picker->setValue(stored.isEmpty() ? std::nullopt : std::optional<QDate>(PickerDate(stored)));
            },
            [&] { return picker->value() ? StoredDateText(*picker->value()) : QString(); });
        handler.step(168, [&] { restoreText(txtAccount[i], {}); });
        handler.step(170, [&] { restoreText(txtDesc[i], {}); });
        for (int c = 0; c < kCategories; ++c) {
            QLineEdit* amount = amountColumn(c)[i];
            restoreStored(
                handler, 172 + 2 * c, amount->objectName(),
                [&] { amount->setText(StoredAmountInCurrencyForm(Get(amount->objectName(), QStringLiteral("0")))); },
                [&] {
                    // As the amount check does with text it cannot read.
                    amount->setText(CurrencyForm(Amount{}));
                    return amount->text();
                });
        }

        // Older stores have no receipt lists: such a row simply has none.
        m_receipts->restore(r, Get(ReceiptsKey(r), {}));

        std::vector<QWidget*> rowOrder{picker, txtAccount[i], txtDesc[i]};
        for (int c = 0; c < kCategories; ++c) rowOrder.push_back(amountColumn(c)[i]);
        QWidget* previous =
            r == 0 ? static_cast<QWidget*>(textField(TextField::EmpID)) : amountColumn(kCategories - 1)[i - 1];
        for (size_t k = 0; k < rowOrder.size(); ++k) {
            handler.step(186 + 2 * int(k), [&] { setTabOrder(previous, rowOrder[k]); });
            previous = rowOrder[k];
        }
    }

    handler.step(228, [] { LockWindowUpdate(nullptr); });
    if (!cutFields.isEmpty())
        MsgBox(
            QStringLiteral("Stored text longer than the %1 characters a field holds is shown cut to that length, "
                           "and only that part goes into the workbook: %2. The whole text stays stored until "
                           "you change the field.")
                .arg(CurrentRegionalSettings().numbers.toString(kMaxFieldText), cutFields.join(QStringLiteral(", "))));
    handler.step(230, [this] { runAvailabilityCheck(); });
}
