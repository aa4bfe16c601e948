// The preview viewer through its real widgets: set-up, zoom, scrollbars, dragging and pointer.
#include "PreviewFixture.h"

#include "app/PointerKinds.h"
#include "PictureBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

// 1111 x 697 px is 16665 x 10455 twips; less Zoom_Ori's border and 2 the base is 16633 x 10423.
constexpr int kLargeW = 1111;
constexpr int kLargeH = 697;

void Click(QPushButton* button, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::mouseClick(button, Qt::LeftButton);
}

void Hover(QWidget* widget, QPoint position) {
    QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

}  // namespace

using Form2Viewer = PreviewFixture;

TEST_F(Form2Viewer, LaysOutTheClientAreaInTwips) {
    EXPECT_EQ(form->objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(form->size(), QSize(656, 626));
    EXPECT_EQ(form->Picture2->geometry(), QRect(8, 8, 622, 495));
    EXPECT_EQ(form->Picture2->innerWidth(), 9300);
    EXPECT_EQ(form->Picture2->innerHeight(), 7395);
    EXPECT_EQ(form->HScroll1->geometry(), QRect(8, 503, 622, 17));
    EXPECT_EQ(form->VScroll1->geometry(), QRect(630, 8, 17, 495));
    EXPECT_EQ(form->PushButton2->geometry(), QRect(320, 20, 304, 27));
    EXPECT_EQ(form->PushButton6->text(), QStringLiteral("Save Results To Excel File"));
    EXPECT_FALSE(form->Zoom_Ori->isVisible());
    for (QScrollBar* bar : {form->HScroll1, form->VScroll1}) {
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 32767);
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->pageStep(), 1);
    }
}

TEST_F(Form2Viewer, SetsUpALargePictureAtFactorOne) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    EXPECT_FLOAT_EQ(form->mZoom, 1.0f);
    EXPECT_EQ(form->mOriW, 16633);
    EXPECT_EQ(form->mOriH, 10423);
    EXPECT_EQ(form->Picture1->outerWidth(), 16633);
    EXPECT_EQ(form->Picture1->outerHeight(), 10423);
    EXPECT_TRUE(form->Picture1->picture().isNull()) << "redrawn as a copy in the persistent image";
    EXPECT_EQ(form->Picture1->persistentImage().pixelColor(1000, 600), QColor(Qt::black));
    // (16633 - 9330) / 10 = 730.3 and (10423 - 7425) / 10 = 299.8
    EXPECT_EQ(form->HScroll1->maximum(), 730);
    EXPECT_EQ(form->VScroll1->maximum(), 300);
    EXPECT_EQ(form->mHStep, 10);
    EXPECT_EQ(form->mVStep, 10);
    EXPECT_TRUE(form->HScroll1->isEnabled());
    EXPECT_TRUE(form->VScroll1->isEnabled());
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Viewer, APictureForAHighResolutionScreenKeepsItsSizeInTwips) {
    // Twice the pixels each way at 192 dpi, as the snapshot of a screen with two device pixels to
    // a pixel is drawn, and read back from its file.
    QImage sharp = QuarteredPicture(2 * kLargeW, 2 * kLargeH);
    sharp.setDotsPerMeterX(7559);
    sharp.setDotsPerMeterY(7559);
    const QString file = folder.filePath(QStringLiteral("temp.bmp"));
    ASSERT_TRUE(sharp.save(file, "BMP"));
    handOver(QImage(file));
    EXPECT_EQ(form->mOriW, 16633);
    EXPECT_EQ(form->mOriH, 10423);
    EXPECT_EQ(form->HScroll1->maximum(), 730);
    EXPECT_EQ(form->VScroll1->maximum(), 300);
    // Zooming works in twips as before and paints the picture's quarters where they belong.
    Click(form->PushButton2);
    EXPECT_EQ(form->Picture1->outerWidth(), 12474);
    const QImage& shown = form->Picture1->persistentImage();
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(820, 10), QColor(Qt::green));
    EXPECT_EQ(shown.pixelColor(820, 510), QColor(Qt::black));
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Viewer, SetsUpASmallPictureWithDisabledBars) {
    handOver(QuarteredPicture(100, 80));
    EXPECT_EQ(form->mOriW, 1468);
    EXPECT_EQ(form->mOriH, 1168);
    EXPECT_FALSE(form->HScroll1->isEnabled());
    EXPECT_FALSE(form->VScroll1->isEnabled());
    EXPECT_EQ(form->mHStep, 0);
    EXPECT_EQ(form->mVStep, 0);
    EXPECT_EQ(form->HScroll1->maximum(), 32767);
}

