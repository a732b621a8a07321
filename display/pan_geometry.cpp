// Pan steps: regular positions 15 - k x step height, the bottom limit, and the band zones.
#include "display/pan_geometry.h"

#include <algorithm>

namespace cvx::pan {

float stepHeight(double imageHeight) {
    return static_cast<float>(imageHeight / 10);
}

Move up(int step, double top, double imageHeight, double areaHeight) {
    step = std::max(step, 0);
    const float height = stepHeight(imageHeight);
    const auto next = static_cast<float>(kTopPosition - (step + 1) * double(height));
    const auto limit = static_cast<float>(areaHeight - imageHeight);
    if (limit < next)
        return {next, step + 1, true, true};
    if (static_cast<float>(top) == limit)
        return {limit, step, false, true};
    return {limit, step + 1, false, true};
}

Move down(int step, double imageHeight) {
    step = std::max(step, 0);
    if (step == 0)
        return {kTopPosition, 0, true, false};
    --step;
    const float height = stepHeight(imageHeight);
    const auto top = static_cast<float>(kTopPosition - step * double(height));
    return {std::min(top, kTopPosition), step, true, true};
}

} // namespace cvx::pan
