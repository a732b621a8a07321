// A real viewer window driven as a reader drives it, for the benchmarks: keys sent as key events,
// each timed until the page has been painted, and the decode floor of the page painted.
#pragma once

#include "app/bookform.h"
#include "platform/platform.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <array>
#include <memory>

namespace cvx::bench {

// Message boxes are answered at once (OK, or Yes) and counted; the screen is the given size.
class BenchPlatform : public Platform {
  public:
    BenchPlatform(QSize screen, QString folder);
    int messageBox(const QString& text, int style, const QString& title) override;
    [[noreturn]] void endProgram(int status) override;
    [[nodiscard]] QSize screenPixels() const override { return screen_; }
    [[nodiscard]] QString driveRoot() const override { return root_.path() + QLatin1Char('/'); }
    [[nodiscard]] QString currentFolder() const override { return folder_; }
    [[nodiscard]] int boxes() const { return boxes_; }

  private:
    QSize screen_;
    QString folder_;
    QTemporaryDir root_;
    int boxes_ = 0;
};

// The decode floor: Qt's own read of `jpeg` from memory scaled to `size`, in milliseconds.
[[nodiscard]] double floorMs(const QByteArray& jpeg, QSize size);

class BenchViewer {
  public:
    // Starts the viewer on the volume in `folder` (its Cartavox.exe and archives).
    BenchViewer(const QString& folder, QSize screen);
    ~BenchViewer();

    // Presses a key (a Qt key code) on `target` (by default the focused widget, or the viewing
    // area) and returns the milliseconds until the key's event and the paints it left pending
    // are done, the page shown painted.
    double press(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                 QWidget* target = nullptr);
    // As press(), the facing pages painted instead of the single page under them.
    double pressFacing(int qtKey);
    // Types `number` into the page selector, then times Enter as press() does.
    double jumpTo(int number);
    // Lets pending events run and the reading ahead finish: a reader's pause.
    void pause();
    // The milliseconds from the volume's opening until its first page was painted.
    [[nodiscard]] double openedMs() const { return opened_; }

    // One zoom step in ('+'): the milliseconds until the step is painted from the decode
    // already on the screen, and until the part in view, decoded for the step, is painted.
    struct ZoomStep {
        double shown = 0;
        double sharp = 0;
    };
    ZoomStep zoomIn();
    // Drags the zoomed page by `delta` pixels: the milliseconds until it is painted there.
    double dragZoomed(QPoint delta);
    // `notches` Ctrl+wheel notches in about the centre sent at once, as a flick sends them:
    // the milliseconds until the part in view, decoded for the last step, is painted.
    double zoomFlick(int notches);
    // Drags the zoomed page `moves` times by `delta` pixels a frame apart, then waits until the
    // part in view is painted: the parts the zoom asked to decode meanwhile.
    int dragAbout(QPoint delta, int moves);

    // F5: the milliseconds until the overview is painted, and until the thumbnails of every
    // tile in view are painted.
    struct OverviewOpen {
        double shown = 0;
        double complete = 0;
    };
    OverviewOpen openOverview();

    // One step of the brightness in the aids' panel (F7, opened first), by `qtKey` on its slider:
    // the milliseconds until the page is painted through the new aids; and the floor, the same
    // page repainted as it stands, in the same run.
    struct InkStep {
        double shown = 0;
        double floor = 0;
    };
    InkStep inkStep(int qtKey);

    // The picture painted now: its bytes and the device pixels it is shown at.
    [[nodiscard]] QByteArray shownBytes() const;
    [[nodiscard]] QSize shownSize() const;

    [[nodiscard]] BookForm& form() { return *form_; }

  private:
    double finishTiming(const QElapsedTimer& clock);
    // Waits until the zoomed page paints the part in view decoded for its scale.
    void waitSharp();

    BenchPlatform platform_;
    std::unique_ptr<BookForm> form_;
    qint64 painted_ = 0; // cache key of the decode the page's control painted last
    std::array<qint64, 2> facingPainted_{}; // the same for the left and right facing pages
    qint64 zoomPainted_ = 0;                // cache key of the region the zoomed page painted last
    int zoomPaints_ = 0;                    // paints of the zoomed page so far
    int gridPaints_ = 0;                    // paints of the overview's tiles so far
    int pagePaints_ = 0;                    // paints of the page's control so far
    double opened_ = 0;                     // milliseconds from opening to the first page painted
};

} // namespace cvx::bench
