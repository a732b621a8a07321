// JPEG 2000 masters read through OpenJPEG.
#include "pack/scans/jpeg2000.h"

#include <QColorSpace>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <openjpeg.h>

namespace cvx::pack {

QByteArray jpeg2000Format(const QByteArray& bytes) {
    if (bytes.startsWith(QByteArrayView("\x00\x00\x00\x0cjP  \r\n\x87\n", 12)))
        return "jp2";
    if (bytes.startsWith(QByteArrayView("\xff\x4f\xff\x51", 4)))
        return "j2k";
    return {};
}

namespace {
struct Source {
    const QByteArray* bytes;
    qint64 at = 0;
};

OPJ_SIZE_T readFrom(void* out, OPJ_SIZE_T wanted, void* user) {
    auto* s = static_cast<Source*>(user);
    const qint64 left = s->bytes->size() - s->at;
    if (left <= 0)
        return static_cast<OPJ_SIZE_T>(-1); // OpenJPEG's end of stream
    const auto count = static_cast<OPJ_SIZE_T>(std::min<qint64>(left, qint64(wanted)));
    std::memcpy(out, s->bytes->constData() + s->at, count);
    s->at += qint64(count);
    return count;
}

OPJ_OFF_T skipIn(OPJ_OFF_T by, void* user) {
    auto* s = static_cast<Source*>(user);
    const qint64 to = std::clamp<qint64>(s->at + by, 0, s->bytes->size());
    const OPJ_OFF_T moved = to - s->at;
    s->at = to;
    return moved;
}

OPJ_BOOL seekTo(OPJ_OFF_T to, void* user) {
    auto* s = static_cast<Source*>(user);
    if (to < 0 || to > s->bytes->size())
        return OPJ_FALSE;
    s->at = to;
    return OPJ_TRUE;
}

void keepFirstError(const char* message, void* user) {
    auto* text = static_cast<QString*>(user);
    if (text->isEmpty())
        *text = QString::fromUtf8(message).trimmed();
}

// A decoder over `bytes` that has read the headers; everything is freed with it.
class Decoder {
  public:
    Decoder(const QByteArray& bytes, const QByteArray& format) : source_{&bytes} {
        stream_ = opj_stream_default_create(OPJ_TRUE);
        opj_stream_set_user_data(stream_, &source_, nullptr);
        opj_stream_set_user_data_length(stream_, static_cast<OPJ_UINT64>(bytes.size()));
        opj_stream_set_read_function(stream_, readFrom);
        opj_stream_set_skip_function(stream_, skipIn);
        opj_stream_set_seek_function(stream_, seekTo);
        codec_ = opj_create_decompress(format == "jp2" ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
        opj_set_error_handler(codec_, keepFirstError, &error);
        opj_dparameters_t parameters;
        opj_set_default_decoder_parameters(&parameters);
        read_ = opj_setup_decoder(codec_, &parameters) &&
                opj_read_header(stream_, codec_, &image) && image;
    }
    ~Decoder() {
        if (image)
            opj_image_destroy(image);
        opj_destroy_codec(codec_);
        opj_stream_destroy(stream_);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    [[nodiscard]] bool headerRead() const { return read_; }
    [[nodiscard]] QSize size() const {
        return read_ ? QSize(int(image->x1 - image->x0), int(image->y1 - image->y0)) : QSize();
    }
    [[nodiscard]] bool decode() {
        return read_ && opj_decode(codec_, stream_, image) && opj_end_decompress(codec_, stream_);
    }

    opj_image_t* image = nullptr;
    QString error; // OpenJPEG's first error message

  private:
    Source source_;
    opj_stream_t* stream_ = nullptr;
    opj_codec_t* codec_ = nullptr;
    bool read_ = false;
};

// Why the decoded components cannot be made into grey or RGB pixels; empty when they can.
QString componentsProblem(const opj_image_t& im, QSize size) {
    if (im.color_space == OPJ_CLRSPC_SYCC || im.color_space == OPJ_CLRSPC_EYCC ||
        im.color_space == OPJ_CLRSPC_CMYK)
        return QStringLiteral("il JPEG 2000 ha i colori in YCC o CMYK: solo grigi o RGB");
    if (im.numcomps < 1 || im.numcomps > 4)
        return QStringLiteral("il JPEG 2000 ha %1 componenti: al più 4 (RGB e alfa)")
            .arg(im.numcomps);
    for (OPJ_UINT32 c = 0; c < im.numcomps; ++c) {
        const opj_image_comp_t& comp = im.comps[c];
        if (comp.dx != 1 || comp.dy != 1 || int(comp.w) != size.width() ||
            int(comp.h) != size.height() || !comp.data)
            return QStringLiteral("il JPEG 2000 ha componenti a risoluzione ridotta");
        if (comp.prec < 1 || comp.prec > 16)
            return QStringLiteral("il JPEG 2000 ha campioni di %1 bit: al più 16").arg(comp.prec);
    }
    return {};
}

// A sample of `comp` scaled to 0..255.
int eightBit(const opj_image_comp_t& comp, qsizetype at) {
    const qint64 most = (qint64(1) << comp.prec) - 1;
    const qint64 value = qint64(comp.data[at]) + (comp.sgnd ? qint64(1) << (comp.prec - 1) : 0);
    return int((std::clamp<qint64>(value, 0, most) * 255 + most / 2) / most);
}

QImage pixelsOf(const opj_image_t& im, QSize size) {
    const int n = int(im.numcomps);
    QImage out(size, n == 1   ? QImage::Format_Grayscale8
                     : n == 3 ? QImage::Format_RGB32
                              : QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    const opj_image_comp_t* c = im.comps;
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = out.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const qsizetype at = qsizetype(y) * size.width() + x;
            const int first = eightBit(c[0], at);
            if (n == 1)
                line[x] = uchar(first);
            else
                reinterpret_cast<QRgb*>(line)[x] =
                    n == 2 ? qRgba(first, first, first, eightBit(c[1], at))
                    : n == 3
                        ? qRgb(first, eightBit(c[1], at), eightBit(c[2], at))
                        : qRgba(first, eightBit(c[1], at), eightBit(c[2], at), eightBit(c[3], at));
        }
    }
    return out;
}

// The payload of the first box of `type` among the boxes laid end to end in `data`.
QByteArrayView boxIn(QByteArrayView data, QByteArrayView type) {
    qsizetype at = 0;
    while (data.size() - at >= 8) {
        quint64 length = qFromBigEndian<quint32>(data.data() + at);
        qsizetype header = 8;
        if (length == 1 && data.size() - at >= 16) {
            length = qFromBigEndian<quint64>(data.data() + at + 8);
            header = 16;
        } else if (length == 0) {
            length = quint64(data.size() - at); // the last box runs to the end
        }
        if (length < quint64(header) || length > quint64(data.size() - at))
            return {};
        if (data.sliced(at + 4, 4) == type)
            return data.sliced(at + header, qsizetype(length) - header);
        at += qsizetype(length);
    }
    return {};
}

// Grid points per metre from a resolution box's numerator, denominator and exponent of ten.
int perMetre(QByteArrayView box, int at, int exponentAt) {
    const int numerator = qFromBigEndian<quint16>(box.data() + at);
    const int denominator = qFromBigEndian<quint16>(box.data() + at + 2);
    const int exponent = static_cast<qint8>(box[exponentAt]);
    if (denominator == 0 || exponent < -9 || exponent > 9)
        return 0;
    const double value = double(numerator) / denominator * std::pow(10.0, exponent);
    return value < 1e6 ? int(std::lround(value)) : 0;
}
} // namespace

std::pair<int, int> jpeg2000DotsPerMeter(const QByteArray& bytes) {
    const QByteArrayView resolution = boxIn(boxIn(bytes, "jp2h"), "res ");
    QByteArrayView box = boxIn(resolution, "resc");
    if (box.size() < 10)
        box = boxIn(resolution, "resd");
    if (box.size() < 10)
        return {0, 0};
    return {perMetre(box, 4, 9), perMetre(box, 0, 8)};
}

QSize jpeg2000Size(const QByteArray& bytes) {
    const QByteArray format = jpeg2000Format(bytes);
    return format.isEmpty() ? QSize() : Decoder(bytes, format).size();
}

QImage readJpeg2000(const QByteArray& bytes, qint64 maxPixels, QString* problem) {
    Decoder decoder(bytes, jpeg2000Format(bytes));
    const QSize size = decoder.size();
    if (!decoder.headerRead() || size.isEmpty()) {
        *problem = QStringLiteral("il JPEG 2000 non si può leggere (%1)").arg(decoder.error);
        return {};
    }
    if (qint64(size.width()) * size.height() > maxPixels) {
        *problem = QStringLiteral("l'immagine è di %1 x %2 pixel, al massimo %3 milioni di pixel")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(maxPixels / 1'000'000);
        return {};
    }
    if (!decoder.decode()) {
        *problem = QStringLiteral("il JPEG 2000 non si può decodificare (%1)").arg(decoder.error);
        return {};
    }
    if (*problem = componentsProblem(*decoder.image, size); !problem->isEmpty())
        return {};
    QImage image = pixelsOf(*decoder.image, size);
    if (decoder.image->icc_profile_len > 0)
        image.setColorSpace(QColorSpace::fromIccProfile(
            QByteArray(reinterpret_cast<const char*>(decoder.image->icc_profile_buf),
                       qsizetype(decoder.image->icc_profile_len))));
    const auto [x, y] = jpeg2000DotsPerMeter(bytes);
    if (x > 0 && y > 0) {
        image.setDotsPerMeterX(x);
        image.setDotsPerMeterY(y);
    }
    return image;
}

} // namespace cvx::pack
