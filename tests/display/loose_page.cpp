// A window with a loose page.
#include "tests/display/loose_page.h"

#include <QFile>
#include <QTest>

namespace cvx::test {

LoosePage::LoosePage(QSize pixels) {
    form = std::make_unique<BookForm>(platform);
    form->setFormSize(9060, 7410);
    form->SCHERMO->setGeometry(15, 365, 9030, 7030);
    form->WorkImagePath = dir.filePath(QStringLiteral("lab.jpg"));
    writeWorkImage(makeJpeg(pixels, QColor(240, 226, 190), QStringLiteral("A B")));
    form->LENTE0();
    form->show();
}

void LoosePage::writeWorkImage(const QByteArray& bytes) const {
    QFile f(form->WorkImagePath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write the working image");
}

QWidget* LoosePage::zoneAt(double left, double top) const {
    return form->SCHERMO->widget()->childAt(twipsToPixels(left), twipsToPixels(top));
}

void LoosePage::clickAt(double left, double top) const {
    QWidget* area = form->SCHERMO->widget();
    const QPoint point(twipsToPixels(left), twipsToPixels(top));
    QWidget* target = area->childAt(point);
    if (!target)
        target = area;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(area, point));
}

int zoneIndex(const BookForm& form, const QWidget* w) {
    for (int i = 0; i < 8; ++i)
        if (w && form.Image8[i]->widget() == w)
            return i;
    return -1;
}

Zones zonesEnabled(const BookForm& form) {
    Zones on{};
    for (int i = 0; i < 8; ++i)
        on[i] = form.Image8[i]->Enabled();
    return on;
}

} // namespace cvx::test
