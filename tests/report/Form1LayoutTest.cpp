#include "EntryWindowFixture.h"
#include "RowDatePicker.h"
#include "support/FieldByName.h"

#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

using Form1Layout = EntryWindowTest;

TEST_F(Form1Layout, ClientAreaIsFixedAtTheDesignedSize) {
    Form1& f = open();
    EXPECT_EQ(f.size(), QSize(775, 714));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(f.objectName(), "Form1");
    EXPECT_EQ(f.windowTitle(), "Brindlemoor");
}

TEST_F(Form1Layout, ControlsStandWhereTheTwipsTablesPutThem) {
    Form1& f = open();
    EXPECT_EQ(f.PushButton22->geometry(), QRect(8, 8, 760, 27));
    EXPECT_EQ(f.PushButton7->geometry(), QRect(400, 42, 368, 27));
    EXPECT_EQ(f.Frame1->geometry(), QRect(8, 233, 760, 370));
    EXPECT_EQ(Field(f, "txtStatement")->geometry(), QRect(548, 20, 198, 22));
    EXPECT_EQ(f.txtHotel[3]->geometry(), QRect(382, 108, 47, 22));
    EXPECT_EQ(f.txtHeading[5]->geometry(), QRect(625, 24, 82, 22));
    EXPECT_EQ(Field(f, "txtNotes2")->geometry(), QRect(508, 60, 199, 22));
    // Neighbouring cells share one border line.
    EXPECT_EQ(f.txtAccount[0]->geometry().right(), f.txtDesc[0]->geometry().left());
    EXPECT_EQ(f.txtMisc[13]->geometry().bottom(), f.txtMisc[14]->geometry().top());
    EXPECT_EQ(f.txtMisc[14]->geometry().bottom() + 1, 361);
    // The row picker overhangs its clipping box, which cuts off its raised frame.
    EXPECT_EQ(f.Picture3[4]->geometry(), QRect(8, 129, 115, 22));
    EXPECT_EQ(f.DTPicker2[4]->geometry(), QRect(-1, -2, 118, 26));
    EXPECT_EQ(f.DTPicker2[0]->geometry(), QRect(-2, -2, 119, 26));
}

