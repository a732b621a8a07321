// A reader's viewer.
#include "tests/navigation/reader.h"

#include "platform/printer.h"

#include <QFile>
#include <QTest>

namespace cvx::test {

std::unique_ptr<Printer> NoPrinterPlatform::defaultPrinter() {
    return nullptr;
}

Reader::Reader(const pack::VolumeSpec& plan) : volume(plan) {
    volume.configure(platform);
    form = std::make_unique<BookForm>(platform);
    form->Form_Load();
}

Reader::~Reader() = default;

void Reader::openAt(int book, int page) {
    form->handleEvent([&] { form->Combo2->setListIndex(book); });
    form->handleEvent([&] { form->Combo1->setListIndex(page); });
}

void Reader::key(int code) {
    form->handleEvent(
        [&] { form->Form_KeyDown(static_cast<std::int16_t>(code), std::int16_t{0}); });
}

void Reader::clickAt(double left, double top) {
    QWidget* area = form->SCHERMO->widget();
    const QPoint point(twipsToPixels(left), twipsToPixels(top));
    QWidget* target = area->childAt(point);
    if (!target)
        target = area;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(area, point));
}

int Reader::zoneAt(double left, double top) const {
    const QWidget* w = form->SCHERMO->widget()->childAt(twipsToPixels(left), twipsToPixels(top));
    for (int i = 0; i < 8; ++i)
        if (w && form->Image8[i]->widget() == w)
            return i;
    return -1;
}

bool Reader::showing(int book, int page) const {
    QFile f(volume.workImagePath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // Entries are stored padded after the picture's end.
    return f.readAll().startsWith(volume.plan.books[book].pages[page]);
}

QStringList Reader::newBoxes() {
    QStringList texts;
    for (; seenBoxes_ < platform.boxes.size(); ++seenBoxes_)
        texts << platform.boxes[seenBoxes_].text;
    return texts;
}

pack::VolumeSpec largePageVolume() {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0] = makeBook(QStringLiteral("01 Lib.01 Antiporta"), 1, QLatin1Char('D'), 1, 3,
                             QSize(1600, 2400));
    plan.books[1] = makeBook(QStringLiteral("02 Lib.02 Primo libro"), 1, QLatin1Char('D'), 1, 2,
                             QSize(1600, 2400));
    plan.books.removeLast();
    return plan;
}

} // namespace cvx::test
