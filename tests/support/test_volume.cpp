// Volumes built by the tests.
#include "tests/support/test_volume.h"

#include "app/bookform.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>

namespace cvx::test {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

QByteArray jpegBytes(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

QByteArray makeJpeg(QSize size, QColor colour, const QString& text) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (!text.isEmpty()) {
        QPainter p(&image);
        QFont font = p.font();
        font.setPixelSize(std::max(8, size.height() / 4));
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(image.rect(), Qt::AlignCenter, text);
    }
    return jpegBytes(image);
}

pack::BookSpec makeBook(const QString& label, int kind, QChar side, int firstNumber, int pages,
                        QSize size) {
    pack::BookSpec book;
    book.label = label;
    book.kind = kind;
    book.side = side;
    book.firstNumber = firstNumber;
    for (int k = 1; k <= pages; ++k)
        book.pages << makeJpeg(size, QColor::fromHsv((k * 47) % 360, 60, 240), QString::number(k));
    return book;
}

pack::VolumeSpec standardVolume() {
    pack::VolumeSpec plan;
    plan.title = QStringLiteral("Historia Naturalis");
    plan.secondLine = QStringLiteral("C. Plinius Secundus");
    plan.publisher = QStringLiteral("Nicolaus Jenson");
    plan.place = QStringLiteral("Venezia");
    plan.year = QStringLiteral("1472");
    plan.workFolderName = QStringLiteral("CVXTEST1");
    plan.books << makeBook(QStringLiteral("01 Lib.01 Antiporta"), 1, QLatin1Char('D'), 1, 4)
               << makeBook(QStringLiteral("02 Lib.02 Primo libro"), 0, QLatin1Char('D'), 1, 5)
               << makeBook(QStringLiteral("03 Lib.03 Tavole"), 2, QLatin1Char('D'), 1, 3,
                           QSize(120, 90));
    plan.executable = QByteArray("\x7f"
                                 "ELF test viewer",
                                 16)
                          .repeated(64);
    return plan;
}

TestVolume::TestVolume(const pack::VolumeSpec& s) : plan(s) {
    QString error;
    if (!pack::writeVolume(plan, folder_.path(), &error))
        qFatal("test volume: %s", qPrintable(error));
}

QString TestVolume::path(const QString& name) const {
    return QDir(folder()).filePath(name);
}

QString TestVolume::bookmarkPath() const {
    return root() + plan.workFolderName + QLatin1Char('/') + plan.workFolderName +
           QStringLiteral(".lib");
}

QString TestVolume::workImagePath() const {
    return root() + plan.workFolderName + QStringLiteral("/lab.jpg");
}

void TestVolume::configure(FakePlatform& platform) const {
    platform.root = root();
    platform.folder = folder();
    platform.screen = QSize(1280, 1024);
}

StartedViewer::StartedViewer(const pack::VolumeSpec& plan) : volume(plan) {
    volume.configure(platform);
    form = std::make_unique<BookForm>(platform);
    form->Form_Load();
}

StartedViewer::~StartedViewer() = default;

} // namespace cvx::test
