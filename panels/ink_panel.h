// The panel of the aids for faded ink (F7), over the viewing area's top right corner: sliders
// for brightness, contrast and gamma, negative and greyscale, one colour channel and
// "Ripristina", in Italian, named for screen readers and used from the keyboard alone. It only
// sets what the page's controls paint through (platform/ink_filter.h); the aids are kept per
// volume in a file of their own in the working folder, never in the bookmark.
#pragma once

#include "platform/ink_filter.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;

namespace cvx {

class InkPanel : public QObject {
  public:
    // The panel in `area`, setting `filter`'s aids; hidden until opened.
    InkPanel(QWidget* area, InkFilter& filter);
    ~InkPanel() override;

    [[nodiscard]] bool isOpen() const;
    // Whether the keyboard focus is on one of its controls.
    [[nodiscard]] bool hasFocus() const;
    // Shows it at the area's corner, raised, the focus on its first control; when already open,
    // only moves the focus there.
    void open();
    // Hides it and keeps the aids in their file; the focus, if it was on the panel, goes back to
    // the viewing area. The aids stay in force.
    void close();
    // A key while the panel has the focus: true when it is its own (moving between and within
    // its controls, Enter on "Ripristina", F7 and Esc closing it); false for the window's keys.
    [[nodiscard]] bool key(std::int16_t keyCode);
    // Puts the identity aids in force, the controls back at their starting places.
    void reset();
    // Takes the aids kept in `path` (none, for a missing or damaged file) and keeps them there
    // from now on.
    void keepIn(const QString& path);
    // Closes the panel whenever `cover` is shown over the page (a panel, the overview).
    void closeUnder(QWidget* cover);

    // Its controls, in their Tab order: the three sliders, negative, greyscale, the channel
    // choice, "Ripristina".
    enum Slider { brightness, contrast, gamma };
    [[nodiscard]] QFrame* frame() const { return frame_; }
    [[nodiscard]] QSlider* slider(Slider which) const { return sliders_[which]; }
    [[nodiscard]] QCheckBox* negative() const { return negative_; }
    [[nodiscard]] QCheckBox* greyscale() const { return greyscale_; }
    [[nodiscard]] QComboBox* channel() const { return channel_; }
    [[nodiscard]] QPushButton* resetButton() const { return reset_; }
    [[nodiscard]] std::array<QWidget*, 7> controls() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void addSlider(Slider which, const char* name, const char* description, int low, int high,
                   int step);
    // The controls set to `aids`, their signals held.
    void showAids(const ink::Aids& aids);
    // The aids the controls say, put in force.
    void takeControls();
    void save();
    // Whether the channel's list is dropped down.
    [[nodiscard]] bool listOpen() const;

    QWidget* area_;
    InkFilter& filter_;
    QFrame* frame_ = nullptr; // a child of the area, deleted with the panel
    std::array<QSlider*, 3> sliders_{};
    std::array<QLabel*, 3> values_{}; // each slider's value, as a reader reads it
    QCheckBox* negative_ = nullptr;
    QCheckBox* greyscale_ = nullptr;
    QComboBox* channel_ = nullptr;
    QPushButton* reset_ = nullptr;
    QString path_;       // the aids' file; empty before keepIn
    QByteArray written_; // what the file holds as far as this panel knows
    QTimer saveTimer_;   // a pause in the changes saves them
};

} // namespace cvx
