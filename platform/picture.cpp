// Pictures decoded at the size they are shown.
#include "platform/picture.h"

#include "platform/jpeg_bands.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <malloc.h>

namespace cvx {

struct Picture::Data {
    QByteArray bytes;
    QSize size;
};

namespace {
// The stored pixels as they are, whatever orientation tag the file carries.
void prepare(QImageReader& reader) {
    reader.setAutoTransform(false);
}
} // namespace

void Picture::configureDecoding() {
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    // One malloc arena for every thread. Pictures are decoded on worker threads; in a thread's
    // own arena each picture of many megabytes is mapped afresh and every page of it faulted in
    // again, which made a zoomed part's decode half as slow again as the same decode on the
    // window's thread. In the one arena the pages of a freed picture serve the next.
    mallopt(M_ARENA_MAX, 1);
    // Every page's bytes and pictures (megabytes each) from the heap, and the heap kept: mapped
    // and unmapped afresh for each page they cost every page its faults again, and the unmaps
    // stalled the other threads' decoding (100 pages of 70 MP took 13 s of system time, now 2).
    mallopt(M_MMAP_THRESHOLD, kAllocationLimitMb * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMb * 1024 * 1024);
}

Picture Picture::load(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("IMPOSSIBILE LEGGERE L'IMMAGINE: %1").arg(path);
        return {};
    }
    return fromBytes(f.readAll(), path, error);
}

namespace {
bool exceedsPixelCap(QSize size) {
    return qint64(size.width()) * size.height() > Picture::kMaxPixels;
}
} // namespace

bool Picture::tooLarge(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return exceedsPixelCap(reader.size());
}

Picture Picture::fromBytes(const QByteArray& bytes, const QString& name, QString* error) {
    auto d = std::make_shared<Data>();
    d->bytes = bytes;
    QBuffer buffer(&d->bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    prepare(reader);
    const QSize raw = reader.size();
    if (bytes.isEmpty() || !reader.canRead() || !raw.isValid() || raw.isEmpty()) {
        if (error)
            *error = QStringLiteral("IL FILE %1 NON CONTIENE UN'IMMAGINE LEGGIBILE").arg(name);
        return {};
    }
    if (exceedsPixelCap(raw)) {
        if (error)
            *error = QStringLiteral("L'IMMAGINE %1 E' TROPPO GRANDE: %2 x %3 PIXEL, AL MASSIMO %4 "
                                    "MILIONI DI PIXEL")
                         .arg(name)
                         .arg(raw.width())
                         .arg(raw.height())
                         .arg(kMaxPixels / 1'000'000);
        return {};
    }
    d->size = raw;
    Picture p;
    p.d_ = std::move(d);
    return p;
}

QByteArray Picture::bytes() const {
    return d_ ? d_->bytes : QByteArray();
}

QSize Picture::pixelSize() const {
    return d_ ? d_->size : QSize();
}

QSizeF Picture::naturalTwips() const {
    return d_ ? QSizeF(d_->size) * kTwipsPerPixel : QSizeF();
}

QImage Picture::scaled(QSize size) const {
    if (!d_ || size.isEmpty())
        return {};
    if (size == decodedSize_)
        return decoded_;
    QByteArray bytes = d_->bytes; // shares the data: the buffer only reads it
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    prepare(reader);
    reader.setScaledSize(size);
    reader.setQuality(100);
    QImage image = reader.read();
    if (!image.isNull() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

Picture Picture::decodedAt(QSize size, int cores) const {
    if (size == decodedSize_)
        return *this;
    Picture p = *this;
    if (d_)
        p.decoded_ = decodeShownInBands(d_->bytes, size, cores);
    if (p.decoded_.isNull())
        p.decoded_ = scaled(size);
    p.decodedSize_ = size;
    return p;
}

QImage Picture::fullResolution() const {
    if (!d_)
        return {};
    QByteArray bytes = d_->bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    prepare(reader);
    return reader.read();
}

} // namespace cvx
