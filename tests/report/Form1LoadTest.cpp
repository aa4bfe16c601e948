#include "EntryWindowFixture.h"
#include "RowDatePicker.h"
#include "support/FieldByName.h"

#include <QDateEdit>
#include <QLineEdit>

namespace {

using Form1Load = EntryWindowTest;

TEST_F(Form1Load, FirstStartWithAnEmptyStoreShowsTheDefaults) {
    Form1& f = open();
    const ExpenseReport report = f.report();
    for (const TextFieldEntry& entry : kTextFields)
        EXPECT_TRUE(report.text(entry.field).isEmpty()) << qPrintable(entry.key);
    EXPECT_EQ(report.payFrom, QDate::currentDate());
    EXPECT_EQ(report.payTo, QDate::currentDate());
    EXPECT_EQ(report.headings, kDefaultHeadings);
    for (const ExpenseRow& row : report.rows) {
        EXPECT_FALSE(row.date.has_value());
        EXPECT_TRUE(row.account.isEmpty() && row.description.isEmpty());
        for (const QString& amount : row.amounts) EXPECT_EQ(amount, "$0.00");
    }
    EXPECT_TRUE(boxes.empty());
    // Amounts are written back in currency form; the dates the load sets are not stored.
    EXPECT_EQ(store.get("txtMisc14"), "$0.00");
    EXPECT_EQ(store.get("dtpFrom"), "<none>");
    EXPECT_EQ(store.get("DTPicker20"), "<none>");
}

TEST_F(Form1Load, RestoresStoredValuesUnderAnyLetterCase) {
    store.save("txtPurpose", "Conference");
    store.save("txtHeading2", "");
    store.save("txtHeading3", "Food");
    store.save("dtpTo", "2020-02-03");
    store.save("dtpFrom", "11/5/16");  // the old United States short date
    store.save("DTPicker23", "2019-12-31");
    store.save("DTPicker24", "");
    store.save("txtMeals3", "12.5");
    store.save("txtDesc7", "  spaced  ");
    Form1& f = open();
    EXPECT_EQ(Field(f, "txtPurpose")->text(), "Conference");
    EXPECT_EQ(f.txtHeading[2]->text(), "");
    EXPECT_EQ(f.txtHeading[3]->text(), "Food");
    EXPECT_EQ(f.dtpTo->date(), QDate(2020, 2, 3));
    EXPECT_EQ(f.dtpFrom->date(), QDate(2016, 11, 5));
    EXPECT_EQ(f.DTPicker2[3]->value(), QDate(2019, 12, 31));
    EXPECT_FALSE(f.DTPicker2[4]->value().has_value());
    EXPECT_EQ(f.txtMeals[3]->text(), "$12.50");
    EXPECT_EQ(store.get("txtMeals3"), "$12.50");
    EXPECT_EQ(f.txtDesc[7]->text(), "  spaced  ");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Load, UnreadableStoredValuesAreReportedOnceAtTheirLineAndTheLoadGoesOn) {
    store.save("txtMeals3", "12a");
    store.save("txtHotel9", "");
    store.save("DTPicker22", "not a date");
    store.save("dtpFrom", "garbage");
    store.save("txtNotes2", "after the bad ones");
    Form1& f = open();
    ASSERT_EQ(boxes.size(), 4u);
    const auto line = [](const MessageRequest& box) { return box.text.section("\r\n", 1).section("\r", 0, 0); };
    EXPECT_EQ(line(boxes[0]), "in Brindlemoor2021/08/31.Form1.Form_Load at line 158");
    EXPECT_EQ(line(boxes[1]), "in Brindlemoor2021/08/31.Form1.Form_Load at line 166");
    EXPECT_EQ(line(boxes[2]), "in Brindlemoor2021/08/31.Form1.Form_Load at line 178");
    EXPECT_EQ(line(boxes[3]), "in Brindlemoor2021/08/31.Form1.Form_Load at line 172");
    for (const MessageRequest& box : boxes) {
        EXPECT_EQ(box.title, "Application Error");
        EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    }
    // An unreadable amount becomes zero, as the amount check makes it; the pickers keep the date
    // the load set first. What the cells show replaces the unreadable text in the store.
    const QString today = StoredDateText(QDate::currentDate());
    EXPECT_EQ(f.txtMeals[3]->text(), "$0.00");
    EXPECT_EQ(store.get("txtMeals3"), "$0.00");
    EXPECT_EQ(f.txtHotel[9]->text(), "$0.00");
    EXPECT_EQ(store.get("txtHotel9"), "$0.00");
    EXPECT_EQ(f.txtMeals[4]->text(), "$0.00");
    EXPECT_EQ(f.DTPicker2[2]->value(), QDate::currentDate());
    EXPECT_EQ(store.get("DTPicker22"), today);
    EXPECT_EQ(f.dtpFrom->date(), QDate::currentDate());
    EXPECT_EQ(store.get("dtpFrom"), today);
    EXPECT_EQ(store.get("dtpTo"), "<none>") << "only the unreadable values are written back";
    EXPECT_EQ(Field(f, "txtNotes2")->text(), "after the bad ones");

    // So the boxes are shown once, not at every start.
    form.reset();
    boxes.clear();
    Form1& again = open();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(again.txtMeals[3]->text(), "$0.00");
    EXPECT_EQ(again.DTPicker2[2]->value(), QDate::currentDate());
}

TEST_F(Form1Load, TheAvailabilityCheckRunsLastOverARestoredReport) {
    store.save("txtMisc14", "4");
    QString lastAmountSeen;
    Form1::setAvailabilityCheck([&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (const auto* f = qobject_cast<Form1*>(window)) lastAmountSeen = f->txtMisc[14]->text();
    });
    open();
    Form1::setAvailabilityCheck({});
    EXPECT_EQ(lastAmountSeen, "$4.00");
}

TEST_F(Form1Load, ARestartShowsTheSameReport) {
    Form1& first = open();
    Field(first, "txtName")->setText("Ada");
    first.txtHeading[0]->setText("");
    first.txtAccount[6]->setText("A-6");
    first.txtEntertainment[6]->setText("$9.99");
    first.DTPicker2[6]->setValue(QDate(2021, 8, 31));
    first.dtpFrom->setDate(QDate(2021, 8, 1));
    const ExpenseReport before = first.report();
    form.reset();

    Form1& second = open();
    const ExpenseReport after = second.report();
    for (const TextFieldEntry& entry : kTextFields)
        EXPECT_EQ(after.text(entry.field), before.text(entry.field)) << qPrintable(entry.key);
    EXPECT_EQ(after.headings, before.headings);
    EXPECT_EQ(after.payFrom, before.payFrom);
    for (size_t r = 0; r < size_t(kGridRows); ++r) {
        EXPECT_EQ(after.rows[r].date, before.rows[r].date);
        EXPECT_EQ(after.rows[r].account, before.rows[r].account);
        EXPECT_EQ(after.rows[r].amounts, before.rows[r].amounts);
    }
}

TEST_F(Form1Load, RestoresUnderCommaDecimalSettings) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    store.save("txtFuel0", "1.234,567");
    Form1& f = open();
    EXPECT_EQ(f.txtFuel[0]->text(), QString::fromUtf8("1.234,57\u00a0€"));
    EXPECT_EQ(f.txtHotel[0]->text(), QString::fromUtf8("0,00\u00a0€"));
}

}  // namespace
