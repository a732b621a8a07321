// The scrambled head of archive entries: head byte i (1-based, i <= 3852) is stored as the
// image byte plus the entry's byte 3853 + i, modulo 256; the tail is stored unchanged.
#pragma once

#include <QByteArray>

namespace cvx::archive {

inline constexpr qsizetype kHeadLength = 3852;
inline constexpr qsizetype kMinEntryLength =
    2 * kHeadLength + 1; // 7705: every head byte has a partner

// Restores a stored entry in place. Returns false, leaving `entry` unchanged, when it is
// shorter than kMinEntryLength.
[[nodiscard]] bool restoreEntry(QByteArray& entry);

// The inverse, used by the packer. Returns false, unchanged, when the image is too short.
[[nodiscard]] bool scrambleEntry(QByteArray& image);

} // namespace cvx::archive
