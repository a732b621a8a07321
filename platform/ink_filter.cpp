// The ink aids in force and the filtered copies of the page.
#include "platform/ink_filter.h"

namespace cvx {

void InkFilter::setAids(const ink::Aids& aids) {
    if (aids == aids_)
        return;
    aids_ = aids;
    table_ = ink::toneTable(aids);
    ++version_;
    for (const QPointer<QWidget>& widget : watched_)
        if (widget)
            widget->update();
    if (onChange)
        onChange();
}

void InkFilter::watch(QWidget* widget) {
    watched_.emplace_back(widget);
}

QImage FilteredImage::of(const QImage& source, const InkFilter* filter) {
    if (!filter || filter->aids().identity() || source.isNull()) {
        filtered_ = QImage(); // its memory is not needed until the aids change again
        return source;
    }
    if (filtered_.isNull() || source.cacheKey() != sourceKey_ || filter->version() != version_) {
        filtered_ = ink::applied(source, filter->aids(), filter->table());
        sourceKey_ = source.cacheKey();
        version_ = filter->version();
    }
    return filtered_;
}

} // namespace cvx
