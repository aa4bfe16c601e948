// Pointer kinds as the described platform numbers them.
#pragma once

inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;
inline constexpr int kPointerCustom = 99;
