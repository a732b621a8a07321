// The zoom's state, its steps and the decoding of the part in view.
#include "display/zoom_control.h"

#include <cstdlib>

namespace cvx {

namespace {
// Around what is in view, a quarter of the view each way is decoded, for dragging.
constexpr double kMargin = 0.25;
// Scales this close are one.
constexpr double kSame = 1e-9;

// The scan pixels any part of which is in view, within a scan of `scan` pixels.
QRect inView(const zoom::Layout& layout, QSizeF view, QSize scan) {
    return zoom::visibleRect(layout, view).toAlignedRect() & QRect(QPoint(0, 0), scan);
}
} // namespace

Zoom::Zoom(ScanView& view) : view_(view) {
    decoder_.setMaxThreadCount(1); // one part of one scan at a time
}

Zoom::~Zoom() {
    decoder_.waitForDone();
}

bool Zoom::start(const ZoomStart& page) {
    const double presentation = page.shown.width() / page.scan.width();
    if (zoom::scaleIn(presentation) <= presentation + kSame)
        return false; // shown at the largest scale already
    end();
    active_ = true;
    presentation_ = presentation;
    scan_ = page.scan;
    bytes_ = page.bytes;
    view_.setBase(page.painted, page.scan);
    view_.setLayout({page.shown.topLeft(), presentation});
    view_.setVisible(true);
    return true;
}

void Zoom::zoomBy(int steps, QPointF anchor) {
    if (!active_)
        return;
    zoom::Layout layout = view_.layout();
    for (int i = 0; i < std::abs(steps); ++i) {
        const double scale =
            steps > 0 ? zoom::scaleIn(layout.scale) : zoom::scaleOut(layout.scale, presentation_);
        if (scale <= presentation_ + kSame)
            return end();
        layout = zoom::zoomedAbout(layout, scale, anchor);
    }
    show(layout);
}

void Zoom::pan(QPointF delta) {
    if (active_)
        show({view_.layout().origin + delta, view_.layout().scale});
}

void Zoom::end() {
    if (!active_)
        return;
    active_ = false;
    ++session_; // a region still coming is dropped
    bytes_.clear();
    whole_ = {};
    answered_.reset();
    damaged_ = false;
    view_.setVisible(false);
    view_.setRegion({});
    view_.setBase({}, {});
}

void Zoom::show(const zoom::Layout& layout) {
    view_.setLayout(zoom::clamped(layout, QSizeF(scan_), view_.deviceSize()));
    requestRegion();
}

bool Zoom::shownCovers() const {
    const ScanRegion& shown = view_.region();
    const int scale = regionScale(view_.layout().scale);
    return shown.scaleNum == scale &&
           region::coveredScan(shown.part, scale, scan_)
               .contains(inView(view_.layout(), view_.deviceSize(), scan_));
}

void Zoom::requestRegion() {
    if (!active_ || damaged_ || running_ || shownCovers())
        return;
    const zoom::Layout& layout = view_.layout();
    const Request wanted{zoom::neededRect(layout, QSizeF(scan_), view_.deviceSize(), kMargin),
                         regionScale(layout.scale)};
    if (wanted == answered_)
        return; // the part on the screen: never asked twice
    running_ = wanted;
    ++decodesAsked_;
    decoder_.start([this, bytes = bytes_, wanted, whole = whole_, session = session_] {
        const ScanRegion region = decodeRegion(bytes, wanted.scanPart, wanted.scaleNum, whole);
        QMetaObject::invokeMethod(
            this, [this, region, session] { takeRegion(session, region); }, Qt::QueuedConnection);
    });
}

void Zoom::takeRegion(int session, const ScanRegion& region) {
    const Request asked = *running_;
    running_.reset();
    if (session != session_)
        return requestRegion(); // asked for a zoom since ended: the one now, if any
    if (region.image.isNull()) {
        damaged_ = true; // the decode on the screen stays
        return;
    }
    if (!region.whole.isNull())
        whole_ = region.whole;
    if (!shownCovers()) {
        ScanRegion part = region;
        part.whole = {};
        view_.setRegion(part);
        answered_ = asked;
    }
    requestRegion(); // the newest view, if the view has moved on meanwhile
}

} // namespace cvx
