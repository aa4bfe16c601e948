// A picture box as a screen reader finds it: one that shows a picture is a named image of that
// picture's size and place; one whose client area holds other boxes (the viewport) is a panel.
#pragma once

// Before a screen reader first asks about a picture box; safe to call more than once.
void ExposePictureBoxes();
