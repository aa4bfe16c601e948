// Reader of Windows cursor files (.cur): the first image with its hotspot. Free of Qt so that it
// can be fuzzed on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct CursorImage {
    int width = 0;
    int height = 0;
    int hotspotX = 0;
    int hotspotY = 0;
    std::vector<uint32_t> argb;  // width * height pixels, top row first, 0xAARRGGBB
};

// nullopt for anything that is not a readable cursor file.
std::optional<CursorImage> ParseCursorFile(std::span<const uint8_t> bytes);
