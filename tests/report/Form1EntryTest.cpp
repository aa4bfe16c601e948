#include "EntryWindowFixture.h"
#include "app/AppTitle.h"
#include "app/PointerKinds.h"
#include "RowDatePicker.h"
#include "support/FieldByName.h"
#include "workbook/model/AmountText.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <cstring>

namespace {

// Clicks into a field, clears it and types, as a user does (characters beyond ASCII are pasted).
void TypeInto(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(field, char(c.unicode()));
        else
            field->insert(c);
    }
}

void Hover(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

}  // namespace

struct AmountCase {
    const char* typed;
    const char* shown;  // empty when refused
};

class Form1Entry : public EntryWindowTest {
protected:
    // Types each amount into Meals of row 3 and leaves it with Tab.
    void checkLeaving(const std::vector<AmountCase>& cases) {
        Form1& f = *form;
        for (const AmountCase& c : cases) {
            SCOPED_TRACE(c.typed);
            boxes.clear();
            TypeInto(f.txtMeals[3], QString::fromUtf8(c.typed));
            QTest::keyClick(f.txtMeals[3], Qt::Key_Tab);
            QCoreApplication::processEvents();
            const QString shown = QString::fromUtf8(c.shown);
            if (!shown.isEmpty()) {
                EXPECT_EQ(f.txtMeals[3]->text(), shown);
                EXPECT_TRUE(f.txtPhone[3]->hasFocus());
                EXPECT_TRUE(boxes.empty());
            } else {
                ASSERT_EQ(boxes.size(), 1u);
                EXPECT_EQ(boxes[0].text, "Please enter a valid amount.");
                EXPECT_EQ(boxes[0].icon, MsgIcon::None);
                EXPECT_EQ(f.txtMeals[3]->text(), CurrencyForm(Amount{}));
                EXPECT_TRUE(f.txtMeals[3]->hasFocus());
                EXPECT_EQ(f.txtMeals[3]->selectedText(), CurrencyForm(Amount{}));
            }
            EXPECT_EQ(store.get("txtMeals3"), f.txtMeals[3]->text());
        }
    }
};

TEST_F(Form1Entry, EveryKeystrokeIsStoredBeforeAnyCheck) {
    Form1& f = open();
    TypeInto(f.txtDesc[2], "Taxi & tip");
    EXPECT_EQ(store.get("txtDesc2"), "Taxi & tip");
    // A heading may be emptied; it is stored as the empty text.
    TypeInto(f.txtHeading[4], "");
    EXPECT_EQ(store.get("txtHeading4"), "");
    TypeInto(f.txtMeals[3], "");
    for (const char* expected : {"1", "12", "120"}) {
        QTest::keyClick(f.txtMeals[3], expected[strlen(expected) - 1]);
        EXPECT_EQ(store.get("txtMeals3"), expected);
    }
    // Closing with the focus still in the amount ends the program without a check.
    f.close();
    EXPECT_EQ(endRequests, 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(store.get("txtMeals3"), "120");
}

// Each of the twelve text fields is one row of the field table: its control carries the key's name,
// its edits go to that key, and the report reads it into that field.
TEST_F(Form1Entry, EachTextFieldReachesItsOwnKeyAndReportField) {
    Form1& f = open();
    for (const TextFieldEntry& entry : kTextFields) TypeInto(Field(f, entry.key), QStringLiteral("in ") + entry.key);
    const ExpenseReport report = f.report();
    for (const TextFieldEntry& entry : kTextFields) {
        EXPECT_EQ(store.get(entry.key), QStringLiteral("in ") + entry.key);
        EXPECT_EQ(report.text(entry.field), QStringLiteral("in ") + entry.key);
    }
}

TEST_F(Form1Entry, LeavingAnAmountPutsItInCurrencyFormOrRefusesIt) {
    Form1& f = open();
    checkLeaving({{"12.5", "$12.50"},
                  {"1,234.567", "$1,234.57"},
                  {"$7", "$7.00"},
                  {"($3)", "($3.00)"},
                  {"abc", ""},
                  {"12.5.3", ""},
                  {"", ""},
                  {"   ", ""},
                  {"1e400", ""},
                  {"1e3", "$1,000.00"},
                  // Grouping only at the thousands, half cents in decimal, no more than a cell keeps to the cent.
                  {"1,23", ""},
                  {"12,34", ""},
                  {"2.675", "$2.68"},
                  {"9,999,999,999,999.99", "$9,999,999,999,999.99"},
                  {"10000000000000", ""}});
    TypeInto(f.txtMeals[3], "-3");
    QTest::keyClick(f.txtMeals[3], Qt::Key_Tab);
    EXPECT_EQ(f.txtMeals[3]->text(), QLocale().toCurrencyString(-3.0, "$", 2));
}

TEST_F(Form1Entry, LeavingAnAmountUnderCommaDecimalSettings) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    open();
    checkLeaving({{"12,5", "12,50\u00a0€"},
                  {"1.234,567", "1.234,57\u00a0€"},
                  {"7 €", "7,00\u00a0€"},
                  {"abc", ""},
                  {"12,5,3", ""},
                  {"1.23", ""},
                  {"1234.57", ""},
                  {"", ""}});
}

