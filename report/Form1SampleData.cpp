// "Load Sample/Example Data": a fixed example written into the header, footer and the top two rows.
#include "report/Form1.h"

#include "app/ErrorHandler.h"
#include "RowDatePicker.h"
#include "workbook/model/AmountText.h"

#include <QDateEdit>
#include <QLineEdit>

namespace {

struct SampleRow {
    int index;
    QDate date;
    const char* account;
    const char* description;
    std::array<qint64, kCategories> cents;
};

// The second row is written before the top row.
const std::array<SampleRow, 2> kSampleRows{
    SampleRow{1, QDate(2016, 11, 10), "111017", "Hotel account", {11874, 0, 0, 5289, 4875, 1499, 1549}},
    SampleRow{0, QDate(2016, 11, 7), "110797", "Transport account", {0, 11257, 4458, 2258, 1835, 0, 0}}};

}  // namespace

void Form1::PushButton7_Click() {
    ErrorHandler handler(QStringLiteral("Form1.PushButton7_Click"));
    int line = 100;
    const auto step = [&](auto&& statement) {
        handler.step(line, statement);
        line += 2;
    };
    const auto text = [&](QLineEdit* field, const char* value) {
        step([=] { field->setText(QString::fromUtf8(value)); });
    };
    text(textField(TextField::Purpose), "Business trip");
    text(textField(TextField::Statement), "B1415");
    text(textField(TextField::Name), "Peter Ashdown");
    text(textField(TextField::Position), "Jr. Manager");
    text(textField(TextField::SSN), "NA");
    text(textField(TextField::EmpID), "SM17");
    text(textField(TextField::Manager), "M. T. Garfoot");
    text(textField(TextField::Dept), "Sales");
    text(textField(TextField::Approved1), "OK");
    text(textField(TextField::Notes1), "Check next month");
    step([this] { dtpFrom->setDate(QDate(2016, 11, 5)); });
    step([this] { dtpTo->setDate(QDate(2016, 11, 11)); });
    for (const SampleRow& row : kSampleRows) {
        const size_t r = size_t(row.index);
        step([&] { DTPicker2[r]->setValue(row.date); });
        text(txtAccount[r], row.account);
        text(txtDesc[r], row.description);
        for (int c = 0; c < kCategories; ++c) {
            QLineEdit* amount = amountColumn(c)[r];
            const Amount value{row.cents[size_t(c)]};
            step([=] { amount->setText(CurrencyForm(value)); });
        }
    }
}
