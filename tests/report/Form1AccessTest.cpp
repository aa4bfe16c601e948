// The entry window for keyboard and screen-reader users: one tab stop per control in the described
// order, Enter pressing the focused button, a name for every control, the amount check's message
// announced, and the whole value of a cell too narrow for it.
#include "EntryWindowFixture.h"
#include "EntryField.h"
#include "RowDatePicker.h"
#include "WholeValueTip.h"
#include "support/AccessibleNames.h"
#include "support/FieldByName.h"
#include "workbook/model/AmountText.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using Form1Access = EntryWindowTest;

QWidget* Focused() { return QApplication::focusWidget(); }

// The described tab order: the header, the grid row by row, the footer, the headings, the buttons.
std::vector<QWidget*> DescribedOrder(const Form1& f) {
    std::vector<QWidget*> order{
        Field(f, "txtPurpose"),   f.dtpFrom, Field(f, "txtName"), Field(f, "txtPosition"), Field(f, "txtSSN"),
        Field(f, "txtStatement"), f.dtpTo,   Field(f, "txtDept"), Field(f, "txtManager"),  Field(f, "txtEmpID")};
    for (int r = 0; r < kGridRows; ++r) {
        const size_t i = size_t(r);
        order.insert(order.end(), {f.DTPicker2[i], f.txtAccount[i], f.txtDesc[i]});
        for (int c = 0; c < kCategories; ++c) order.push_back(f.amountColumn(c)[i]);
    }
    order.insert(order.end(),
                 {Field(f, "txtApproved1"), Field(f, "txtApproved2"), Field(f, "txtNotes1"), Field(f, "txtNotes2")});
    order.insert(order.end(), f.txtHeading.begin(), f.txtHeading.end());
    order.insert(order.end(), {f.PushButton22, f.PushButton6, f.PushButton7});
    return order;
}

// Opens a picker's calendar with a key and returns what then has the focus (null: it did not open).
QWidget* OpenCalendarWith(QDateEdit* picker, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    picker->setFocus(Qt::TabFocusReason);
    QTest::keyClick(picker, key, modifiers);
    QWidget* calendar = picker->calendarWidget();
    return calendar->isVisible() ? QApplication::focusWidget() : nullptr;
}

}  // namespace

