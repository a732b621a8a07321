// Lossless re-encoding through libjpeg's transcoding interface: the coefficients are read, never
// decoded to pixels, and written again.
#include "pack/scans/jpeg_optimize.h"

#include "platform/jpeg_bands.h"
#include "platform/jpeg_errors.h"

#include <cstdlib>
#include <cstring>

namespace cvx::pack {

namespace {
bool isMarker(const jpeg_marker_struct* m, int code, const char* name, unsigned length) {
    return m->marker == code && m->data_length >= length && std::memcmp(m->data, name, length) == 0;
}

// The markers kept from the original, except those the encoder writes itself.
void copyMarkers(j_decompress_ptr source, j_compress_ptr target) {
    for (jpeg_saved_marker_ptr m = source->marker_list; m; m = m->next) {
        if (target->write_JFIF_header && isMarker(m, JPEG_APP0, "JFIF", 5))
            continue;
        if (target->write_Adobe_marker && isMarker(m, JPEG_APP0 + 14, "Adobe", 5))
            continue;
        jpeg_write_marker(target, m->marker, m->data, m->data_length);
    }
}

// Both structures live here so that a jump back from the error handler finds them to destroy.
struct Transcoder {
    jpeg_decompress_struct source{};
    jpeg_compress_struct target{};
    JpegErrors errors; // shared: one place to jump back to
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;

    Transcoder() {
        source.err = errors.install();
        target.err = &errors.base;
        jpeg_create_decompress(&source);
        jpeg_create_compress(&target);
    }
    ~Transcoder() {
        jpeg_destroy_compress(&target);
        jpeg_destroy_decompress(&source);
        std::free(output);
    }
    Transcoder(const Transcoder&) = delete;
    Transcoder& operator=(const Transcoder&) = delete;
};

// The steps that may jump back: kept free of objects with destructors.
bool transcode(Transcoder& t, const QByteArray& jpeg, OptimizedJpeg& result) {
    if (setjmp(t.errors.jump))
        return false;
    jpeg_mem_src(&t.source, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_save_markers(&t.source, JPEG_COM, 0xFFFF);
    for (int i = 0; i < 16; ++i)
        jpeg_save_markers(&t.source, JPEG_APP0 + i, 0xFFFF);
    jpeg_read_header(&t.source, TRUE);
    result.progressive = jpeg_has_multiple_scans(&t.source);
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&t.source);
    if (t.errors.base.num_warnings > 0)
        return false; // damaged data would be written down as if it were the picture
    jpeg_mem_dest(&t.target, &t.output, &t.outputSize);
    jpeg_copy_critical_parameters(&t.source, &t.target);
    t.target.optimize_coding = TRUE;
    t.target.arith_code = FALSE;
    // A restart marker after every MCU row: the viewer decodes such a scan in bands on every
    // core. The coefficients, hence the pixels, are the same.
    t.target.restart_in_rows = 1;
    jpeg_write_coefficients(&t.target, coefficients);
    copyMarkers(&t.source, &t.target);
    jpeg_finish_compress(&t.target);
    jpeg_finish_decompress(&t.source);
    return t.errors.base.num_warnings == 0;
}
} // namespace

OptimizedJpeg optimizeJpeg(const QByteArray& jpeg) {
    OptimizedJpeg result;
    Transcoder t;
    if (!transcode(t, jpeg, result)) {
        result.problem = t.errors.message[0]
                             ? QString::fromLocal8Bit(t.errors.message)
                             : QStringLiteral("il file JPEG contiene dati danneggiati");
        return result;
    }
    result.bytes =
        QByteArray(reinterpret_cast<const char*>(t.output), static_cast<qsizetype>(t.outputSize));
    result.restartsAdded = !bandLayout(jpeg) && bandLayout(result.bytes);
    return result;
}

bool worthStoring(const QByteArray& original, const OptimizedJpeg& optimized) {
    if (optimized.bytes.isEmpty())
        return false;
    return optimized.progressive || optimized.restartsAdded ||
           optimized.bytes.size() < original.size();
}

} // namespace cvx::pack
