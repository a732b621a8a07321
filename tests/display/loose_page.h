// A window with a picture in its working image and no volume behind it: enough for the
// magnifier, the panning and the hot zones, which work on the working image alone.
#pragma once

#include "app/bookform.h"
#include "tests/support/test_volume.h"

#include <QTemporaryDir>
#include <array>
#include <memory>

namespace cvx::test {

struct LoosePage {
    // A 9030 x 7030 viewing area at Top 365, the working image a JPEG of `pixels`, shown
    // reduced (the fitted view of the magnifier) and the window shown.
    explicit LoosePage(QSize pixels = QSize(800, 1200));
    void writeWorkImage(const QByteArray& bytes) const;
    // The uppermost control of the viewing area that takes the mouse at a point in twips.
    [[nodiscard]] QWidget* zoneAt(double left, double top) const;
    // A left click at a point of the viewing area in twips, on whatever takes it there.
    void clickAt(double left, double top) const;

    FakePlatform platform;
    QTemporaryDir dir;
    std::unique_ptr<BookForm> form;
};

// Index of the hot zone whose widget is `w`, or -1.
[[nodiscard]] int zoneIndex(const BookForm& form, const QWidget* w);

// The enabled state of the eight hot zones, in order.
using Zones = std::array<bool, 8>;
[[nodiscard]] Zones zonesEnabled(const BookForm& form);

} // namespace cvx::test
