// The viewer of the window tests.
#include "tests/support/viewer.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace cvx::test {

Viewer::Viewer(const pack::VolumeSpec& plan, Start when) : volume(plan) {
    platform.root = volume.root();
    platform.folder = volume.folder();
    if (when == Start::now && start())
        ADD_FAILURE() << "the program ended at start: " << newBoxes().join('|').toStdString();
}

Viewer::~Viewer() = default;

bool Viewer::start() {
    form = std::make_unique<BookForm>(platform);
    try {
        form->Form_Load();
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}

void Viewer::writeBookmark(const QByteArray& content) const {
    EXPECT_TRUE(QDir().mkpath(volume.workFolder()));
    writeFile(volume.bookmarkPath(), content);
}

void Viewer::event(const std::function<void()>& handler) {
    form->handleEvent(handler);
}

void Viewer::key(int code, int shift) {
    event([&] {
        form->Form_KeyDown(static_cast<std::int16_t>(code), static_cast<std::int16_t>(shift));
    });
}

QWidget* Viewer::focus(QWidget* widget) {
    QApplication::setActiveWindow(form.get());
    widget->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), widget);
    return widget;
}

void Viewer::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (QApplication::activeWindow() != form.get())
        QApplication::setActiveWindow(form.get());
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void Viewer::type(const QString& text) {
    if (QApplication::activeWindow() != form.get())
        QApplication::setActiveWindow(form.get());
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void Viewer::clickAt(double left, double top) {
    QWidget* area = form->SCHERMO->widget();
    const QPoint point(twipsToPixels(left), twipsToPixels(top));
    QWidget* target = area->childAt(point);
    if (!target)
        target = area;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(area, point));
}

int Viewer::zoneAt(double left, double top) const {
    const QWidget* w = form->SCHERMO->widget()->childAt(twipsToPixels(left), twipsToPixels(top));
    for (int i = 0; i < 8; ++i)
        if (w && form->Image8[i]->widget() == w)
            return i;
    return -1;
}

std::array<bool, 8> Viewer::zones() const {
    std::array<bool, 8> on{};
    for (int i = 0; i < 8; ++i)
        on[i] = form->Image8[i]->Enabled();
    return on;
}

void Viewer::openAt(int book, int page) {
    event([&] { form->Combo2->setListIndex(book); });
    event([&] { form->Combo1->setListIndex(page); });
}

void Viewer::typeNumber(const QString& text) {
    form->Combo1->setText(text);
    event([&] { form->Picture5_Click(); });
}

int Viewer::book() const {
    return form->Combo2->ListIndex();
}

QString Viewer::pageText() const {
    return form->Combo1->Text();
}

bool Viewer::showing(int book, int page) const {
    return contentOf(volume.workImagePath()) == pack::padded(volume.plan.books[book].pages[page]);
}

QImage Viewer::shownImage() const {
    return form->Image1->shownImage();
}

QStringList Viewer::newBoxes() {
    QStringList texts;
    for (; seenBoxes_ < platform.boxes.size(); ++seenBoxes_)
        texts << platform.boxes[seenBoxes_].text;
    return texts;
}

void Viewer::showLoosePage(QSize pixels) {
    form->SCHERMO->setGeometry(15, 365, 9030, 7030);
    form->PageData = makeJpeg(pixels, QColor(240, 226, 190), QStringLiteral("A B"));
    form->writeWorkImage();
    form->LENTE0();
    form->show();
}

} // namespace cvx::test
