// The picture box's persistent image: what it holds after any order of colour, picture, resize and
// painting into it, and what the box paints on screen.
#include "app/Twips.h"
#include "preview/PictureBox.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QImage Picture(int width, int height, const QColor& colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

int Twips(int pixels) { return pixels * kTwipsPerPixel; }

class PictureBoxes : public ::testing::Test {
protected:
    // A box of that many pixels in the test's window.
    PictureBox& box(int width, int height, PictureBox::Border border = PictureBox::Border::None) {
        auto* made = new PictureBox(border, &window);
        made->setOuterWidth(Twips(width));
        made->setOuterHeight(Twips(height));
        return *made;
    }

    QWidget window;
};

TEST_F(PictureBoxes, ThePersistentImageIsTheLastColourAndPictureWhateverCameBetween) {
    PictureBox& box = this->box(40, 30);
    box.setPicture(Picture(10, 10, Qt::red));
    box.setBackColour(Qt::blue);
    box.setPicture(Picture(20, 10, Qt::green));
    box.setBackColour(Qt::yellow);
    const QImage& image = box.persistentImage();
    ASSERT_EQ(image.size(), QSize(40, 30));
    EXPECT_EQ(image.pixelColor(19, 9), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(20, 9), QColor(Qt::yellow));
    EXPECT_EQ(image.pixelColor(5, 10), QColor(Qt::yellow));
}

TEST_F(PictureBoxes, AResizeKeepsWhatWasShownAndFillsTheNewAreaWithTheBackColour) {
    PictureBox& box = this->box(10, 10);
    box.setBackColour(Qt::blue);
    // Larger than the box: only the part the box held before the resize stays.
    box.setPicture(Picture(30, 30, Qt::red));
    box.setOuterWidth(Twips(20));
    box.setBackColour(Qt::white);
    box.setPicture(Picture(30, 30, Qt::red));
    box.setBackColour(Qt::blue);
    box.setOuterHeight(Twips(20));
    const QImage& image = box.persistentImage();
    ASSERT_EQ(image.size(), QSize(20, 20));
    EXPECT_EQ(image.pixelColor(19, 9), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(19, 10), QColor(Qt::blue));
}

TEST_F(PictureBoxes, ASizingBoxShowsEachNewPictureWholeAndAnEmptyOneTheBackColourAtEverySize) {
    PictureBox& box = this->box(10, 10);
    box.setAutoSize(true);
    box.setBackColour(Qt::blue);
    box.setPicture(Picture(12, 8, Qt::red));
    box.paintPicture(Picture(4, 4, Qt::black), QRectF(0, 0, Twips(4), Twips(4)), QRectF(0, 0, Twips(4), Twips(4)));
    box.setPicture(Picture(30, 20, Qt::green));
    ASSERT_EQ(box.persistentImage().size(), QSize(30, 20));
    EXPECT_EQ(box.persistentImage().pixelColor(1, 1), QColor(Qt::green)) << "nothing painted before stays";
    EXPECT_EQ(box.persistentImage().pixelColor(29, 19), QColor(Qt::green));

    box.setAutoSize(false);
    box.setPicture(QImage());
    box.setOuterWidth(0);
    box.setOuterWidth(Twips(25));
    box.setOuterHeight(Twips(35));
    const QImage& image = box.persistentImage();
    ASSERT_EQ(image.size(), QSize(25, 35));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(24, 34), QColor(Qt::blue));
}

TEST_F(PictureBoxes, PaintingIntoItStartsFromTheRestartedImage) {
    PictureBox& box = this->box(20, 20);
    box.setPicture(Picture(20, 20, Qt::red));
    box.setBackColour(Qt::green);
    box.setPicture(QImage());
    box.paintPicture(Picture(10, 10, Qt::black), QRectF(0, 0, Twips(5), Twips(5)), QRectF(0, 0, Twips(10), Twips(10)));
    const QImage& image = box.persistentImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::green));
}

TEST_F(PictureBoxes, TheBoxPaintsItsPersistentImageInsideItsBorder) {
    PictureBox& box = this->box(22, 22, PictureBox::Border::FixedSingle);
    box.setBackColour(Qt::blue);
    box.setPicture(Picture(10, 10, Qt::red));
    const QImage shown = box.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(22, 22));
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(11, 11), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(20, 20), QColor(Qt::blue));
}

}  // namespace
