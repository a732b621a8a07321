// The zoom beyond the presentation in force, a class of its own: it owns the zoomed view's state
// and the decoding of the part of the scan in view, behind the few entry points the window's
// keys, wheel and drags call. A zoom lies over the page as it is presented and changes nothing
// of it. Only the part in view and a margin for dragging is decoded, on a thread of its own, one
// part at a time: while one is decoded, only the newest view is remembered, and asked for when
// it comes; until then the decode on the screen is drawn enlarged.
#pragma once

#include "display/zoom_geometry.h"
#include "platform/jpeg_region.h"
#include "platform/scan_view.h"

#include <QObject>
#include <QThreadPool>
#include <optional>

namespace cvx {

// What a zoom starts from: the page as it is presented.
struct ZoomStart {
    QByteArray bytes; // the scan, as the working image holds it
    QSize scan;       // its stored pixels
    QImage painted;   // the decode on the screen
    QRectF shown;     // where the page lies, device pixels of the viewing area
};

class Zoom : public QObject {
  public:
    // Draws into `view`, which the window places over its viewing area.
    explicit Zoom(ScanView& view);
    ~Zoom() override;

    [[nodiscard]] bool active() const { return active_; }
    // Starts a zoom at the presentation's scale; false when the page is shown at the largest
    // scale already.
    [[nodiscard]] bool start(const ZoomStart& page);
    // Zooms `steps` steps in (positive) or out about `anchor`, device pixels of the view, up to
    // twice the scan's own pixels; out to the presentation's scale ends the zoom.
    void zoomBy(int steps, QPointF anchor);
    // Moves the zoomed scan by `delta` device pixels, as far as its edges allow.
    void pan(QPointF delta);
    // Shows the presentation in force again, as it was; nothing when not zoomed.
    void end();

    // A part asked of the decoding thread: scan pixels at a DCT scale.
    struct Request {
        QRect scanPart;
        int scaleNum = 0;
        friend bool operator==(const Request&, const Request&) = default;
    };
    // The part being decoded, and the one the region drawn was asked as.
    [[nodiscard]] const std::optional<Request>& running() const { return running_; }
    [[nodiscard]] const std::optional<Request>& answered() const { return answered_; }
    [[nodiscard]] const QByteArray& scanBytes() const { return bytes_; }
    // Parts asked of the decoding thread since the window opened.
    [[nodiscard]] int decodesAsked() const { return decodesAsked_; }

  private:
    void show(const zoom::Layout& layout);
    // Has the part of the scan in view decoded at the zoom's scale, unless the region drawn
    // holds it, a part is being decoded, or it is the part the region drawn answered.
    void requestRegion();
    void takeRegion(int session, const ScanRegion& region);
    // Whether the region drawn holds every scan pixel in view at the zoom's scale.
    [[nodiscard]] bool shownCovers() const;

    ScanView& view_;
    bool active_ = false;
    double presentation_ = 0; // device pixels a scan pixel in the presentation in force
    QSize scan_;
    QByteArray bytes_;
    int session_ = 0;                 // numbers the zooms: a region for an ended one is dropped
    std::optional<Request> running_;  // the part on the decoding thread
    std::optional<Request> answered_; // what the region drawn was asked as
    bool damaged_ = false;            // a part could not be decoded: no more are asked
    QImage whole_; // the whole scan at one DCT scale, for scans that are cut, not cropped
    int decodesAsked_ = 0;
    QThreadPool decoder_; // last: stopped before anything it posts to
};

} // namespace cvx
