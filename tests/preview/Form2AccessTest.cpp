// The preview for keyboard, wheel and screen-reader users: Enter presses the focused button, keys
// and the wheel zoom and scroll through the buttons' and bars' own procedures, every control has
// a name, and the title bar offers no maximise.
#include "PreviewFixture.h"

#include "PictureBox.h"
#include "SaveDialog.h"
#include "support/AccessibleNames.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

namespace {

// 700 x 560 px: base 10468 x 8368 twips, 1138 and 943 twips more than the viewport, so both bars
// move the picture 10 twips a unit (maxima 114 and 94); at 1.25 it still fits the zoom limits.
constexpr int kPictureW = 700;
constexpr int kPictureH = 560;
// 2000 x 2000 px: too large to redraw, so shown as handed over at 30000 twips a side, 2067 and
// 2258 units of 10 twips more than the viewport.
constexpr int kTallW = 2000;
constexpr int kTallH = 2000;

void Wheel(QWidget* widget, QPoint delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF centre = widget->rect().center();
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), delta, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                      false);
    // As from the window system, so that it travels up from the widget under the pointer.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::sendEvent(widget, &wheel);
}

}  // namespace

class Form2Access : public PreviewFixture {
protected:
    // A handed-over picture in an active window, so that its keys reach it.
    void openWith(const QImage& picture) {
        handOver(picture);
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), Qt::Key(key),
                        modifiers);
    }
};

TEST_F(Form2Access, TheTitleBarOffersOnlyWhatTheWindowCanDo) {
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(Form2Access, EnterPressesTheFocusedButton) {
    openWith(QuarteredPicture(kPictureW, kPictureH));
    form->PushButton1->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(form->mZoom, 1.25f);
    form->PushButton2->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form->mZoom, 1.0f);
    int dialogs = 0;
    SetSaveDialogHandler([&](QWidget*, const QString&, const QString&) {
        ++dialogs;
        return QString();
    });
    form->PushButton6->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(notices(), QStringList{"Done."});
    form->PushButton8->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    EXPECT_FALSE(form->isVisible()) << "< Back hides the preview";
}

