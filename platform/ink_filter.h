// The ink aids in force for the controls that show the page, and each control's filtered copy
// of what it draws: the aids change only what is painted, never a picture, a decode or a file.
#pragma once

#include "display/ink_aids.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

namespace cvx {

class InkFilter {
  public:
    [[nodiscard]] const ink::Aids& aids() const { return aids_; }
    [[nodiscard]] const ink::Table& table() const { return table_; }
    // Counts the changes of the aids: a filtered copy made at another version is stale.
    [[nodiscard]] std::uint64_t version() const { return version_; }
    // Puts `aids` in force and repaints the watched widgets; nothing when already in force.
    void setAids(const ink::Aids& aids);
    // Has `widget` repainted whenever the aids change.
    void watch(QWidget* widget);
    std::function<void()> onChange; // after every change

  private:
    ink::Aids aids_;
    ink::Table table_ = ink::toneTable(ink::Aids{});
    std::uint64_t version_ = 0;
    std::vector<QPointer<QWidget>> watched_;
};

// One control's source image through the aids, made again only when the source (by its cache
// key) or the aids change: a repaint costs nothing, a change one pass over the pixels.
class FilteredImage {
  public:
    // `source` as shown with `filter`'s aids; `source` itself without a filter or aids.
    [[nodiscard]] QImage of(const QImage& source, const InkFilter* filter);
    // Gives the copy's memory back (its control shows nothing now).
    void clear() { filtered_ = QImage(); }

  private:
    qint64 sourceKey_ = 0;
    std::uint64_t version_ = 0;
    QImage filtered_;
};

} // namespace cvx