TEST_F(Form1Access, EachControlIsOneTabStopInTheDescribedOrder) {
    Form1& f = open();
    const std::vector<QWidget*> order = DescribedOrder(f);
    ASSERT_EQ(order.size(), 174u);
    Field(f, "txtPurpose")->setFocus(Qt::TabFocusReason);
    for (size_t k = 1; k <= order.size(); ++k) {
        QTest::keyClick(Focused(), Qt::Key_Tab);
        ASSERT_EQ(Focused(), order[k % order.size()])
            << "Tab number " << k << " reached " << Focused()->objectName().toStdString();
    }
    for (size_t k = order.size(); k > 0; --k) {
        QTest::keyClick(Focused(), Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_EQ(Focused(), order[k - 1]) << "Shift+Tab number " << order.size() - k + 1;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Access, ArrowKeysStayInsideADatePicker) {
    Form1& f = open();
    for (QDateEdit* picker : {static_cast<QDateEdit*>(f.dtpFrom), static_cast<QDateEdit*>(f.DTPicker2[4])}) {
        SCOPED_TRACE(picker->objectName().toStdString());
        picker->setDate(QDate(2026, 6, 7));
        picker->setFocus(Qt::TabFocusReason);
        picker->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(picker, Qt::Key_Right);
        EXPECT_EQ(picker->currentSection(), QDateTimeEdit::MonthSection);
        QTest::keyClick(picker, Qt::Key_Up);
        EXPECT_EQ(picker->date().toString(Qt::ISODate), "2026-07-07");
        QTest::keyClick(picker, Qt::Key_Left);
        QTest::keyClick(picker, Qt::Key_Down);
        EXPECT_EQ(picker->date().toString(Qt::ISODate), "2026-07-06");
        EXPECT_EQ(Focused(), picker);
    }
    EXPECT_EQ(store.get("dtpFrom"), StoredDateText(QDate(2026, 7, 6)));
    EXPECT_EQ(store.get("DTPicker24"), StoredDateText(QDate(2026, 7, 6)));
}

TEST_F(Form1Access, TheKeyboardOpensACalendarAndOnlyAPickChangesTheDate) {
    Form1& f = open();
    QDateEdit* from = f.dtpFrom;
    from->setDate(QDate(2026, 6, 7));
    const QString stored = StoredDateText(QDate(2026, 6, 7));
    for (const auto& [key, modifiers] :
         std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{{Qt::Key_F4, Qt::NoModifier},
                                                                {Qt::Key_Down, Qt::AltModifier},
                                                                {Qt::Key_Up, Qt::AltModifier},
                                                                {Qt::Key_Space, Qt::NoModifier}}) {
        SCOPED_TRACE(QKeySequence(key | modifiers).toString().toStdString());
        QWidget* calendar = OpenCalendarWith(from, key, modifiers);
        ASSERT_NE(calendar, nullptr) << "the calendar did not open";
        QTest::keyClick(calendar, Qt::Key_Right);
        QTest::keyClick(calendar, Qt::Key_Down);
        EXPECT_EQ(store.get("dtpFrom"), stored) << "moving in the calendar stores nothing";
        QTest::keyClick(calendar, Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_FALSE(from->calendarWidget()->isVisible());
        EXPECT_EQ(from->date(), QDate(2026, 6, 7)) << "Escape leaves the date as it was";
        EXPECT_EQ(f.focusWidget(), from) << "the focus goes back to the picker";
    }
    QWidget* calendar = OpenCalendarWith(from, Qt::Key_F4);
    ASSERT_NE(calendar, nullptr);
    QTest::keyClick(calendar, Qt::Key_Right);
    QTest::keyClick(calendar, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(from->date(), QDate(2026, 6, 8));
    EXPECT_EQ(store.get("dtpFrom"), StoredDateText(QDate(2026, 6, 8)));

    // Up and Down with a modifier other than Alt change nothing unseen.
    for (Qt::KeyboardModifiers modifiers : {Qt::ControlModifier, Qt::ShiftModifier, Qt::MetaModifier})
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageDown}) QTest::keyClick(from, key, modifiers);
    EXPECT_EQ(from->date(), QDate(2026, 6, 8));
    EXPECT_FALSE(from->calendarWidget()->isVisible());

    // An empty row shows today greyed; picking that very date gives the row its date.
    RowDatePicker* row = f.DTPicker2[3];
    ASSERT_FALSE(row->value().has_value());
    calendar = OpenCalendarWith(row, Qt::Key_F4);
    ASSERT_NE(calendar, nullptr);
    QTest::keyClick(calendar, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(row->value().has_value()) << "a calendar closed unpicked leaves the row empty";
    calendar = OpenCalendarWith(row, Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(calendar, nullptr);
    QTest::keyClick(calendar, Qt::Key_Enter);
    QCoreApplication::processEvents();
    EXPECT_EQ(row->value(), QDate::currentDate());
    EXPECT_EQ(store.get("DTPicker23"), StoredDateText(QDate::currentDate()));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Access, EnterAndSpacePressTheFocusedButtonAndNothingElse) {
    Form1& f = open();
    int runs = 0;
    Form1::setGenerationRun([&](Form1&) { ++runs; });
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(int(key));
        runs = 0;
        boxes.clear();
        f.PushButton22->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f.PushButton22, key);
        EXPECT_EQ(runs, 1);
        f.PushButton6->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f.PushButton6, key);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.startsWith("Questions?"));
        Field(f, "txtPurpose")->setText(QString());
        f.PushButton7->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f.PushButton7, key);
        EXPECT_EQ(Field(f, "txtPurpose")->text(), "Business trip");
    }
    // The window has no default button: Enter in a field presses none.
    runs = 0;
    boxes.clear();
    for (QWidget* field : {static_cast<QWidget*>(Field(f, "txtPurpose")), static_cast<QWidget*>(f.txtMeals[3]),
                           static_cast<QWidget*>(f.dtpTo), static_cast<QWidget*>(f.txtHeading[1])}) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(Focused(), field);
    }
    Form1::setGenerationRun({});
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Access, AltAndAButtonsLetterPressItOnceTheFieldBeingLeftIsChecked) {
    Form1& f = open();
    int runs = 0;
    Form1::setGenerationRun([&](Form1&) { ++runs; });
    QLineEdit* meals = f.txtMeals[2];
    meals->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(meals, "abc");
    QTest::keyClick(meals, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(runs, 0) << "a refused amount keeps the focus, and the button stays unpressed";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please enter a valid amount.");
    EXPECT_EQ(Focused(), meals);
    meals->setText("12.5");
    QTest::keyClick(meals, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(meals->text(), CurrencyForm(Amount{1250}));
    Form1::setGenerationRun({});

    QLineEdit* purpose = Field(f, "txtPurpose");
    purpose->setFocus(Qt::TabFocusReason);
    QTest::keyClick(purpose, Qt::Key_H, Qt::AltModifier);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[1].text.startsWith("Questions?"));
    purpose->setFocus(Qt::TabFocusReason);
    QTest::keyClick(purpose, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(purpose->text(), "Business trip");

    // The captions read as they did; the key is the button's tip, which a screen reader reads too.
    EXPECT_EQ(f.PushButton22->text(), "Start Creating Template");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(f.PushButton22)->text(QAccessible::Description),
              QKeySequence(Qt::ALT | Qt::Key_S).toString(QKeySequence::NativeText));
}

TEST_F(Form1Access, EveryFocusableControlHasItsOwnName) {
    Form1& f = open();
    EXPECT_GE(ExpectFocusableControlsNamedOnce(&f).size(), 174u);

    const auto nameOf = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    EXPECT_EQ(nameOf(f.txtHotel[2]), "Hotel, row 3");
    EXPECT_EQ(nameOf(f.txtMisc[14]), "Misc, row 15");
    EXPECT_EQ(nameOf(f.DTPicker2[0]), "Date, row 1");
    EXPECT_EQ(nameOf(f.txtDesc[6]), "Description, row 7");
    EXPECT_EQ(nameOf(f.dtpFrom), "Pay period from");
    EXPECT_EQ(nameOf(Field(f, "txtPurpose")), "Purpose");
    EXPECT_EQ(nameOf(Field(f, "txtNotes2")), "Notes, line 2");
    EXPECT_EQ(nameOf(f.txtHeading[2]), "Heading of amount column 3");
    EXPECT_EQ(nameOf(f.PushButton7), "Load Sample/Example Data");

    // A renamed column is read under its new title; an emptied one under its category.
    f.txtHeading[2]->setText("Mileage");
    EXPECT_EQ(nameOf(f.txtFuel[4]), "Mileage, row 5");
    f.txtHeading[2]->setText("");
    EXPECT_EQ(nameOf(f.txtFuel[4]), "Fuel, row 5");
}

TEST_F(Form1Access, TheAmountChecksMessageIsReadWithTheFieldItKeeps) {
    Form1& f = open();
    QLineEdit* meals = f.txtMeals[3];
    const auto description = [meals] {
        return QAccessible::queryAccessibleInterface(meals)->text(QAccessible::Description);
    };
    meals->setFocus(Qt::TabFocusReason);
    meals->setText("abc");
    QTest::keyClick(meals, Qt::Key_Tab);
    ASSERT_EQ(boxes.size(), 1u);
    ASSERT_EQ(Focused(), meals);
    EXPECT_EQ(description(), "Please enter a valid amount.");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(meals)->text(QAccessible::Name), "Meals, row 4");
    // Once the field holds an amount the message goes with it.
    meals->setText("12");
    QTest::keyClick(meals, Qt::Key_Tab);
    EXPECT_EQ(meals->text(), "$12.00");
    EXPECT_TRUE(description().isEmpty());
}

