// The picture box's persistent image: what it holds after any order of colour, picture, resize and
// painting into it, and what the box paints on screen.
#include "app/Twips.h"
#include "PictureBox.h"

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

struct Pixel {
    QPoint at;
    QColor colour;
};

// The image is that large and shows those colours at those pixels.
::testing::AssertionResult Shows(const QImage& image, QSize size, std::initializer_list<Pixel> pixels) {
    if (image.size() != size)
        return ::testing::AssertionFailure() << "the image is " << image.width() << " x " << image.height();
    for (const Pixel& pixel : pixels)
        if (image.pixelColor(pixel.at) != pixel.colour)
            return ::testing::AssertionFailure() << "the pixel at " << pixel.at.x() << ", " << pixel.at.y() << " is "
                                                 << image.pixelColor(pixel.at).name().toStdString();
    return ::testing::AssertionSuccess();
}

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
    EXPECT_TRUE(Shows(box.persistentImage(), QSize(40, 30),
                      {{{19, 9}, Qt::green}, {{20, 9}, Qt::yellow}, {{5, 10}, Qt::yellow}}));
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
    EXPECT_TRUE(Shows(box.persistentImage(), QSize(20, 20), {{{19, 9}, Qt::red}, {{19, 10}, Qt::blue}}));
}

TEST_F(PictureBoxes, ASizingBoxShowsEachNewPictureWholeAndAnEmptyOneTheBackColourAtEverySize) {
    PictureBox& box = this->box(10, 10);
    box.setAutoSize(true);
    box.setBackColour(Qt::blue);
    box.setPicture(Picture(12, 8, Qt::red));
    box.paintPicture(Picture(4, 4, Qt::black), QRectF(0, 0, Twips(4), Twips(4)), QRectF(0, 0, Twips(4), Twips(4)));
    box.setPicture(Picture(30, 20, Qt::green));
    EXPECT_TRUE(Shows(box.persistentImage(), QSize(30, 20), {{{1, 1}, Qt::green}, {{29, 19}, Qt::green}}))
        << "nothing painted before stays";

    box.setAutoSize(false);
    box.setPicture(QImage());
    box.setOuterWidth(0);
    box.setOuterWidth(Twips(25));
    box.setOuterHeight(Twips(35));
    EXPECT_TRUE(Shows(box.persistentImage(), QSize(25, 35), {{{0, 0}, Qt::blue}, {{24, 34}, Qt::blue}}));
}

TEST_F(PictureBoxes, PaintingIntoItStartsFromTheRestartedImage) {
    PictureBox& box = this->box(20, 20);
    box.setPicture(Picture(20, 20, Qt::red));
    box.setBackColour(Qt::green);
    box.setPicture(QImage());
    box.paintPicture(Picture(10, 10, Qt::black), QRectF(0, 0, Twips(5), Twips(5)), QRectF(0, 0, Twips(10), Twips(10)));
    EXPECT_TRUE(Shows(box.persistentImage(), QSize(20, 20), {{{2, 2}, Qt::black}, {{10, 10}, Qt::green}}));
}

TEST_F(PictureBoxes, TheBoxPaintsItsPersistentImageInsideItsBorder) {
    PictureBox& box = this->box(22, 22, PictureBox::Border::FixedSingle);
    box.setBackColour(Qt::blue);
    box.setPicture(Picture(10, 10, Qt::red));
    EXPECT_TRUE(Shows(box.grab().toImage(), QSize(22, 22),
                      {{{1, 1}, Qt::red}, {{10, 10}, Qt::red}, {{11, 11}, Qt::blue}, {{20, 20}, Qt::blue}}));
}

}  // namespace
