// Values read back from the settings store: stored date texts and amount texts, under both test
// locales, their money together with their numbers or apart. No crash and no hang; an accepted amount is within the
// largest a cell holds to the cent, and its own currency form reads back as the same amount.
#include "workbook/host/RegionalSettings.h"
#include "workbook/model/AmountText.h"
#include "workbook/model/ExpenseReport.h"
#include "xls/AmountInput.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const auto localeOf = [](bool german) {
        return german ? QLocale(QLocale::German, QLocale::Germany) : QLocale(QLocale::English, QLocale::UnitedStates);
    };
    // The money may stand apart from the numbers, as a region panel sets it.
    const QLocale numbers = localeOf(data[0] & 1);
    const RegionalSettings settings(numbers, localeOf(data[0] & 2), numbers);
    QLocale::setDefault(numbers);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    if (const auto date = ParseStoredDate(text); date && !date->isValid()) std::abort();
    if (const auto amount = ParseAmount(text, settings)) {
        if (std::llabs(amount->cents) > xls::kLargestAmountCents) std::abort();
        if (ParseAmount(CurrencyForm(*amount, settings), settings) != amount) std::abort();
    }
    return 0;
}