TEST_F(Form1Access, ANarrowAmountCellShowsItsWholeValueAsTipAndWhileFocused) {
    Form1& f = open();
    QLineEdit* hotel = f.txtHotel[0];
    const QRect designed = hotel->geometry();
    hotel->setFocus(Qt::TabFocusReason);
    hotel->setText("1234.567");
    QTest::keyClick(hotel, Qt::Key_Tab);
    ASSERT_EQ(hotel->text(), "$1,234.57");
    EXPECT_TRUE(WholeValueTip::tooNarrow(hotel));
    EXPECT_EQ(hotel->toolTip(), "$1,234.57");
    EXPECT_EQ(WholeValueTip::shownTip(hotel), nullptr) << "no tip while another cell has the focus";

    QTest::keyClick(Focused(), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(Focused(), hotel);
    QCoreApplication::processEvents();  // the keys that select the whole text on entry
    QLabel* tip = WholeValueTip::shownTip(hotel);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->text(), "$1,234.57");
    EXPECT_GE(tip->width(), tip->fontMetrics().horizontalAdvance("$1,234.57"));
    EXPECT_EQ(tip->pos().y(), hotel->mapToGlobal(QPoint(0, hotel->height())).y()) << "just below the cell";
    // It follows the typing, and goes when the value fits or the cell is left.
    hotel->clear();
    EXPECT_EQ(WholeValueTip::shownTip(hotel), nullptr);
    QTest::keyClicks(hotel, "12345678");
    EXPECT_EQ(WholeValueTip::shownTip(hotel)->text(), "12345678");
    hotel->setText("5");
    EXPECT_EQ(WholeValueTip::shownTip(hotel), nullptr);
    EXPECT_TRUE(hotel->toolTip().isEmpty());
    hotel->setText("99999.99");
    QTest::keyClick(hotel, Qt::Key_Tab);
    EXPECT_EQ(WholeValueTip::shownTip(hotel), nullptr);
    EXPECT_EQ(hotel->geometry(), designed) << "the layout stays as designed";

    // Cells whose value fits say nothing more; a wider column fits more.
    EXPECT_FALSE(WholeValueTip::tooNarrow(f.txtMeals[5]));
    EXPECT_TRUE(f.txtMeals[5]->toolTip().isEmpty());
    f.txtEntertainment[1]->setText("$1,234.57");
    EXPECT_FALSE(WholeValueTip::tooNarrow(f.txtEntertainment[1]));
    f.txtDesc[1]->setText(QString(80, QLatin1Char('x')));
    EXPECT_EQ(f.txtDesc[1]->toolTip(), QString(80, QLatin1Char('x')));
}

