// The start-up benchmark's marker: with the environment variable CARTAVOX_BENCH_TRACE set, the
// viewer prints one line on stderr once the page image has first been painted with a page.
// Without it nothing is installed.
#pragma once

#include <functional>

class QWidget;

namespace cvx {

// `hasPage` tells whether the image holds a page yet.
void traceFirstPagePaint(QWidget* pageImage, std::function<bool()> hasPage);

} // namespace cvx
