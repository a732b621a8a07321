// The viewer driven by the benchmarks.
#include "bench/bench_viewer.h"

#include "platform/jpeg_region.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QThread>
#include <cstdio>

namespace cvx::bench {

namespace {
// Records which region the zoomed page painted last, and how many paints there were.
class ZoomPaintRecorder : public QObject {
  public:
    ZoomPaintRecorder(QObject* parent, const ScanView* view, qint64* painted, int* paints)
        : QObject(parent), view_(view), painted_(painted), paints_(paints) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            *painted_ = view_->region().image.cacheKey();
            ++*paints_;
        }
        return false;
    }

  private:
    const ScanView* view_;
    qint64* painted_;
    int* paints_;
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
  public:
    PaintCounter(QObject* parent, int* paints) : QObject(parent), paints_(paints) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        *paints_ += event->type() == QEvent::Paint;
        return false;
    }

  private:
    int* paints_;
};

// Records which decode the page's control painted last.
class PaintRecorder : public QObject {
  public:
    PaintRecorder(QObject* parent, ImageControl* image, qint64* painted)
        : QObject(parent), image_(image), painted_(painted) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            *painted_ = image_->paintedImage().cacheKey();
        return false;
    }

  private:
    ImageControl* image_;
    qint64* painted_;
};

// Ends the benchmark with `what` when `failed`: a figure measured past it would be false.
void stopIf(bool failed, const char* what) {
    if (!failed)
        return;
    std::fprintf(stderr, "cartavox-bench: %s\n", what);
    std::exit(1);
}

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &down);
    QCoreApplication::sendEvent(target, &up);
}
} // namespace

BenchPlatform::BenchPlatform(QSize screen, QString folder)
    : screen_(screen), folder_(std::move(folder)) {}

int BenchPlatform::messageBox(const QString&, int style, const QString&) {
    ++boxes_;
    return style == kStyleYesNoCritical ? kAnswerYes : kAnswerOk;
}

void BenchPlatform::endProgram(int status) {
    std::fprintf(stderr, "cartavox-bench: the viewer ended the program (status %d)\n", status);
    std::exit(1);
}

double floorMs(const QByteArray& jpeg, QSize size) {
    QElapsedTimer clock;
    clock.start();
    QByteArray bytes = jpeg;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setScaledSize(size);
    const QImage image = reader.read();
    const double ms = clock.nsecsElapsed() / 1e6;
    stopIf(image.isNull() || image.size() != size, "the floor read failed");
    return ms;
}

BenchViewer::BenchViewer(const QString& folder, QSize screen) : platform_(screen, folder) {
    form_ = std::make_unique<BookForm>(platform_);
    form_->Image1->widget()->installEventFilter(
        new PaintRecorder(form_.get(), form_->Image1.get(), &painted_));
    for (const int side : {0, 1}) {
        ImageControl& page = form_->facing().page(side);
        page.widget()->installEventFilter(
            new PaintRecorder(form_.get(), &page, &facingPainted_[side]));
    }
    form_->ZoomView->widget()->installEventFilter(
        new ZoomPaintRecorder(form_.get(), form_->ZoomView.get(), &zoomPainted_, &zoomPaints_));
    form_->Overview->list()->viewport()->installEventFilter(
        new PaintCounter(form_.get(), &gridPaints_));
    form_->Image1->widget()->installEventFilter(new PaintCounter(form_.get(), &pagePaints_));
    QElapsedTimer clock;
    clock.start();
    form_->handleEvent([&] { form_->Form_Load(); });
    opened_ = finishTiming(clock);
    pause();
}

BenchViewer::~BenchViewer() = default;

double BenchViewer::press(int qtKey, Qt::KeyboardModifiers modifiers, QWidget* target) {
    QWidget* focus = QApplication::focusWidget();
    if (!target)
        target = focus && focus->window() == form_.get() ? focus : form_->SCHERMO->widget();
    QElapsedTimer clock;
    clock.start();
    sendKey(target, qtKey, modifiers);
    return finishTiming(clock);
}

double BenchViewer::pressFacing(int qtKey) {
    QElapsedTimer clock;
    clock.start();
    sendKey(form_->SCHERMO->widget(), qtKey, Qt::NoModifier);
    QCoreApplication::sendPostedEvents(form_.get(), QEvent::UpdateRequest);
    const double ms = clock.nsecsElapsed() / 1e6;
    for (const int side : {0, 1}) {
        ImageControl& page = form_->facing().page(side);
        if (!page.Visible())
            continue;
        const QImage shown = page.paintedImage();
        stopIf(shown.isNull() || facingPainted_[side] != shown.cacheKey(),
               "the facing pages shown were not painted");
    }
    return ms;
}