TEST_F(Form1Entry, UnderFrenchSettingsAnyBlankGroupsTheThousands) {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    open();
    checkLeaving({{"1 234,5", "1\u202f234,50\u00a0€"},
                  {"1\u00a0234,5 €", "1\u202f234,50\u00a0€"},
                  {"12 34,5", ""},
                  {"0,015", "0,02\u00a0€"}});
}

TEST_F(Form1Entry, ARefusedAmountSwallowsTheButtonClickThatWouldHaveTakenTheFocus) {
    Form1& f = open();
    TypeInto(f.txtHotel[0], "abc");
    QTest::mouseClick(f.PushButton7, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(Field(f, "txtPurpose")->text().isEmpty()) << "the sample data must not load";
    EXPECT_TRUE(f.txtHotel[0]->hasFocus());
    EXPECT_EQ(f.txtHotel[0]->selectedText(), "$0.00");
    // The zero passes: the next click goes through.
    QTest::mouseClick(f.PushButton6, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Questions? Please contact Team Tarrowell at https://www.tarrowell.example/contact/");
    EXPECT_EQ(boxes[1].icon, MsgIcon::None);
    EXPECT_EQ(boxes[1].title, AppTitle());
}

TEST_F(Form1Entry, DeactivatingTheWindowDoesNotCheck) {
    Form1& f = open();
    TypeInto(f.txtFuel[1], "12a");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(f.txtFuel[1]->text(), "12a");
}

TEST_F(Form1Entry, AmountsAndHeadingsSelectAllOnEntryOtherFieldsDoNot) {
    Form1& f = open();
    f.txtMeals[5]->setText("$5.00");
    QTest::mouseClick(f.txtMeals[5], Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.txtMeals[5]->selectedText(), "$5.00");
    QTest::keyClick(f.txtMeals[5], Qt::Key_Tab);  // leaving in currency form keeps the text
    EXPECT_EQ(f.txtMeals[5]->text(), "$5.00");
    QCoreApplication::processEvents();
    EXPECT_EQ(f.txtPhone[5]->selectedText(), "$0.00");

    QTest::mouseClick(f.txtHeading[1], Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.txtHeading[1]->selectedText(), "Transport");

    f.txtDesc[2]->setText("Taxi");
    QTest::mouseClick(f.txtDesc[2], Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.txtDesc[2]->hasSelectedText());
}

TEST_F(Form1Entry, DatePickersStoreWhatTheUserChanges) {
    Form1& f = open();
    f.dtpFrom->setFocus();
    QTest::keyClick(f.dtpFrom, Qt::Key_Up);
    EXPECT_EQ(store.get("dtpFrom"), StoredDateText(f.dtpFrom->date()));
    EXPECT_NE(f.dtpFrom->date(), QDate::currentDate());

    RowDatePicker* row5 = f.DTPicker2[5];
    row5->setFocus();
    QTest::keyClick(row5, Qt::Key_Space);  // an empty row takes the shown date
    EXPECT_EQ(store.get("DTPicker25"), StoredDateText(QDate::currentDate()));
    QTest::keyClick(row5, Qt::Key_Up);
    EXPECT_EQ(store.get("DTPicker25"), StoredDateText(row5->date()));
    QTest::keyClick(row5, Qt::Key_Delete);
    EXPECT_FALSE(row5->value().has_value());
    EXPECT_EQ(store.get("DTPicker25"), "");

    RowDatePicker* row2 = f.DTPicker2[2];
    QTest::mouseClick(row2->checkBox(), Qt::LeftButton);
    EXPECT_EQ(row2->value(), QDate::currentDate());
    QTest::mouseClick(row2->checkBox(), Qt::LeftButton);
    EXPECT_FALSE(row2->value().has_value());
    EXPECT_EQ(store.get("DTPicker22"), "");
    form.reset();
    Form1& again = open();
    EXPECT_FALSE(again.DTPicker2[2]->value().has_value());
    EXPECT_FALSE(again.DTPicker2[5]->value().has_value());
}

TEST_F(Form1Entry, PointerShowsTheHandOverButtonsAndLeavesTheHourglass) {
    Form1& f = open();
    Hover(f.PushButton22);
    EXPECT_EQ(f.pointer().kind(), kPointerCustom);
    Hover(f.txtHeading[0]);
    EXPECT_EQ(f.pointer().kind(), kPointerCustom) << "headings leave the pointer";
    Hover(f.txtDesc[0]);
    EXPECT_EQ(f.pointer().kind(), kPointerDefault);
    EXPECT_EQ(f.txtDesc[0]->cursor().shape(), Qt::IBeamCursor) << "a text field shows where typing goes";
    EXPECT_EQ(f.PushButton22->cursor().shape(), Qt::ArrowCursor);
    Hover(f.PushButton6);
    Hover(f.Frame3);
    EXPECT_EQ(f.pointer().kind(), kPointerDefault);
    f.pointer().setKind(kPointerHourglass);
    Hover(f.PushButton7);
    Hover(f.dtpTo);
    Hover(&f);
    EXPECT_EQ(f.pointer().kind(), kPointerHourglass);
}

TEST_F(Form1Entry, ThePointerIsTheArrowOverEveryPartOfADatePicker) {
    Form1& f = open();
    RowDatePicker* row = f.DTPicker2[6];
    const std::vector<QWidget*> parts{f.dtpFrom->findChild<QLineEdit*>(), f.dtpTo->findChild<QLineEdit*>(),
                                      row->findChild<QLineEdit*>(), row->checkBox()};
    for (QWidget* part : parts) {
        ASSERT_NE(part, nullptr);
        SCOPED_TRACE(part->parentWidget()->objectName().toStdString());
        // Real moves through the window, so only widgets that track the mouse see them.
        QTest::mouseMove(f.PushButton6);
        ASSERT_EQ(f.pointer().kind(), kPointerCustom);
        QTest::mouseMove(part, part->rect().center());
        EXPECT_EQ(f.pointer().kind(), kPointerDefault);
    }
}

TEST_F(Form1Entry, StartCreatingTemplateRunsTheInstalledGeneration) {
    Form1& f = open();
    Form1* ran = nullptr;
    Form1::setGenerationRun([&](Form1& form) { ran = &form; });
    QTest::mouseClick(f.PushButton22, Qt::LeftButton);
    Form1::setGenerationRun({});
    EXPECT_EQ(ran, &f);
}
