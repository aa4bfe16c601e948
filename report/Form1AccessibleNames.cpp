// What a screen reader calls each control of Form1: the header and footer fields by their labels,
// the grid's cells by column and row (an amount column by its heading as it now reads), the
// buttons by their captions.
#include "report/Form1.h"

#include "RowDatePicker.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

// Rows are counted from 1, as the user sees them.
QString CellName(const QString& column, int row) { return QStringLiteral("%1, row %2").arg(column).arg(row + 1); }

}  // namespace

void Form1::nameControls() {
    const std::vector<std::pair<QWidget*, QString>> fields{
        {textField(TextField::Purpose), QStringLiteral("Purpose")},
        {textField(TextField::Statement), QStringLiteral("Statement number")},
        {dtpFrom, QStringLiteral("Pay period from")},
        {dtpTo, QStringLiteral("Pay period to")},
        {textField(TextField::Name), QStringLiteral("Employee name")},
        {textField(TextField::Dept), QStringLiteral("Department")},
        {textField(TextField::Position), QStringLiteral("Position")},
        {textField(TextField::Manager), QStringLiteral("Manager")},
        {textField(TextField::SSN), QStringLiteral("SSN")},
        {textField(TextField::EmpID), QStringLiteral("Employee ID")},
        {textField(TextField::Approved1), QStringLiteral("Approved, line 1")},
        {textField(TextField::Approved2), QStringLiteral("Approved, line 2")},
        {textField(TextField::Notes1), QStringLiteral("Notes, line 1")},
        {textField(TextField::Notes2), QStringLiteral("Notes, line 2")}};
    for (const auto& [field, name] : fields) field->setAccessibleName(name);

    for (int r = 0; r < kGridRows; ++r) {
        const size_t i = size_t(r);
        DTPicker2[i]->setAccessibleName(CellName(QStringLiteral("Date"), r));
        DTPicker2[i]->checkBox()->setAccessibleName(CellName(QStringLiteral("Date given"), r));
        txtAccount[i]->setAccessibleName(CellName(QStringLiteral("Account"), r));
        txtDesc[i]->setAccessibleName(CellName(QStringLiteral("Description"), r));
    }
    for (int c = 0; c < kCategories; ++c) {
        QLineEdit* heading = txtHeading[size_t(c)];
        heading->setAccessibleName(QStringLiteral("Heading of amount column %1").arg(c + 1));
        connect(heading, &QLineEdit::textChanged, this, [this, c] { nameAmountColumn(c); });
        nameAmountColumn(c);
    }
}

void Form1::nameAmountColumn(int category) {
    // An emptied heading leaves the column its category's name, so every cell keeps a name.
    const QString heading = txtHeading[size_t(category)]->text().trimmed();
    const QString column = heading.isEmpty() ? kDefaultHeadings[size_t(category)] : heading;
    for (int r = 0; r < kGridRows; ++r) amountColumn(category)[size_t(r)]->setAccessibleName(CellName(column, r));
}
