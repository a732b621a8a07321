// The panel of the aids for faded ink (F7).
#include "panels/ink_panel.h"

#include "navigation/key_codes.h"
#include "platform/files.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <functional>

namespace cvx {

namespace {
const QColor kPanel(246, 240, 224); // the house panels' paper
constexpr int kMargin = 8;          // pixels between the panel and the area's edges
constexpr int kSaveDelayMs = 600;
constexpr qint64 kMaxFileBytes = 4096;

// Tab and Shift+Tab go round the panel's own controls while it is shown.
class InkFrame : public QFrame {
  public:
    using QFrame::QFrame;
    std::function<std::array<QWidget*, 7>()> controls;

  protected:
    bool focusNextPrevChild(bool next) override {
        if (!isVisible() || !controls)
            return QFrame::focusNextPrevChild(next);
        const auto list = controls();
        const auto at = std::find(list.begin(), list.end(), QApplication::focusWidget());
        const int n = int(list.size());
        const int here = at == list.end() ? (next ? n - 1 : 0) : int(at - list.begin());
        list[std::size_t((here + (next ? 1 : n - 1)) % n)]->setFocus(next ? Qt::TabFocusReason
                                                                          : Qt::BacktabFocusReason);
        return true;
    }
};

// The text beside a slider: the gamma in units with one decimal, the others signed.
QString valueText(InkPanel::Slider which, int value) {
    if (which == InkPanel::gamma)
        return QString::number(value / double(ink::kUnitGamma), 'f', 1);
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}
} // namespace

InkPanel::InkPanel(QWidget* area, InkFilter& filter) : area_(area), filter_(filter) {
    build();
    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(kSaveDelayMs);
    connect(&saveTimer_, &QTimer::timeout, this, [this] { save(); });
}

// The frame goes with the panel: its Tab order asks the panel for its controls.
InkPanel::~InkPanel() {
    delete frame_;
}

void InkPanel::build() {
    auto* frame = new InkFrame(area_);
    frame->controls = [this] { return controls(); };
    frame_ = frame;
    frame_->setFrameShape(QFrame::Box);
    frame_->setAutoFillBackground(true);
    QPalette pal = frame_->palette();
    pal.setColor(QPalette::Window, kPanel);
    frame_->setPalette(pal);
    frame_->setAccessibleName(QStringLiteral("Ausili di lettura"));
    frame_->setAccessibleDescription(QStringLiteral(
        "Aiutano a leggere l'inchiostro sbiadito; cambiano solo ciò che si vede. Tab passa da "
        "un comando all'altro, F7 o Esc chiudono"));
    auto* grid = new QGridLayout(frame_);
    auto* title = new QLabel(QStringLiteral("AUSILI DI LETTURA (F7)"), frame_);
    grid->addWidget(title, 0, 0, 1, 3);
    addSlider(brightness, "Luminosità", "Schiarisce o scurisce la pagina", ink::kMinLevel,
              ink::kMaxLevel, 5);
    addSlider(contrast, "Contrasto", "Aumenta o riduce la differenza tra inchiostro e carta",
              ink::kMinLevel, ink::kMaxLevel, 5);
    addSlider(gamma, "Gamma", "Schiarisce o scurisce i toni intermedi (1,0 non cambia nulla)",
              ink::kMinGamma, ink::kMaxGamma, 1);
    negative_ = new QCheckBox(QStringLiteral("Negativo"), frame_);
    negative_->setAccessibleDescription(QStringLiteral("Inverte chiari e scuri (Spazio)"));
    greyscale_ = new QCheckBox(QStringLiteral("Scala di grigi"), frame_);
    greyscale_->setAccessibleDescription(QStringLiteral("Mostra la pagina in grigi (Spazio)"));
    grid->addWidget(negative_, 4, 0, 1, 3);
    grid->addWidget(greyscale_, 5, 0, 1, 3);
    channel_ = new QComboBox(frame_);
    channel_->addItems({QStringLiteral("Tutti"), QStringLiteral("Rosso"), QStringLiteral("Verde"),
                        QStringLiteral("Blu")});
    auto* channelLabel = new QLabel(QStringLiteral("Canale"), frame_);
    channelLabel->setBuddy(channel_);
    channel_->setAccessibleName(QStringLiteral("Canale"));
    channel_->setAccessibleDescription(
        QStringLiteral("Un solo canale di colore, in grigi (frecce su e giù)"));
    grid->addWidget(channelLabel, 6, 0);
    grid->addWidget(channel_, 6, 1, 1, 2);
    reset_ = new QPushButton(QStringLiteral("Ripristina"), frame_);
    reset_->setAccessibleDescription(
        QStringLiteral("Riporta la pagina com'è, senza ausili (Invio o Spazio)"));
    grid->addWidget(reset_, 7, 0, 1, 3);
    for (QWidget* control : controls())
        control->setFocusPolicy(Qt::StrongFocus);
    connect(negative_, &QCheckBox::toggled, this, [this] { takeControls(); });
    connect(greyscale_, &QCheckBox::toggled, this, [this] { takeControls(); });
    connect(channel_, &QComboBox::currentIndexChanged, this, [this] { takeControls(); });
    connect(reset_, &QPushButton::clicked, this, [this] { reset(); });
    frame_->adjustSize();
    frame_->hide();
}

void InkPanel::addSlider(Slider which, const char* name, const char* description, int low, int high,
                         int step) {
    auto* slider = new QSlider(Qt::Horizontal, frame_);
    slider->setRange(low, high);
    slider->setSingleStep(step);
    slider->setPageStep(step * 4);
    slider->setValue(which == gamma ? ink::kUnitGamma : 0);
    slider->setMinimumWidth(120);
    slider->setAccessibleName(QString::fromUtf8(name));
    slider->setAccessibleDescription(QString::fromUtf8(description) +
                                     QStringLiteral(": frecce, Pagina su e giù, Inizio e Fine"));
    auto* label = new QLabel(QString::fromUtf8(name), frame_);
    label->setBuddy(slider);
    auto* value = new QLabel(valueText(which, slider->value()), frame_);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("+100")));
    auto* grid = static_cast<QGridLayout*>(frame_->layout());
    grid->addWidget(label, 1 + which, 0);
    grid->addWidget(slider, 1 + which, 1);
    grid->addWidget(value, 1 + which, 2);
    sliders_[which] = slider;
    values_[which] = value;
    connect(slider, &QSlider::valueChanged, this, [this, which](int v) {
        values_[which]->setText(valueText(which, v));
        takeControls();
    });
}

