// Reading JPEG files through libjpeg as the viewer's decoder reads them, the entropy-coded data
// of a single scan skipped.
#include "pack/scans/jpeg_structure.h"

#include "platform/jpeg_errors.h"

#include <cstdint>
#include <cstring>

namespace cvx::pack {

namespace {
struct Reader {
    jpeg_decompress_struct info{};
    JpegErrors errors;
    int components = 0; // of the pixels decoded

    Reader() {
        info.err = errors.install();
        jpeg_create_decompress(&info);
    }
    ~Reader() { jpeg_destroy_decompress(&info); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
};

// The steps that may jump back: kept free of objects with destructors.
bool readThrough(Reader& r, const QByteArray& jpeg) {
    if (setjmp(r.errors.jump))
        return false;
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    jpeg_mem_src(&r.info, data, static_cast<unsigned long>(jpeg.size()));
    // The markers Qt's reader keeps (comments, EXIF, ICC profile), kept the same way.
    jpeg_save_markers(&r.info, JPEG_COM, 0xFFFF);
    jpeg_save_markers(&r.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&r.info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&r.info, TRUE);
    jpeg_source_mgr& source = *r.info.src;
    // Just past the scan header, unless the header ran past the end of the file.
    const auto scan =
        static_cast<qsizetype>(reinterpret_cast<std::uintptr_t>(source.next_input_byte) -
                               reinterpret_cast<std::uintptr_t>(data));
    if (!jpeg_has_multiple_scans(&r.info) && scan >= 0 && scan <= jpeg.size()) {
        const qsizetype end = entropyDataEnd(jpeg, scan, r.info.restart_interval != 0);
        if (end >= 0) {
            // The decoder finds the marker at once, fills the picture with grey and goes on
            // from there exactly as it would have after the data.
            source.next_input_byte = data + end;
            source.bytes_in_buffer = static_cast<std::size_t>(jpeg.size() - end);
        }
    }
    r.info.scale_num = 1; // an eighth of the size, as a page decoded whole is checked
    r.info.scale_denom = 8;
    jpeg_calc_output_dimensions(&r.info);
    r.components = r.info.output_components;
    if (r.components != 1 && r.components != 3 && r.components != 4)
        return false; // Qt makes pictures of grey, colour and CMYK data only
    JSAMPARRAY row =
        (*r.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&r.info), JPOOL_IMAGE,
                                    r.info.output_width * r.components, 1);
    jpeg_start_decompress(&r.info);
    // Skipped rows go through the entropy decoder but make no pixels. The last row is read:
    // a skip to the very end would stop reading the file there.
    jpeg_skip_scanlines(&r.info, r.info.output_height - 1);
    jpeg_read_scanlines(&r.info, row, 1);
    jpeg_finish_decompress(&r.info);
    return true;
}
} // namespace

qsizetype entropyDataEnd(const QByteArray& jpeg, qsizetype from, bool restarts) {
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const qsizetype size = jpeg.size();
    for (qsizetype at = from; at < size;) {
        const void* found = std::memchr(data + at, 0xFF, static_cast<std::size_t>(size - at));
        if (!found)
            break;
        const qsizetype marker = static_cast<const unsigned char*>(found) - data;
        qsizetype code = marker + 1;
        while (code < size && data[code] == 0xFF) // fill bytes before a marker
            ++code;
        if (code == size)
            return marker;
        const unsigned char c = data[code];
        at = code + 1;
        if (c == 0) // a data byte 0xFF, stuffed
            continue;
        if (!restarts)
            return marker;
        if (c >= 0xD0 && c <= 0xD7) // read by the decoder between restart intervals
            continue;
        // A code below the frame markers is skipped while the decoder looks for a restart
        // marker, but stops it once the last interval is decoded.
        return c >= 0xC0 ? marker : -1;
    }
    return size;
}

QString jpegReadFault(const QByteArray& jpeg) {
    Reader r;
    if (readThrough(r, jpeg))
        return {};
    if (r.errors.message[0])
        return QString::fromLocal8Bit(r.errors.message);
    return QStringLiteral("%1 componenti di colore").arg(r.components);
}

} // namespace cvx::pack