TEST_F(Form1Layout, NamesCaptionsFontsAndColours) {
    Form1& f = open();
    for (const char* name : {"txtHotel3", "txtHeading6", "DTPicker214", "txtDesc0", "dtpTo", "Frame3", "lblYear"})
        EXPECT_NE(f.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(f.PushButton7->text(), "Load Sample/Example Data");
    EXPECT_EQ(f.lblYear->text(), "Description");
    EXPECT_EQ(f.Frame2->title(), "Header");
    EXPECT_EQ(f.txtHeading[2]->text(), "Fuel");
    EXPECT_TRUE(f.txtDesc[0]->font().bold());
    EXPECT_EQ(f.txtDesc[0]->font().pointSizeF(), 9.0);
    EXPECT_EQ(f.PushButton22->font().pointSizeF(), 11.25);
    EXPECT_EQ(f.Frame1->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(f.txtMeals[2]->alignment(), Qt::AlignCenter);
    EXPECT_EQ(f.DTPicker2[0]->displayFormat(), "dd-MMM-yyyy");
    EXPECT_TRUE(f.dtpFrom->calendarPopup());
    EXPECT_EQ(f.dtpFrom->minimumDate(), QDate(1601, 1, 1));
    EXPECT_EQ(f.DTPicker2[9]->maximumDate(), QDate(9999, 12, 31));
}

TEST_F(Form1Layout, TabOrderRunsHeaderGridFooterHeadingsButtons) {
    Form1& f = open();
    std::vector<QWidget*> expected{
        Field(f, "txtPurpose"),   f.dtpFrom, Field(f, "txtName"), Field(f, "txtPosition"), Field(f, "txtSSN"),
        Field(f, "txtStatement"), f.dtpTo,   Field(f, "txtDept"), Field(f, "txtManager"),  Field(f, "txtEmpID")};
    for (int r = 0; r < kGridRows; ++r) {
        expected.insert(expected.end(), {f.DTPicker2[size_t(r)], f.txtAccount[size_t(r)], f.txtDesc[size_t(r)]});
        for (int c = 0; c < kCategories; ++c) expected.push_back(f.amountColumn(c)[size_t(r)]);
    }
    expected.insert(expected.end(),
                    {Field(f, "txtApproved1"), Field(f, "txtApproved2"), Field(f, "txtNotes1"), Field(f, "txtNotes2")});
    expected.insert(expected.end(), f.txtHeading.begin(), f.txtHeading.end());
    expected.insert(expected.end(), {f.PushButton22, f.PushButton6, f.PushButton7});

    std::vector<QWidget*> actual;
    QWidget* w = Field(f, "txtPurpose");
    do {
        if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(&f) && !w->focusProxy()) actual.push_back(w);
        w = w->nextInFocusChain();
    } while (w != Field(f, "txtPurpose") && actual.size() < 400);
    // Parts inside a picker (its line edit, calendar) are not stops of their own.
    std::erase_if(actual, [&](QWidget* x) { return std::find(expected.begin(), expected.end(), x) == expected.end(); });
    EXPECT_EQ(actual, expected);
}

// The grid's look, as drawn: a black single border round every cell and title, white cells and light
// grey titles inside it, up to the pixels next to the border; also under a style sheet on the window,
// as a skin gives one, which paints frameless line edits in colours of its own.
TEST_F(Form1Layout, GridCellsAndTitlesAreBorderedWhiteAndGrey) {
    Form1& f = open();
    const auto expectLook = [&](QWidget* control, const QColor& inside, const char* when) {
        SCOPED_TRACE(control->objectName().toStdString() + ", " + when);
        const QRect box(control->mapTo(f.Frame1, QPoint()), control->size());
        const QImage drawn = f.Frame1->grab(box).toImage();
        const int w = drawn.width(), h = drawn.height();
        for (const QPoint& edge : {QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, 0), QPoint(w / 2, h - 1)})
            EXPECT_EQ(drawn.pixelColor(edge), QColor(Qt::black)) << "border at " << edge.x() << "," << edge.y();
        for (const QPoint& corner : {QPoint(1, 1), QPoint(w - 2, 1), QPoint(1, h - 2), QPoint(w - 2, h - 2)})
            EXPECT_EQ(drawn.pixelColor(corner), inside) << "inside at " << corner.x() << "," << corner.y();
    };
    const QColor grey(0xE0, 0xE0, 0xE0);
    const auto expectGrid = [&](const char* when) {
        expectLook(f.txtAccount[5], Qt::white, when);
        expectLook(f.txtMisc[14], Qt::white, when);
        expectLook(f.txtHeading[0], grey, when);
        expectLook(f.Label1, grey, when);
    };
    expectGrid("plain");
    QFile skin(QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/app/assets/x/o.cjs"));
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    f.setStyleSheet(QString::fromUtf8(skin.readAll()));
    QCoreApplication::processEvents();
    expectGrid("under the skin");
}

// An empty row shows its held date greyed, a row with a date shows it in full colour, and back again,
// as drawn: plain, under a skin given before the window first shows (as the program gives it), and
// when a skin comes or is given again, as each polish puts back a control's earlier palette.
TEST_F(Form1Layout, RowDateIsGreyedOnlyWhileTheRowHasNoDate) {
    QFile skin(QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/app/assets/x/o.cjs"));
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromUtf8(skin.readAll());
    const int grey = qGray(QApplication::palette().color(QPalette::Disabled, QPalette::Text).rgb());
    const auto darkestText = [](RowDatePicker* picker) {
        QCoreApplication::processEvents();
        const QImage drawn = picker->findChild<QLineEdit*>()->grab().toImage();
        int darkest = 255;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) darkest = std::min(darkest, qGray(drawn.pixel(x, y)));
        return darkest;
    };
    const auto expectGreyed = [&](RowDatePicker* picker, const char* what) {
        EXPECT_GE(darkestText(picker), grey - 24) << what;
    };
    const auto expectFullColour = [&](RowDatePicker* picker, const char* what) {
        EXPECT_LT(darkestText(picker), 64) << what;
    };
    const auto expectStates = [&](RowDatePicker* picker, const char* when) {
        SCOPED_TRACE(when);
        expectGreyed(picker, "greyed while empty");
        picker->setValue(QDate(2026, 3, 14));
        expectFullColour(picker, "full colour once set");
        picker->setValue(std::nullopt);
        expectGreyed(picker, "greyed again once cleared");
    };

    expectStates(open().DTPicker2[3], "plain");

    form = std::make_unique<Form1>();
    form->setStyleSheet(sheet);
    form->Form_Load();
    form->show();
    RowDatePicker* picker = form->DTPicker2[3];
    expectStates(picker, "under a skin given before the window shows");

    picker->setValue(QDate(2026, 3, 14));
    form->setStyleSheet(sheet + QLatin1Char('\n'));
    expectFullColour(picker, "a set date keeps its colour when the skin is given again");
    picker->setValue(std::nullopt);
    form->setStyleSheet(sheet);
    expectGreyed(picker, "an empty row stays greyed when the skin is given again");

    Form1& plain = open();
    plain.DTPicker2[3]->setValue(QDate(2026, 3, 14));
    darkestText(plain.DTPicker2[3]);
    plain.setStyleSheet(sheet);
    expectFullColour(plain.DTPicker2[3], "a set date keeps its colour when a skin comes");
    expectGreyed(plain.DTPicker2[4], "an empty row stays greyed when a skin comes");
}

}  // namespace