std::array<QWidget*, 7> InkPanel::controls() const {
    return {sliders_[0], sliders_[1], sliders_[2], negative_, greyscale_, channel_, reset_};
}

bool InkPanel::isOpen() const {
    return frame_->isVisible();
}

bool InkPanel::hasFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return isOpen() && ((focus && frame_->isAncestorOf(focus)) || listOpen());
}

bool InkPanel::listOpen() const {
    // The channel's list drops down as a window of its own, made a child of the choice.
    for (const QWidget* w = QApplication::activePopupWidget(); w; w = w->parentWidget())
        if (w == channel_)
            return true;
    return false;
}

void InkPanel::open() {
    if (!frame_->isVisible()) {
        showAids(filter_.aids());
        frame_->adjustSize();
        frame_->move(area_->width() - frame_->width() - kMargin, kMargin);
        frame_->show();
        frame_->raise();
    }
    sliders_[brightness]->setFocus(Qt::OtherFocusReason);
}

void InkPanel::close() {
    if (hasFocus())
        area_->setFocus(Qt::OtherFocusReason);
    frame_->hide();
    save();
}

bool InkPanel::key(std::int16_t keyCode) {
    if (listOpen())
        return true; // the dropped-down list's own: Esc closes it, Enter picks
    switch (keyCode) {
    case keys::F7:
    case keys::Escape: // the closing panel is not opened from here
        close();
        return true;
    case keys::Enter:
        if (QApplication::focusWidget() == reset_)
            reset();
        return true;
    case keys::Tab:
        return true; // the panel's own round of its controls
    default:
        return keys::isMovementKey(keyCode); // the focused control's own
    }
}

void InkPanel::reset() {
    showAids(ink::Aids{});
    filter_.setAids(ink::Aids{});
    saveTimer_.start();
}

void InkPanel::showAids(const ink::Aids& aids) {
    const std::array<int, 3> levels = {aids.brightness, aids.contrast, aids.gamma};
    for (QObject* control : controls())
        control->blockSignals(true);
    for (int i = 0; i < 3; ++i) {
        sliders_[std::size_t(i)]->setValue(levels[std::size_t(i)]);
        values_[std::size_t(i)]->setText(valueText(Slider(i), levels[std::size_t(i)]));
    }
    negative_->setChecked(aids.negative);
    greyscale_->setChecked(aids.greyscale);
    channel_->setCurrentIndex(int(aids.channel));
    for (QObject* control : controls())
        control->blockSignals(false);
}

void InkPanel::takeControls() {
    ink::Aids aids;
    aids.brightness = sliders_[brightness]->value();
    aids.contrast = sliders_[contrast]->value();
    aids.gamma = sliders_[gamma]->value();
    aids.negative = negative_->isChecked();
    aids.greyscale = greyscale_->isChecked();
    aids.channel = ink::Channel(std::clamp(channel_->currentIndex(), 0, 3));
    filter_.setAids(aids);
    saveTimer_.start();
}

void InkPanel::keepIn(const QString& path) {
    path_ = path;
    // A regular file of a few lines only: a larger one is damaged, and a pipe would never end.
    const files::Read read = files::readSmallFile(path, kMaxFileBytes);
    filter_.setAids(read.status == files::Status::Ok ? ink::parsed(read.data) : ink::Aids{});
    // A missing or damaged file is written only when the reader changes an aid.
    written_ = ink::serialized(filter_.aids());
    showAids(filter_.aids());
}

// A file that cannot be written costs the reader only the aids' memory at the next start: no
// message interrupts the reading for it.
void InkPanel::save() {
    saveTimer_.stop();
    const QByteArray text = ink::serialized(filter_.aids());
    if (path_.isEmpty() || text == written_)
        return;
    if (files::replaceAtomically(path_, text).ok())
        written_ = text;
}

void InkPanel::closeUnder(QWidget* cover) {
    cover->installEventFilter(this);
}

bool InkPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && isOpen())
        close();
    return QObject::eventFilter(watched, event);
}

} // namespace cvx