TEST_F(Form2Viewer, ZoomStopsAtItsLimits) {
    handOver(QuarteredPicture(100, 80));
    Click(form->PushButton1, 8);
    EXPECT_FLOAT_EQ(form->mZoom, 3.0f);
    EXPECT_EQ(form->Picture1->outerWidth(), 4404);
    Click(form->PushButton1);
    EXPECT_FLOAT_EQ(form->mZoom, 3.0f);
    EXPECT_EQ(form->Picture1->outerWidth(), 4404);

    Click(form->PushButton2, 11);
    EXPECT_FLOAT_EQ(form->mZoom, 0.25f);
    EXPECT_EQ(form->mZoomW, 367);
    EXPECT_EQ(form->mZoomH, 292);
    Click(form->PushButton2);
    EXPECT_FLOAT_EQ(form->mZoom, 0.25f);
    EXPECT_EQ(form->Picture1->outerHeight(), 292);
}

TEST_F(Form2Viewer, ZoomBeyondTheSizeLimitResetsTheFactorAndDrawsNothing) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    form->HScroll1->setValue(7);
    const QImage before = form->Picture1->persistentImage();

    Click(form->PushButton1);  // 16633 x 1.25 is beyond 17899 twips
    EXPECT_FLOAT_EQ(form->mZoom, 1.0f);
    EXPECT_EQ(form->mZoomW, 16633);
    EXPECT_EQ(form->Picture1->persistentImage(), before);
    EXPECT_EQ(form->Picture1->left(), -70);
    EXPECT_EQ(form->HScroll1->value(), 7);

    Click(form->PushButton2);  // from the reset factor: 0.75
    EXPECT_FLOAT_EQ(form->mZoom, 0.75f);
    EXPECT_EQ(form->mZoomW, 12474);
    EXPECT_EQ(form->mZoomH, 7817);
    EXPECT_EQ(form->Picture1->left(), 0);
    EXPECT_EQ(form->HScroll1->maximum(), 314) << "the bars fit the zoomed picture: (12474 - 9330) / 10";
}

TEST_F(Form2Viewer, OversizedSnapshotStaysAsHandedOverUntilZoomedOut) {
    handOver(QuarteredPicture(1500, 200));  // 22500 twips wide
    EXPECT_FLOAT_EQ(form->mZoom, 1.0f);
    EXPECT_FALSE(form->Picture1->picture().isNull());
    EXPECT_EQ(form->Picture1->outerWidth(), 22500);
    Click(form->PushButton2);
    EXPECT_TRUE(form->Picture1->picture().isNull());
    EXPECT_EQ(form->mZoomW, 16851);  // floor(22468 x 0.75)
}

TEST_F(Form2Viewer, ScrollbarUnitsMoveThePictureByTheirStep) {
    handOver(QuarteredPicture(628, 500));  // overhangs of 58 and 43 twips: steps of 1
    EXPECT_EQ(form->mHStep, 1);
    EXPECT_EQ(form->HScroll1->maximum(), 58);
    EXPECT_EQ(form->VScroll1->maximum(), 43);
    form->HScroll1->setValue(5);
    form->VScroll1->setValue(43);
    EXPECT_EQ(form->Picture1->left(), -5);
    EXPECT_EQ(form->Picture1->top(), -43);

    form->hide();
    handOver(QuarteredPicture(kLargeW, kLargeH));
    form->HScroll1->setValue(7);
    form->VScroll1->setValue(300);
    EXPECT_EQ(form->Picture1->left(), -70);
    EXPECT_EQ(form->Picture1->top(), -3000);
}

