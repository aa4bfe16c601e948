// Geometry of the preview window, kept in twips as designed.
#pragma once

#include "app/Twips.h"

namespace form2_layout {

inline constexpr int kClientWidth = 9840;
inline constexpr int kClientHeight = 9390;

inline constexpr TwipsRect kPicture2{120, 120, 9330, 7425};
inline constexpr TwipsRect kVScroll1{9450, 120, 255, 7425};
inline constexpr TwipsRect kHScroll1{120, 7545, 9330, 255};
inline constexpr TwipsRect kFrame1{120, 7860, 9600, 855};
inline constexpr TwipsRect kPushButton8{120, 8850, 4680, 405};
inline constexpr TwipsRect kPushButton6{4920, 8850, 4800, 405};

// Inside Frame1.
inline constexpr TwipsRect kPushButton1{240, 300, 4440, 405};
inline constexpr TwipsRect kPushButton2{4800, 300, 4560, 405};

// Outside the client area: never seen, it only keeps the snapshot at 1:1.
inline constexpr int kZoomOriLeft = 10320;
inline constexpr int kZoomOriTop = 480;

}  // namespace form2_layout
