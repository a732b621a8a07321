// The sample volume: a fictitious herbal of 1588 in five books (front matter in pages, the
// main text in sheets, two-page openings, plates, index), drawn as old-print scans at
// realistic sizes, with the manifest that cartavox-pack builds it from.
#pragma once

#include <QString>
#include <functional>

namespace cvx::sample {

struct SampleReport {
    int books = 0;
    int pages = 0;
    qint64 bytes = 0; // bytes of the page images written
    QString error;    // Italian; empty when everything was written
};

// Writes the page images and "manifest.json" into `outDir` (created if missing). `small`
// draws every page at a tenth of its size, for tests. The same options give the same bytes.
// `progress` (optional) gets the pages written and their total.
[[nodiscard]] SampleReport writeSample(const QString& outDir, bool small,
                                       const std::function<void(int, int)>& progress = {});

} // namespace cvx::sample
