// Vertical panning of the page image in tenths of its height, in twips (single precision, as
// the page image keeps its place).
#pragma once

namespace cvx::pan {

inline constexpr float kTopPosition = 15; // the image's top position, just inside the area

// Length of one pan step: a tenth of the image's height.
[[nodiscard]] float stepHeight(double imageHeight);

// Where a pan step leaves the image, the step count and the two band zones.
struct Move {
    float top;        // the image's new Top
    int step;         // steps moved up from the top position after the move
    bool upEnabled;   // zone 2, moving the image up
    bool downEnabled; // zone 3, moving it down
};

// One step up from `step` (a negative count is taken as 0) with the image at `top`: a full step
// while the image's lower edge stays below the area's lower edge (limit = areaHeight -
// imageHeight), otherwise the last partial step to that limit, counted like a full one; at the
// limit already, nothing moves and the count stays.
[[nodiscard]] Move up(int step, double top, double imageHeight, double areaHeight);

// One step down from `step` (negative taken as 0): back to the regular position of one step
// fewer, never above the top position; at the top already, the image stays there and the down
// band is switched off.
[[nodiscard]] Move down(int step, double imageHeight);

} // namespace cvx::pan
