// Pointer kinds by their customary numbers: 0 the default arrow, 11 the hourglass, 99 our own cursor.
#pragma once

inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;
inline constexpr int kPointerCustom = 99;
