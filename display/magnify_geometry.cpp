// Magnified and reduced sizes of the page.
#include "display/magnify_geometry.h"

#include "display/fit_geometry.h"

#include <algorithm>

namespace cvx::magnify {

namespace {
Fit withScale(double w0, double h0, float widthRatio, float heightRatio, float scale) {
    scale = std::max(scale, 1.0f);
    return {widthRatio, heightRatio, scale, w0 / scale, h0 / scale};
}

float widthRatioOf(double w0, double areaWidth) {
    return static_cast<float>(w0 / (areaWidth - fit::kBorderAllowance));
}

float heightRatioOf(double h0, double areaHeight) {
    return static_cast<float>(h0 / (areaHeight - fit::kBorderAllowance));
}
} // namespace

Fit magnified(double w0, double h0, double areaWidth, double areaHeight) {
    const float wr = widthRatioOf(w0, areaWidth);
    const float hr = heightRatioOf(h0, areaHeight);
    return withScale(w0, h0, wr, hr, wr);
}

Fit reduced(double w0, double h0, double areaWidth, double areaHeight) {
    const float wr = widthRatioOf(w0, areaWidth);
    const float hr = heightRatioOf(h0, areaHeight);
    return withScale(w0, h0, wr, hr, hr > wr ? hr : wr);
}

double restingTop(double areaHeight, double imageHeight) {
    return areaHeight - imageHeight;
}

} // namespace cvx::magnify
