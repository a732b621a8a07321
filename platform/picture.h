// A picture loaded from a JPEG file: its bytes are read once, its natural size comes from the
// header, and pixels are decoded only at the size they are shown (or in full, for printing).
// A Picture is an immutable value: copies share its bytes and the decode it carries, and may be
// handed between threads.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <memory>

namespace cvx {

inline constexpr double kTwipsPerPixel = 15.0;

class Picture {
  public:
    Picture() = default;

    // Reads the file and its header. A file that is missing, empty, not a picture or of more
    // than kMaxPixels pixels gives a null Picture and an Italian description in `error`.
    static Picture load(const QString& path, QString* error);

    // The same from bytes already in memory; `name` is used in the error description.
    static Picture fromBytes(const QByteArray& bytes, const QString& name, QString* error);

    [[nodiscard]] bool isNull() const { return !d_; }
    // The file's bytes, as read.
    [[nodiscard]] QByteArray bytes() const;
    // The stored pixels, as they are: an EXIF orientation tag turns nothing (the packing tool
    // applies it when it stores a scan).
    [[nodiscard]] QSize pixelSize() const;
    [[nodiscard]] QSizeF naturalTwips() const; // pixel size x 15

    // This picture carrying its decode at `size` device pixels, made here once; the decode is
    // null when the data cannot be decoded. A JPEG with restart markers at its MCU rows is
    // decoded in bands on up to `cores` threads (the same pixels); any other on this one.
    [[nodiscard]] Picture decodedAt(QSize size, int cores = 1) const;

    // The picture at `size` device pixels: the decode it carries when it is of that size,
    // otherwise one made now and not kept. A null image when the data cannot be decoded.
    [[nodiscard]] QImage scaled(QSize size) const;
    // The size of the decode this picture carries (invalid for none).
    [[nodiscard]] QSize decodedSize() const { return decodedSize_; }

    // The picture at full resolution, for printing.
    [[nodiscard]] QImage fullResolution() const;

    // Sets Qt's decoder allocation limit, which is process-wide and not thread-safe, once at
    // start-up before any thread decodes: high enough for the largest picture allowed at full
    // resolution. Each read is guarded by kMaxPixels from its header instead. Also keeps every
    // thread's allocations in one malloc arena, big ones included, and its pages between
    // pictures (see the definition).
    static void configureDecoding();
    static constexpr int kAllocationLimitMb = 1024;
    // Free memory the heap keeps at its top for the next pages rather than give back.
    static constexpr int kKeptFreeMb = 256;

    // Most pixels a picture may have; larger ones are refused from their header, before any
    // decoding: a JPEG decoder buffers a progressive picture at full size whatever size is
    // asked of it, beyond the reach of the allocation guard.
    static constexpr qint64 kMaxPixels = 256'000'000;

    // True when the header claims more than kMaxPixels pixels.
    [[nodiscard]] static bool tooLarge(const QByteArray& bytes);

  private:
    struct Data;
    std::shared_ptr<const Data> d_; // the bytes and their size, shared by every copy
    QSize decodedSize_;             // the size of the decode this value carries
    QImage decoded_;                // that decode (QImage is itself an implicitly shared value)
};

} // namespace cvx