TEST_F(Form1Access, AFieldNotBeingEditedShowsTheStartOfWhatItHolds) {
    Form1& f = open();
    const auto shown = [](QLineEdit* field) { return static_cast<EntryField*>(field)->shownText(); };
    const QString ellipsis(QChar(0x2026));
    const auto expectStartAndEllipsis = [&](QLineEdit* field, int leading) {
        SCOPED_TRACE(field->objectName().toStdString() + ": " + field->text().toStdString());
        const QString start = shown(field);
        ASSERT_TRUE(start.endsWith(ellipsis)) << start.toStdString();
        EXPECT_GE(start.size(), leading + 1) << start.toStdString();
        EXPECT_TRUE(field->text().startsWith(start.chopped(1))) << start.toStdString();
    };
    QLineEdit* hotel = f.txtHotel[0];
    for (const auto& [typed, leading] : std::vector<std::pair<QString, int>>{{"1234.567", 3}, {"-1234.5", 3}}) {
        hotel->setFocus(Qt::TabFocusReason);
        hotel->setText(typed);
        QTest::keyClick(hotel, Qt::Key_Tab);
        expectStartAndEllipsis(hotel, leading);  // the sign, the symbol and the leading digits
    }
    // While the field is edited it shows what a line edit shows; a value that fits is shown whole.
    hotel->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(shown(hotel), hotel->text());
    f.txtEntertainment[1]->setText(CurrencyForm(Amount{123457}));
    EXPECT_EQ(shown(f.txtEntertainment[1]), f.txtEntertainment[1]->text());

    // A long text field shows its start once left, wherever the caret was.
    QLineEdit* purpose = Field(f, "txtPurpose");
    purpose->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(purpose, "Visit to the regional offices and the two suppliers in the north");
    ASSERT_EQ(purpose->cursorPosition(), purpose->text().size());
    QTest::keyClick(purpose, Qt::Key_Tab);
    expectStartAndEllipsis(purpose, 20);

    // A column title gives up some of its size to stand whole, and past that shows its start.
    auto* entertainment = static_cast<EntryField*>(f.txtHeading[5]);
    ASSERT_EQ(entertainment->text(), "Entertainment");
    EXPECT_EQ(shown(entertainment), "Entertainment");
    EXPECT_LT(entertainment->shownFont().pointSizeF(), entertainment->font().pointSizeF());
    EXPECT_GE(entertainment->shownFont().pointSizeF(), 0.75 * entertainment->font().pointSizeF());
    EXPECT_EQ(static_cast<EntryField*>(f.txtHeading[2])->shownFont(), f.txtHeading[2]->font()) << "Fuel fits";
    entertainment->setText("Entertainment and hospitality");
    expectStartAndEllipsis(entertainment, 10);

    // The symbol may stand after the digits: the start is still the digits, not the symbol.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    f.txtMisc[2]->setText(CurrencyForm(Amount{123457}));
    expectStartAndEllipsis(f.txtMisc[2], 3);
}