TEST_F(Form2Access, AltAndAButtonsLetterPressItFromAnywhere) {
    openWith(QuarteredPicture(kPictureW, kPictureH));
    key(Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(form->mZoom, 1.25f);
    key(Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(form->mZoom, 1.0f);
    int dialogs = 0;
    SetSaveDialogHandler([&](QWidget*, const QString&, const QString&) {
        ++dialogs;
        return QString();
    });
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(dialogs, 1);
    key(Qt::Key_B, Qt::AltModifier);
    EXPECT_FALSE(form->isVisible()) << "< Back hides the preview";
    EXPECT_EQ(form->PushButton8->text(), "< Back") << "the caption reads as it did";
}

TEST_F(Form2Access, EveryPreviewOpensOnThePictureWhereReturnAndSpacePressNothing) {
    QWidget entryWindow;
    entryWindow.setObjectName(QStringLiteral("Form1"));
    openWith(QuarteredPicture(kPictureW, kPictureH));
    EXPECT_EQ(form->focusWidget(), form->Picture2);
    form->PushButton8->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    ASSERT_FALSE(form->isVisible());

    openWith(QuarteredPicture(kPictureW, kPictureH));
    ASSERT_EQ(form->focusWidget(), form->Picture2) << "not the \"< Back\" used last time";
    QTest::keyClick(form->Picture2, Qt::Key_Return);
    QTest::keyClick(form->Picture2, Qt::Key_Space);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->mZoom, 1.0f);
    EXPECT_TRUE(notices().isEmpty());
}

TEST_F(Form2Access, PlusAndMinusZoomAsTheButtonsDo) {
    openWith(QuarteredPicture(kPictureW, kPictureH));
    key(Qt::Key_Plus);
    EXPECT_EQ(form->mZoom, 1.25f);
    EXPECT_EQ(form->Picture1->outerWidth(), 13085);
    key(Qt::Key_Minus);
    EXPECT_EQ(form->mZoom, 1.0f);
    key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(form->mZoom, 0.75f);
    key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(form->mZoom, 1.0f);
    // The buttons' limits hold for the keys: 1.5 would be too large, so the factor returns to 1.0.
    key(Qt::Key_Plus);
    key(Qt::Key_Plus);
    EXPECT_EQ(form->mZoom, 1.0f);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Access, KeysMoveLinesPagesAndEndsWhicheverControlHasTheFocus) {
    openWith(QuarteredPicture(kTallW, kTallH));
    ASSERT_EQ(form->HScroll1->maximum(), 2067);
    ASSERT_EQ(form->VScroll1->maximum(), 2258);
    for (QWidget* focus : {static_cast<QWidget*>(form->PushButton6), static_cast<QWidget*>(form->PushButton1)}) {
        focus->setFocus(Qt::TabFocusReason);
        SCOPED_TRACE(focus->objectName().toStdString());
        // A line is a row of the sheet, 342 twips: 34 units of 10 twips.
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        key(Qt::Key_Left);
        EXPECT_EQ(form->HScroll1->value(), 68);
        EXPECT_EQ(form->Picture1->left(), -680);
        key(Qt::Key_Down);
        key(Qt::Key_PageDown);
        EXPECT_EQ(form->VScroll1->value(), 34 + 740) << "a page is the viewport's 7395 twips";
        key(Qt::Key_Up);
        EXPECT_EQ(form->Picture1->top(), -7400);
        key(Qt::Key_End);
        EXPECT_EQ(form->VScroll1->value(), 2258);
        key(Qt::Key_PageUp);
        EXPECT_EQ(form->VScroll1->value(), 2258 - 740);
        key(Qt::Key_Home);
        EXPECT_EQ(form->Picture1->top(), 0);
        // Shift turns Home, End and the pages sideways; Ctrl+Home and Ctrl+End go to the corners.
        key(Qt::Key_End, Qt::ShiftModifier);
        EXPECT_EQ(form->Picture1->left(), -20670);
        key(Qt::Key_PageUp, Qt::ShiftModifier);
        EXPECT_EQ(form->HScroll1->value(), 2067 - 930);
        key(Qt::Key_Home, Qt::ShiftModifier);
        EXPECT_EQ(form->HScroll1->value(), 0);
        key(Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(form->Picture1->left(), -20670);
        EXPECT_EQ(form->Picture1->top(), -22580);
        key(Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(form->Picture1->left(), 0);
        EXPECT_EQ(form->Picture1->top(), 0);
        key(Qt::Key_Left);
        EXPECT_EQ(form->Picture1->left(), 0) << "the picture stops at its edge";
        EXPECT_EQ(QApplication::focusWidget(), focus);
    }
    // A line follows the zoom: at 0.75 it is 256.5 twips.
    form->hide();
    openWith(QuarteredPicture(1111, 697));
    key(Qt::Key_Minus);
    ASSERT_EQ(form->mZoom, 0.75f);
    key(Qt::Key_Down);
    EXPECT_EQ(form->VScroll1->value(), 26);
}

TEST_F(Form2Access, KeysLeaveABarThePictureDoesNotNeed) {
    openWith(QuarteredPicture(300, 200));
    ASSERT_FALSE(form->HScroll1->isEnabled());
    const int value = form->HScroll1->value();
    key(Qt::Key_Right);
    key(Qt::Key_End);
    EXPECT_EQ(form->HScroll1->value(), value);
    EXPECT_EQ(form->Picture1->left(), 0);
    EXPECT_EQ(form->Picture1->top(), 0);
}

TEST_F(Form2Access, TheWheelScrollsAndCtrlWheelZooms) {
    openWith(QuarteredPicture(kTallW, kTallH));
    // A notch is the desktop's wheel lines (three unless set otherwise), each a row of 342 twips.
    const int notch = int(std::lround(QApplication::wheelScrollLines() * 34.2));
    Wheel(form->Picture1, {0, -120});
    EXPECT_EQ(form->VScroll1->value(), notch);
    EXPECT_EQ(form->Picture1->top(), -10 * notch);
    Wheel(form->Picture1, {0, -120}, Qt::ShiftModifier);
    Wheel(form->Picture1, {-120, 0});
    EXPECT_EQ(form->HScroll1->value(), 2 * notch);
    Wheel(form->HScroll1, {0, -120});
    EXPECT_EQ(form->HScroll1->value(), 3 * notch) << "over the horizontal bar the wheel moves sideways";
    Wheel(form->VScroll1, {0, 120});
    EXPECT_EQ(form->VScroll1->value(), 0) << "over a bar the wheel moves as over the picture";
    EXPECT_EQ(form->Picture1->top(), 0);

    form->hide();
    openWith(QuarteredPicture(kPictureW, kPictureH));
    Wheel(form->Picture1, {0, 120}, Qt::ControlModifier);
    EXPECT_EQ(form->mZoom, 1.25f);
    EXPECT_EQ(form->VScroll1->value(), 0) << "the redraw puts the bars back to 0";
    // A touchpad's half notches zoom once a whole notch has come together.
    Wheel(form->Picture1, {0, -60}, Qt::ControlModifier);
    EXPECT_EQ(form->mZoom, 1.25f);
    Wheel(form->Picture1, {0, -60}, Qt::ControlModifier);
    EXPECT_EQ(form->mZoom, 1.0f);
}

TEST_F(Form2Access, EveryFocusableControlHasItsOwnName) {
    openWith(QuarteredPicture(kPictureW, kPictureH));
    const std::set<QString> names = ExpectFocusableControlsNamedOnce(form.get());
    EXPECT_GE(names.size(), 4u);
    for (const char* caption : {"Zoom In", "Zoom Out", "< Back", "Save Results To Excel File"})
        EXPECT_TRUE(names.count(QString::fromUtf8(caption))) << caption;
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(form->Picture2)->text(QAccessible::Name).isEmpty());
}
