#include "EntryWindowFixture.h"
#include "RowDatePicker.h"
#include "support/FieldByName.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

namespace {

using Form1SampleData = EntryWindowTest;

void ExpectExample(const Form1& f) {
    EXPECT_EQ(Field(f, "txtPurpose")->text(), "Business trip");
    EXPECT_EQ(Field(f, "txtManager")->text(), "M. T. Garfoot");
    EXPECT_EQ(Field(f, "txtNotes1")->text(), "Check next month");
    EXPECT_EQ(f.dtpFrom->date(), QDate(2016, 11, 5));
    EXPECT_EQ(f.dtpTo->date(), QDate(2016, 11, 11));
    const ExpenseReport report = f.report();
    const ExpenseRow& top = report.rows[0];
    EXPECT_EQ(top.date, QDate(2016, 11, 7));
    EXPECT_EQ(top.account, "110797");
    EXPECT_EQ(top.description, "Transport account");
    EXPECT_EQ(top.amounts,
              (std::array<QString, kCategories>{"$0.00", "$112.57", "$44.58", "$22.58", "$18.35", "$0.00", "$0.00"}));
    const ExpenseRow& second = report.rows[1];
    EXPECT_EQ(second.date, QDate(2016, 11, 10));
    EXPECT_EQ(second.account, "111017");
    EXPECT_EQ(second.description, "Hotel account");
    EXPECT_EQ(second.amounts,
              (std::array<QString, kCategories>{"$118.74", "$0.00", "$0.00", "$52.89", "$48.75", "$14.99", "$15.49"}));
}

TEST_F(Form1SampleData, FillsTheExampleTwiceAsOnceAndKeepsOtherFields) {
    Form1& f = open();
    Field(f, "txtNotes2")->setText("mine");
    f.txtHeading[2]->setText("Mileage");
    f.txtDesc[5]->setText("row five");
    Field(f, "txtApproved2")->setText("second approver");
    QTest::mouseClick(f.PushButton7, Qt::LeftButton);
    ExpectExample(f);
    const ExpenseReport once = f.report();
    QTest::mouseClick(f.PushButton7, Qt::LeftButton);
    ExpectExample(f);
    const ExpenseReport twice = f.report();
    for (const TextFieldEntry& entry : kTextFields)
        EXPECT_EQ(twice.text(entry.field), once.text(entry.field)) << qPrintable(entry.key);
    EXPECT_EQ(Field(f, "txtNotes2")->text(), "mine");
    EXPECT_EQ(f.txtHeading[2]->text(), "Mileage");
    EXPECT_EQ(f.txtDesc[5]->text(), "row five");
    EXPECT_EQ(Field(f, "txtApproved2")->text(), "second approver");
    EXPECT_FALSE(f.DTPicker2[2]->value().has_value());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1SampleData, TheExampleComesBackAfterARestart) {
    open();
    form->PushButton7_Click();
    EXPECT_EQ(store.get("txtHotel1"), "$118.74");
    EXPECT_EQ(store.get("txtSSN"), "NA");
    form.reset();
    ExpectExample(open());
}

TEST_F(Form1SampleData, AmountsFollowCommaDecimalSettings) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form1& f = open();
    f.PushButton7_Click();
    EXPECT_EQ(f.txtHotel[1]->text(), QString::fromUtf8("118,74\u00a0€"));
    EXPECT_EQ(f.txtTransport[1]->text(), QString::fromUtf8("0,00\u00a0€"));
}

}  // namespace
