// Volumes built by the tests, and the file tools.
#include "tests/support/test_volume.h"

#include "archive/archive_layout.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <csignal>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

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

void patchFile(const QString& path, qint64 position, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite)) << path.toStdString();
    ASSERT_TRUE(f.seek(position - 1));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void cutFile(const QString& path, qint64 length) {
    ASSERT_TRUE(QFile::resize(path, length)) << path.toStdString();
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

void setMode(const QString& path, unsigned mode) {
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
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

QByteArray notAPicture(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + 17) % 251);
    return bytes;
}

QByteArray claimingSize(int width, int height, bool progressive) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    const qsizetype sof = jpeg.indexOf(QByteArray(progressive ? "\xff\xc2" : "\xff\xc0", 2));
    EXPECT_GT(sof, 0);
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xff);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xff);
    return jpeg;
}

QByteArray withOrientation(const QByteArray& jpeg, int orientation) {
    // APP1 of 34 bytes: "Exif", a big-endian TIFF header, IFD0 of one SHORT entry, 0x0112.
    const char head[] = "\xff\xe1\x00\x22"
                        "Exif\0\0"
                        "MM\0\x2a\0\0\0\x08"
                        "\0\x01"
                        "\x01\x12\0\x03\0\0\0\x01";
    QByteArray app1(head, sizeof head - 1);
    app1 += char(0);
    app1 += char(orientation);
    app1 += QByteArray(6, '\0'); // the value's padding and the next IFD's offset
    return QByteArray(jpeg).insert(2, app1);
}

double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            for (int shift : {0, 8, 16})
                sum += std::abs(int(x.pixel(col, row) >> shift & 0xff) -
                                int(y.pixel(col, row) >> shift & 0xff));
    return sum / (3.0 * x.width() * x.height());
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

pack::VolumeSpec largePageVolume() {
    pack::VolumeSpec plan = standardVolume();
    plan.books = {makeBook(QStringLiteral("01 Lib.01 Antiporta"), 1, QLatin1Char('D'), 1, 3,
                           QSize(1600, 2400)),
                  makeBook(QStringLiteral("02 Lib.02 Primo libro"), 1, QLatin1Char('D'), 1, 2,
                           QSize(1600, 2400))};
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

QString TestVolume::workFolder() const {
    return root() + plan.workFolderName;
}

QString TestVolume::bookmarkPath() const {
    return workFolder() + QLatin1Char('/') + plan.workFolderName + QStringLiteral(".lib");
}

QString TestVolume::workImagePath() const {
    return workFolder() + QStringLiteral("/lab.jpg");
}

void patchSlot(const QString& archivePath, int slot, int column, const QByteArray& text) {
    patchFile(archivePath, archive::slotTextPosition(slot) + column - 1, text);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
}

namespace {
// The capabilities that let root read, write and change any file regardless of its mode.
constexpr unsigned kOverrides =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool capabilities(__user_cap_data_struct (&data)[2], bool set) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}
} // namespace

FilePermissionsObeyed::FilePermissionsObeyed() {
    __user_cap_data_struct data[2]{};
    EXPECT_TRUE(capabilities(data, false));
    saved_[0] = data[0].effective;
    saved_[1] = data[1].effective;
    data[0].effective &= ~kOverrides;
    EXPECT_TRUE(capabilities(data, true));
}

FilePermissionsObeyed::~FilePermissionsObeyed() {
    __user_cap_data_struct data[2]{};
    EXPECT_TRUE(capabilities(data, false));
    data[0].effective = saved_[0];
    data[1].effective = saved_[1];
    EXPECT_TRUE(capabilities(data, true));
}

} // namespace cvx::test
