// Tools for the tests of damaged volumes, files and folders.
#include "tests/robustness/damage.h"

#include "app/product_block.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <csignal>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace cvx::test {

void patchFile(const QString& path, qint64 position, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite)) << path.toStdString();
    ASSERT_TRUE(f.seek(position - 1));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void cutFile(const QString& path, qint64 length) {
    ASSERT_TRUE(QFile::resize(path, length)) << path.toStdString();
}

qint64 baseDigitsPosition(const TestVolume& volume) {
    return block::basePosition(QFileInfo(volume.path("Cartavox.exe")).size());
}

qint64 slotPosition(const TestVolume& volume, int k) {
    QFile f(volume.path("Cartavox.exe"));
    if (!f.open(QIODevice::ReadOnly) || !f.seek(baseDigitsPosition(volume) - 1))
        return 0;
    return block::slotPosition(f.read(8).toDouble(), k);
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

QByteArray recordHead(int length) {
    QByteArray head(4, '\0');
    head[0] = 8;
    head[2] = static_cast<char>(length & 0xff);
    head[3] = static_cast<char>(length >> 8);
    return head;
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

void setMode(const QString& path, unsigned mode) {
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

} // namespace cvx::test
