// The preview's scrollbar and panning arithmetic, in twips, one axis at a time.
#pragma once

#include <cstdint>
#include <optional>

// What SetupScrollbars gives one bar: a picture that fits leaves the bar disabled with its maximum
// as it was; otherwise one unit moves the picture 1 twip (overhang up to 100) or 10 twips.
struct ScrollbarSetting {
    bool enabled = false;
    std::optional<int> maximum;
    int16_t step = 0;
};

ScrollbarSetting ScrollbarFor(int pictureOuter, int viewportOuter);

// The picture offset for a bar value, formed as a 16-bit integer; it never leaves that range.
int16_t ScrolledOffset(int16_t step, int value);

// A dragged offset kept within bounds: never right of 0, never further left than needed to
// bring the picture's far edge to the viewport's inner edge (tested in that order).
float PannedOffset(float proposed, int viewportInner, int pictureOuter);

// How far along its travel the picture is, in whole percent; nullopt when picture and viewport
// have the same outer size, where no percentage exists.
std::optional<int16_t> ReleasePercent(int offset, int pictureOuter, int viewportOuter);

// The bar value for a percentage of the maximum; nullopt for a negative percentage or a position
// beyond the maximum.
std::optional<int> ValueForPercent(int16_t percent, int maximum);
