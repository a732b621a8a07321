// The grid of a book's pages.
#include "platform/page_grid.h"

#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace cvx {

namespace {
constexpr int kRole = Qt::UserRole; // the tile's state, a PageGrid::Tile
const QSize kThumbnail(150, 210);   // logical pixels
const QColor kPaper(236, 228, 206); // a tile without its thumbnail
const QColor kCurrent(176, 40, 32); // the mark of the page being read

QPixmap plainTile(QSize size, const QString& text) {
    QPixmap tile(size);
    tile.fill(kPaper);
    if (!text.isEmpty()) {
        QPainter p(&tile);
        p.setPen(kCurrent);
        p.drawText(tile.rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
    }
    return tile;
}

// The list of tiles. Tab and Shift+Tab never move the focus out (the window gives them a
// meaning of its own), and the wheel never reaches the page under the grid, even at either
// end of the scrolling.
class TileList : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    bool focusNextPrevChild(bool) override { return true; }
    void wheelEvent(QWheelEvent* event) override {
        QListWidget::wheelEvent(event);
        event->accept();
    }
};
} // namespace

PageGrid::PageGrid(QWidget* parent, const QColor& background)
    : Control(new TileList(parent), false), plain_(plainTile(kThumbnail, {})) {
    QListWidget* grid = list();
    grid->setViewMode(QListView::IconMode);
    grid->setMovement(QListView::Static);
    grid->setResizeMode(QListView::Adjust);
    grid->setUniformItemSizes(true);
    grid->setWrapping(true);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setIconSize(kThumbnail);
    grid->setGridSize(kThumbnail + QSize(30, 44));
    grid->setSpacing(6);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setContextMenuPolicy(Qt::NoContextMenu);
    grid->setFocusPolicy(Qt::StrongFocus);
    QPalette pal = grid->palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, Qt::white);
    grid->setPalette(pal);
    QObject::connect(grid, &QListWidget::itemActivated, grid, [this](QListWidgetItem* item) {
        if (onChoose)
            onChoose(list()->row(item));
    });
    QObject::connect(grid, &QListWidget::itemClicked, grid, [this](QListWidgetItem* item) {
        if (onChoose)
            onChoose(list()->row(item));
    });
    QObject::connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, grid, [this] {
        if (onScroll)
            onScroll();
    });
}

QListWidget* PageGrid::list() const {
    return static_cast<QListWidget*>(widget_.data());
}

QSize PageGrid::thumbnailSize() const {
    return kThumbnail * widget_->devicePixelRatioF();
}

void PageGrid::setPages(const QStringList& labels, int current) {
    QListWidget* grid = list();
    grid->clear();
    for (int i = 0; i < labels.size(); ++i) {
        auto* item = new QListWidgetItem(plain_, labels[i], grid);
        item->setData(kRole, static_cast<int>(Tile::Plain));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        if (i == current) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setBackground(kCurrent);
            item->setData(Qt::AccessibleDescriptionRole, QStringLiteral("pagina corrente"));
        }
    }
    const int highlight = current >= 0 && current < labels.size() ? current : 0;
    if (!labels.isEmpty()) {
        grid->doItemsLayout(); // now, so that what is in view is known at once
        grid->setCurrentRow(highlight);
        grid->scrollToItem(grid->item(highlight), QAbstractItemView::PositionAtCenter);
    }
}

void PageGrid::setThumbnail(int index, const QImage& thumbnail) {
    QListWidgetItem* item = list()->item(index);
    if (!item || thumbnail.isNull())
        return;
    QPixmap pixmap = QPixmap::fromImage(thumbnail);
    pixmap.setDevicePixelRatio(widget_->devicePixelRatioF());
    item->setIcon(QIcon(pixmap));
    item->setData(kRole, static_cast<int>(Tile::Thumbnail));
}

void PageGrid::setDamaged(int index) {
    QListWidgetItem* item = list()->item(index);
    if (!item)
        return;
    static const QString kDamaged = QStringLiteral("PAGINA DANNEGGIATA");
    item->setIcon(QIcon(plainTile(kThumbnail, kDamaged)));
    item->setToolTip(kDamaged);
    item->setData(Qt::AccessibleDescriptionRole, kDamaged);
    item->setData(kRole, static_cast<int>(Tile::Damaged));
}

void PageGrid::setPlain(int index) {
    QListWidgetItem* item = list()->item(index);
    if (!item)
        return;
    if (tile(index) == Tile::Damaged) {
        item->setToolTip({});
        item->setData(Qt::AccessibleDescriptionRole, {});
    }
    item->setIcon(plain_);
    item->setData(kRole, static_cast<int>(Tile::Plain));
}

int PageGrid::count() const {
    return list()->count();
}

QString PageGrid::label(int index) const {
    const QListWidgetItem* item = list()->item(index);
    return item ? item->text() : QString();
}

int PageGrid::highlighted() const {
    return list()->currentRow();
}

std::pair<int, int> PageGrid::inView() const {
    const QListWidget* grid = list();
    const QRect view = grid->viewport()->rect();
    int first = -1, last = -1;
    for (int i = 0; i < grid->count(); ++i)
        if (grid->visualItemRect(grid->item(i)).intersects(view)) {
            if (first < 0)
                first = i;
            last = i;
        }
    return {first, last};
}

PageGrid::Tile PageGrid::tile(int index) const {
    const QListWidgetItem* item = list()->item(index);
    return item ? static_cast<Tile>(item->data(kRole).toInt()) : Tile::Plain;
}

} // namespace cvx
