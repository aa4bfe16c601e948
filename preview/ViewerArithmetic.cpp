#include "ViewerArithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kInt16Max = std::numeric_limits<int16_t>::max();
constexpr int kInt16Min = std::numeric_limits<int16_t>::min();
constexpr float kFineOverhang = 100.0f;
constexpr int16_t kFineStep = 1;
constexpr int16_t kCoarseStep = 10;

int16_t Saturate16(double value) { return static_cast<int16_t>(std::clamp<double>(value, kInt16Min, kInt16Max)); }

}  // namespace

ScrollbarSetting ScrollbarFor(int pictureOuter, int viewportOuter) {
    if (pictureOuter <= viewportOuter) return {};
    const float overhang = static_cast<float>(pictureOuter - viewportOuter);
    if (overhang <= kFineOverhang) return {true, static_cast<int>(std::nearbyint(overhang)), kFineStep};
    // Larger maxima would let step x value leave the 16-bit range; such a picture can still be
    // dragged all the way.
    const int maximum = static_cast<int>(std::nearbyint(overhang / static_cast<float>(kCoarseStep)));
    return {true, std::min(maximum, kInt16Max / kCoarseStep), kCoarseStep};
}

int16_t ScrolledOffset(int16_t step, int value) { return Saturate16(-(static_cast<double>(step) * value)); }

float PannedOffset(float proposed, int viewportInner, int pictureOuter) {
    const float farthest = static_cast<float>(viewportInner - pictureOuter);
    if (proposed > 0.0f) return 0.0f;
    if (farthest > proposed) return farthest;
    return proposed;
}

std::optional<int16_t> ReleasePercent(int offset, int pictureOuter, int viewportOuter) {
    if (pictureOuter == viewportOuter) return std::nullopt;
    const float percent =
        static_cast<float>(std::abs(offset)) / static_cast<float>(pictureOuter - viewportOuter) * 100.0f;
    return Saturate16(std::nearbyint(percent));
}

std::optional<int> ValueForPercent(int16_t percent, int maximum) {
    if (percent < 0) return std::nullopt;
    const double position = percent / 100.0 * maximum;
    if (position > maximum) return std::nullopt;
    return static_cast<int>(std::nearbyint(position));
}