// What a field shows is measured once and kept: every change of text, font, width or style that
// changes what fits must show at once, never what was measured before it.
TEST_F(Form1Access, WhatAFieldShowsFollowsEachChangeOfTextFontWidthAndStyle) {
    Form1& f = open();
    const QString ellipsis(QChar(0x2026));
    auto* desc = static_cast<EntryField*>(f.txtDesc[2]);
    const QString taxi = QStringLiteral("Taxi to the airport");
    desc->setText(taxi);
    ASSERT_EQ(desc->shownText(), taxi);

    QFont large = desc->font();
    large.setPointSizeF(large.pointSizeF() * 2);
    desc->setFont(large);
    EXPECT_TRUE(desc->shownText().endsWith(ellipsis)) << "a larger font no longer fits";
    desc->setFont(f.font());
    EXPECT_EQ(desc->shownText(), taxi);

    const QSize designed = desc->size();
    desc->resize(designed.width() / 2, designed.height());
    EXPECT_TRUE(desc->shownText().endsWith(ellipsis)) << "a narrower field no longer fits";
    desc->resize(designed);
    EXPECT_EQ(desc->shownText(), taxi);

    desc->setStyleSheet(QStringLiteral("padding-left: %1px;").arg(designed.width() / 2));
    EXPECT_TRUE(desc->shownText().endsWith(ellipsis)) << "padding leaves less room";
    EXPECT_TRUE(WholeValueTip::tooNarrow(desc));
    desc->setStyleSheet(QString());
    EXPECT_EQ(desc->shownText(), taxi);
    EXPECT_FALSE(WholeValueTip::tooNarrow(desc));

    // A title shrunk for its width stands in its own size again once wide enough, and shrinks again.
    auto* entertainment = static_cast<EntryField*>(f.txtHeading[5]);
    const QFont own = entertainment->font();
    const QFont shrunk = entertainment->shownFont();
    ASSERT_LT(shrunk.pointSizeF(), own.pointSizeF());
    const QSize title = entertainment->size();
    entertainment->resize(title.width() * 3, title.height());
    EXPECT_EQ(entertainment->shownFont(), own);
    entertainment->resize(title);
    EXPECT_EQ(entertainment->shownFont(), shrunk);
    entertainment->setText(QStringLiteral("Fun"));
    EXPECT_EQ(entertainment->shownFont(), own) << "a shorter title fits in its own size";
}

TEST_F(Form1Access, TheTitleBarOffersNoMaximise) {
    Form1& f = open();
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
}
