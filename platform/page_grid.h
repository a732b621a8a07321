// A book's pages as a grid of tiles, each a thumbnail over its label: a plain tile until the
// thumbnail comes, a tile that says so for a page that cannot be shown. The arrow keys, Page
// Up and Down, Home and End move the highlight, the wheel scrolls, a click or Enter chooses a
// page; Tab never leaves the grid. Screen readers read each tile by its label.
#pragma once

#include "platform/controls.h"

#include <QIcon>
#include <QImage>
#include <QStringList>

class QListWidget;

namespace cvx {

class PageGrid : public Control {
  public:
    PageGrid(QWidget* parent, const QColor& background);

    // The thumbnails' size, device pixels.
    [[nodiscard]] QSize thumbnailSize() const;
    // Tiles for `labels`, plain; page `current` marked as the one being read and highlighted
    // (-1: none marked, the first highlighted), and scrolled into view.
    void setPages(const QStringList& labels, int current);
    void setThumbnail(int index, const QImage& thumbnail);
    // The page cannot be shown: its tile says so.
    void setDamaged(int index);
    // The tile without its thumbnail again, its memory given back.
    void setPlain(int index);
    [[nodiscard]] int count() const;
    [[nodiscard]] QString label(int index) const;
    [[nodiscard]] int highlighted() const;
    // The first and last tile in view.
    [[nodiscard]] std::pair<int, int> inView() const;
    // What the tile of page `index` shows: a thumbnail, nothing yet, or that it is damaged.
    enum class Tile { Plain, Thumbnail, Damaged };
    [[nodiscard]] Tile tile(int index) const;
    [[nodiscard]] QListWidget* list() const;

    std::function<void(int index)> onChoose; // a page chosen by a click or Enter
    std::function<void()> onScroll;          // other tiles came into view

  private:
    QIcon plain_; // a tile's picture until its thumbnail comes, one for all tiles
};

} // namespace cvx