double BenchViewer::jumpTo(int number) {
    form_->Combo1->SetFocus();
    form_->Combo1->setText(QString());
    QWidget* box = form_->Combo1->combo();
    for (const QChar digit : QString::number(number))
        sendKey(box, Qt::Key_0 + digit.digitValue(), Qt::NoModifier, QString(digit));
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    sendKey(box, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    return finishTiming(clock);
}

double BenchViewer::finishTiming(const QElapsedTimer& clock) {
    // What the event loop paints next, painted now: the window's pending update, if the event
    // left one (a control refreshed during the event may already have painted the page).
    QCoreApplication::sendPostedEvents(form_.get(), QEvent::UpdateRequest);
    const double ms = clock.nsecsElapsed() / 1e6;
    const QImage shown = form_->Image1->paintedImage();
    stopIf(shown.isNull() || painted_ != shown.cacheKey(), "the page shown was not painted");
    return ms;
}

BenchViewer::InkStep BenchViewer::inkStep(int qtKey) {
    InkPanel& panel = form_->inkPanel();
    if (!panel.hasFocus()) {
        sendKey(form_->SCHERMO->widget(), Qt::Key_F7, Qt::NoModifier);
        pause();
    }
    stopIf(!panel.hasFocus(), "F7 did not open the aids' panel");
    const int paints = pagePaints_;
    InkStep step;
    step.shown = press(qtKey, Qt::NoModifier, panel.slider(InkPanel::brightness));
    stopIf(pagePaints_ == paints, "the aids' change was not painted");
    QElapsedTimer clock;
    clock.start();
    form_->Image1->widget()->repaint();
    step.floor = clock.nsecsElapsed() / 1e6;
    return step;
}

BenchViewer::ZoomStep BenchViewer::zoomIn() {
    QElapsedTimer clock;
    clock.start();
    const int paints = zoomPaints_;
    sendKey(form_->SCHERMO->widget(), Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
    QCoreApplication::sendPostedEvents(form_.get(), QEvent::UpdateRequest);
    ZoomStep step;
    step.shown = clock.nsecsElapsed() / 1e6;
    stopIf(zoomPaints_ == paints, "the zoom step was not painted");
    waitSharp();
    step.sharp = clock.nsecsElapsed() / 1e6;
    return step;
}

void BenchViewer::waitSharp() {
    const ScanView& view = *form_->ZoomView;
    const int wanted = regionScale(view.layout().scale);
    while (form_->zoom().running() || view.region().scaleNum != wanted ||
           zoomPainted_ != view.region().image.cacheKey()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(form_.get(), QEvent::UpdateRequest);
    }
}

double BenchViewer::zoomFlick(int notches) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < notches; ++i) {
        QWidget* target = form_->zoomed() ? form_->ZoomView->widget() : form_->SCHERMO->widget();
        const QPointF at = QPointF(target->rect().center());
        QWheelEvent wheel(at, target->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
    stopIf(!form_->zoomed(), "the flick did not zoom");
    waitSharp();
    return clock.nsecsElapsed() / 1e6;
}

int BenchViewer::dragAbout(QPoint delta, int moves) {
    QWidget* view = form_->ZoomView->widget();
    const int asked = form_->zoom().decodesAsked();
    QPointF at = QPointF(view->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    for (int i = 0; i < moves; ++i) {
        at += delta;
        QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QCoreApplication::processEvents();
        QThread::msleep(16);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, at, view->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &release);
    waitSharp();
    return form_->zoom().decodesAsked() - asked;
}

double BenchViewer::dragZoomed(QPoint delta) {
    QWidget* view = form_->ZoomView->widget();
    const QPointF at = QPointF(view->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    const int paints = zoomPaints_;
    QElapsedTimer clock;
    clock.start();
    const QPointF to = at + delta;
    QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QCoreApplication::sendPostedEvents(form_.get(), QEvent::UpdateRequest);
    const double ms = clock.nsecsElapsed() / 1e6;
    QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &release);
    stopIf(zoomPaints_ == paints, "the dragged page was not painted");
    return ms;
}

BenchViewer::OverviewOpen BenchViewer::openOverview() {
    QElapsedTimer clock;
    clock.start();
    int paints = gridPaints_;
    sendKey(form_->SCHERMO->widget(), Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendPostedEvents(form_.get(), QEvent::UpdateRequest);
    OverviewOpen open;
    open.shown = clock.nsecsElapsed() / 1e6;
    const PageGrid& grid = *form_->Overview;
    stopIf(gridPaints_ == paints || !grid.Visible(), "the overview was not painted");
    const auto complete = [&] {
        const auto [first, last] = grid.inView();
        for (int i = first; i <= last; ++i)
            if (grid.tile(i) == PageGrid::Tile::Plain)
                return false;
        return first >= 0;
    };
    while (!complete())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    paints = gridPaints_;
    QCoreApplication::sendPostedEvents(form_.get(), QEvent::UpdateRequest);
    open.complete = clock.nsecsElapsed() / 1e6;
    stopIf(gridPaints_ == paints, "the thumbnails were not painted");
    return open;
}

void BenchViewer::pause() {
    QCoreApplication::processEvents();
    form_->readAhead().waitIdle();
    QCoreApplication::processEvents();
}

QByteArray BenchViewer::shownBytes() const {
    return form_->Image1->picture().bytes();
}

QSize BenchViewer::shownSize() const {
    return form_->Image1->shownImage().size();
}

} // namespace cvx::bench
