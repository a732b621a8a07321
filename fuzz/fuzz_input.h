// Helpers of the fuzz targets: the input as bytes, and reads as the viewer's positioned reads
// give them.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace cvx::fuzz {

// The input, without copying it.
[[nodiscard]] inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

// Up to `count` bytes at 1-based `position` of `file`: fewer past its end, none before its start.
[[nodiscard]] inline QByteArray readAt(const QByteArray& file, qint64 position, qint64 count) {
    if (position < 1 || position > file.size() || count < 0)
        return {};
    return file.mid(position - 1, count);
}

// A property every input must keep; a broken one is a finding, reported as a crash.
inline void require(bool holds) {
    if (!holds)
        std::abort();
}

} // namespace cvx::fuzz
