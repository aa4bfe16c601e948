// Every control of the preview window at the rectangle its design gives in twips, read back from the
// real widgets: a change of the geometry code must not move a single one.
#include "PreviewFixture.h"

#include "PictureBox.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

namespace {

// 15 twips to a pixel; whole twips never fall on half a pixel.
int NearestPixel(int twips) { return (twips + 7) / 15; }

QRect Pixels(int left, int top, int width, int height) {
    return {NearestPixel(left), NearestPixel(top), NearestPixel(width), NearestPixel(height)};
}

}  // namespace

using Form2Geometry = PreviewFixture;

TEST_F(Form2Geometry, EveryControlStandsAtItsDesignedRectangle) {
    EXPECT_EQ(form->size(), Pixels(0, 0, 9840, 9390).size());
    const std::vector<std::pair<const char*, std::pair<QWidget*, QRect>>> controls{
        {"Picture2", {form->Picture2, Pixels(120, 120, 9330, 7425)}},
        {"VScroll1", {form->VScroll1, Pixels(9450, 120, 255, 7425)}},
        {"HScroll1", {form->HScroll1, Pixels(120, 7545, 9330, 255)}},
        {"Frame1", {form->Frame1, Pixels(120, 7860, 9600, 855)}},
        {"PushButton1", {form->PushButton1, Pixels(240, 300, 4440, 405)}},
        {"PushButton2", {form->PushButton2, Pixels(4800, 300, 4560, 405)}},
        {"PushButton8", {form->PushButton8, Pixels(120, 8850, 4680, 405)}},
        {"PushButton6", {form->PushButton6, Pixels(4920, 8850, 4800, 405)}},
    };
    for (const auto& [name, control] : controls) EXPECT_EQ(control.first->geometry(), control.second) << name;
    EXPECT_EQ(form->PushButton1->parentWidget(), form->Frame1);
    EXPECT_EQ(form->PushButton2->parentWidget(), form->Frame1);
    EXPECT_EQ(form->Zoom_Ori->pos(), QPoint(NearestPixel(10320), NearestPixel(480)));
    EXPECT_EQ(form->Picture1->pos(), QPoint(0, 0));
}
