// The scrambled head of archive entries.
#include "archive/entry_restore.h"

namespace cvx::archive {

namespace {
bool shiftHead(QByteArray& bytes, int sign) {
    if (bytes.size() < kMinEntryLength)
        return false;
    auto* p = reinterpret_cast<unsigned char*>(bytes.data());
    // Head byte i (0-based) pairs with byte kHeadLength + 1 + i (0-based), which the loop never
    // writes, so the result does not depend on the order of the loop.
    for (qsizetype i = 0; i < kHeadLength; ++i)
        p[i] = static_cast<unsigned char>(p[i] + sign * p[kHeadLength + 1 + i]);
    return true;
}
} // namespace

bool restoreEntry(QByteArray& entry) {
    return shiftHead(entry, -1);
}

bool scrambleEntry(QByteArray& image) {
    return shiftHead(image, +1);
}

} // namespace cvx::archive