TEST_F(Form2Viewer, ZoomFitsTheBarsToThePictureAndPutsItWhereTheySay) {
    handOver(QuarteredPicture(400, 300));
    ASSERT_FALSE(form->HScroll1->isEnabled());
    Click(form->PushButton1, 4);  // 2.0: 11936 x 8936, wider and higher than the viewport
    EXPECT_TRUE(form->HScroll1->isEnabled());
    EXPECT_EQ(form->HScroll1->maximum(), 261);
    EXPECT_EQ(form->mHStep, 10);
    form->HScroll1->setValue(5);
    EXPECT_EQ(form->Picture1->left(), -50);

    // Dragged to the bottom right, then zoomed out: the picture goes back to the top left with the bars.
    drag(Qt::LeftButton, QPoint(10, 10), {QPoint(-2000, -2000)});
    EXPECT_EQ(form->HScroll1->value(), 261);
    EXPECT_EQ(form->Picture1->left(), -2610);
    EXPECT_EQ(form->Picture1->top(), -10 * form->VScroll1->value());
    Click(form->PushButton2);
    EXPECT_EQ(form->Picture1->left(), 0);
    EXPECT_EQ(form->Picture1->top(), 0);
    EXPECT_EQ(form->HScroll1->value(), 0);
    EXPECT_EQ(form->VScroll1->value(), 0);
}

TEST_F(Form2Viewer, HugePictureKeepsScrollOffsetsWithinSixteenBits) {
    handOver(QuarteredPicture(3000, 200));  // overhang 35670 twips
    EXPECT_EQ(form->mHStep, 10);
    EXPECT_LE(form->mHStep * form->HScroll1->maximum(), 32767);
    form->HScroll1->setValue(form->HScroll1->maximum());
    EXPECT_EQ(form->Picture1->left(), -32760);
}

TEST_F(Form2Viewer, DraggingPansWithinTheViewportAndReleaseSyncsTheBars) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    QTest::mousePress(form->Picture1, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(form->Picture1, QPoint(40, 70));
    EXPECT_EQ(form->Picture1->left(), -900);
    EXPECT_EQ(form->Picture1->top(), -450);
    EXPECT_EQ(form->HScroll1->value(), 0) << "dragging never touches the bars";

    QTest::mouseMove(form->Picture1, QPoint(-1000, -1000));
    EXPECT_EQ(form->Picture1->left(), 9300 - 16633);
    EXPECT_EQ(form->Picture1->top(), 7395 - 10423);
    QTest::mouseRelease(form->Picture1, Qt::LeftButton, Qt::NoModifier, QPoint(-1000, -1000));
    // 7333 / 7303 is 100 %: the bar's end; 3028 / 2998 is 101 %, past the end: the end too.
    EXPECT_EQ(form->HScroll1->value(), 730);
    EXPECT_EQ(form->Picture1->left(), -7300);
    EXPECT_EQ(form->VScroll1->value(), 300);
    EXPECT_EQ(form->Picture1->top(), -3000);

    drag(Qt::LeftButton, QPoint(10, 10), {QPoint(2000, 2000)});
    EXPECT_EQ(form->Picture1->left(), 0);
    EXPECT_EQ(form->Picture1->top(), 0);
    EXPECT_EQ(form->HScroll1->value(), 0);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Viewer, ReleaseSettlesOnTheNearestWholePercent) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    drag(Qt::LeftButton, QPoint(1, 1), {QPoint(-242, 1)});  // left -3645 is 49.9 %
    EXPECT_EQ(form->HScroll1->value(), 365);
    EXPECT_EQ(form->Picture1->left(), -3650);
}

TEST_F(Form2Viewer, RightAndMiddleButtonsPanLikeTheLeft) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    QTest::mousePress(form->Picture1, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(form->Picture1, QPoint(40, 70));
    EXPECT_EQ(form->Picture1->left(), -900);
    QTest::mouseRelease(form->Picture1, Qt::RightButton, Qt::NoModifier, QPoint(40, 70));
    EXPECT_EQ(form->HScroll1->value(), 88);  // 12 % of 730

    QTest::mousePress(form->Picture1, Qt::MiddleButton, Qt::NoModifier, QPoint(1, 1));
    QTest::mouseMove(form->Picture1, QPoint(1, -19));
    EXPECT_EQ(form->Picture1->top(), -750);
    QTest::mouseRelease(form->Picture1, Qt::MiddleButton, Qt::NoModifier, QPoint(1, -19));
}

