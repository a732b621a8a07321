// Turning scans upright.
#include "pack/scans/jpeg_turn.h"

#include "pack/scans/jpeg_header.h"

#include <QTransform>
#include <memory>

#include <turbojpeg.h>

namespace cvx::pack {

namespace {
// The transform that undoes each EXIF orientation (2-8).
int transformFor(int orientation) {
    switch (orientation) {
    case 2:
        return TJXOP_HFLIP;
    case 3:
        return TJXOP_ROT180;
    case 4:
        return TJXOP_VFLIP;
    case 5:
        return TJXOP_TRANSPOSE;
    case 6:
        return TJXOP_ROT90;
    case 7:
        return TJXOP_TRANSVERSE;
    case 8:
        return TJXOP_ROT270;
    default:
        return TJXOP_NONE;
    }
}

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
} // namespace

std::optional<QByteArray> turnLosslessly(const QByteArray& jpeg, int orientation) {
    const int op = transformFor(orientation);
    if (op == TJXOP_NONE || jpeg.isEmpty())
        return std::nullopt;
    const std::unique_ptr<void, HandleCloser> handle(tjInitTransform());
    if (!handle)
        return std::nullopt;
    tjtransform transform{};
    transform.op = op;
    transform.options = TJXOPT_PERFECT; // never drop the edge blocks that cannot move
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const int status =
        tjTransform(handle.get(), reinterpret_cast<const unsigned char*>(jpeg.data()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &outSize, &transform, 0);
    const std::unique_ptr<unsigned char, decltype(&tjFree)> owned(out, &tjFree);
    if (status != 0 || !out)
        return std::nullopt;
    return withoutOrientation(QByteArray(reinterpret_cast<const char*>(out), qsizetype(outSize)));
}

QImage turnedUpright(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.transformed(QTransform().rotate(180));
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(270)).mirrored(true, false);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

} // namespace cvx::pack
