// The start-up benchmark's marker.
#include "display/paint_trace.h"

#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <utility>

namespace cvx {

namespace {
class FirstPaint : public QObject {
  public:
    FirstPaint(QObject* parent, std::function<bool()> hasPage)
        : QObject(parent), hasPage_(std::move(hasPage)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        // The paint itself first, so the line follows the page painted.
        watched->event(event);
        if (hasPage_()) {
            std::fputs("CARTAVOX_BENCH_TRACE: prima pagina dipinta\n", stderr);
            std::fflush(stderr);
            deleteLater();
            watched->removeEventFilter(this);
        }
        return true;
    }

  private:
    std::function<bool()> hasPage_;
};
} // namespace

void traceFirstPagePaint(QWidget* pageImage, std::function<bool()> hasPage) {
    if (qEnvironmentVariableIsEmpty("CARTAVOX_BENCH_TRACE"))
        return;
    pageImage->installEventFilter(new FirstPaint(pageImage, std::move(hasPage)));
}

} // namespace cvx