TEST_F(Form2Viewer, NarrowPictureIsPinnedWhileDraggedAndSettlesWhereTheBarsSay) {
    handOver(QuarteredPicture(100, 80));
    form->HScroll1->setValue(9);
    QTest::mousePress(form->Picture1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(form->Picture1, QPoint(10, 10));
    EXPECT_EQ(form->Picture1->left(), 9300 - 1468);
    EXPECT_EQ(form->Picture1->top(), 7395 - 1168);
    QTest::mouseRelease(form->Picture1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(form->HScroll1->value(), 9) << "a negative percentage changes nothing";
    EXPECT_EQ(form->Picture1->left(), 0) << "a bar without a step holds the picture at 0";
    EXPECT_EQ(form->Picture1->top(), 0);

    drag(Qt::LeftButton, QPoint(10, 10), {QPoint(20, 20)});
    EXPECT_EQ(form->Picture1->left(), 0);
    EXPECT_EQ(form->HScroll1->value(), 0) << "0 % sets the bar to 0";
}

TEST_F(Form2Viewer, ReleaseWithPictureAsHighAsTheViewportLeavesThatBar) {
    handOver(QuarteredPicture(300, 285));  // base height 4243; at 1.75 exactly 7425 twips
    Click(form->PushButton1, 3);
    ASSERT_EQ(form->Picture1->outerHeight(), form->Picture2->outerHeight());
    EXPECT_FALSE(form->VScroll1->isEnabled()) << "no higher than the viewport: the bar is not needed";
    form->VScroll1->setValue(3);
    QTest::mousePress(form->Picture1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(form->Picture1, QPoint(10, 0));
    EXPECT_EQ(form->Picture1->top(), -30);
    QTest::mouseRelease(form->Picture1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 0));
    EXPECT_EQ(form->VScroll1->value(), 3);
    EXPECT_EQ(form->Picture1->top(), 0);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Viewer, PercentOperationsIgnoreNegativeAndBeyondMaximum) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    for (QScrollBar* bar : {form->HScroll1, form->VScroll1}) {
        const auto set = [&](int16_t percent) {
            bar == form->HScroll1 ? form->SetHScrollbarByPercent(bar, percent)
                                  : form->SetVScrollbarByPercent(bar, percent);
        };
        bar->setMaximum(500);
        bar->setValue(123);
        set(-1);
        EXPECT_EQ(bar->value(), 123);
        set(101);
        EXPECT_EQ(bar->value(), 123);
        set(100);
        EXPECT_EQ(bar->value(), 500);
        set(0);
        EXPECT_EQ(bar->value(), 0);
    }
}

TEST_F(Form2Viewer, SecondHandOverStartsAgainFromTheNewPicture) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    Click(form->PushButton2, 2);
    form->hide();

    handOver(QuarteredPicture(400, 300));
    EXPECT_FLOAT_EQ(form->mZoom, 1.0f);
    EXPECT_EQ(form->mOriW, 5968);
    EXPECT_EQ(form->Picture1->outerWidth(), 5968);
    EXPECT_EQ(form->Picture1->left(), 0);
    EXPECT_FALSE(form->HScroll1->isEnabled());
    Click(form->PushButton1, 4);
    EXPECT_EQ(form->Picture1->outerWidth(), 11936);
    EXPECT_EQ(form->Picture1->persistentImage().pixelColor(780, 580), QColor(Qt::black));
}

TEST_F(Form2Viewer, HandOverWithoutPictureShowsAnEmptyViewport) {
    handOver(QImage());
    EXPECT_EQ(form->Picture1->outerWidth(), 0);
    Click(form->PushButton1);
    Click(form->PushButton2, 2);
    EXPECT_EQ(form->Picture1->outerWidth(), 0);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Viewer, PointerFollowsButtonsBackgroundAndFrame) {
    handOver(QuarteredPicture(kLargeW, kLargeH));
    Hover(form->PushButton1, QPoint(5, 5));
    EXPECT_EQ(form->pointer().kind(), kPointerCustom);
    Hover(form->Picture2, QPoint(5, 5));
    Hover(form->HScroll1, QPoint(5, 5));
    EXPECT_EQ(form->pointer().kind(), kPointerCustom) << "viewport and bars leave it";
    Hover(form->Frame1, QPoint(2, 40));
    EXPECT_EQ(form->pointer().kind(), kPointerDefault);
    Hover(form->PushButton8, QPoint(5, 5));
    EXPECT_EQ(form->pointer().kind(), kPointerCustom);
    Hover(form.get(), QPoint(2, 2));
    EXPECT_EQ(form->pointer().kind(), kPointerDefault);

    form->pointer().setKind(kPointerHourglass);
    Hover(form->PushButton6, QPoint(5, 5));
    Hover(form.get(), QPoint(2, 2));
    EXPECT_EQ(form->pointer().kind(), kPointerHourglass);
}
