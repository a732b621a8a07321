// An image control: without Stretch it takes its picture's natural size; with Stretch it keeps
// the size it is given and shows the picture scaled to it, decoded at that many device pixels.
// A disabled image control is absent for the mouse: no click, cursor or tooltip, and the
// control below it is reached instead.
#pragma once

#include "platform/controls.h"
#include "platform/ink_filter.h"
#include "platform/picture.h"

#include <QCursor>
#include <QImage>
#include <optional>

namespace cvx {

class ImageControl : public Control {
  public:
    explicit ImageControl(QWidget* parent);

    [[nodiscard]] bool Stretch() const { return stretch_; }
    void setStretch(bool stretch);

    [[nodiscard]] const Picture& picture() const { return picture_; }
    // Assigns a picture; without Stretch the control takes its natural size.
    void setPicture(const Picture& picture);

    // Fixed artwork (cursor icons, turning pictures): drawn scaled to the control, never
    // decoded from a file.
    void setArtwork(const QImage& image);

    // Has the picture carry its decode at the control's current size in device pixels (kept
    // when it already does); false when the data cannot be decoded. Painting uses that decode.
    [[nodiscard]] bool realize();

    // The image as it is drawn now, through the ink aids (null when nothing is drawn).
    [[nodiscard]] QImage shownImage() const;
    // What paintEvent draws before the ink aids: shownImage() without the aids and without its
    // pixel ratio set, which would copy the whole decoded picture at every paint on a screen
    // whose ratio is not 1.
    [[nodiscard]] QImage paintedImage();

    // Has the control show its picture through `filter`'s aids and repaint when they change.
    // Only the controls that show the page to the reader are given one.
    void setInkFilter(InkFilter& filter);

    // The picture and where and how it is shown, to put back as it was.
    struct State {
        Picture picture;
        bool stretch = false;
        double left = 0, top = 0, width = 0, height = 0;
        bool visible = true;
    };
    [[nodiscard]] State state() const {
        return {picture_, stretch_, left_, top_, width_, height_, visible_};
    }
    // Puts back picture, stretch and geometry; the visible flag is the caller's, which shows
    // the control last.
    void restore(const State& state);

    void setMouseIcon(const QCursor& cursor);
    [[nodiscard]] std::optional<QCursor> MouseIcon() const { return cursor_; }

    void setEnabled(bool v) override;

  private:
    friend class ImageWidget;
    [[nodiscard]] QSize devicePixels() const;
    bool stretch_ = false;
    Picture picture_;
    QImage artwork_;
    std::optional<QCursor> cursor_;
    InkFilter* ink_ = nullptr;
    mutable FilteredImage filtered_; // what was last drawn through the aids
};

} // namespace cvx
