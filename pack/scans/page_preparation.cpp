// Page scans made ready for an archive.
#include "pack/scans/page_preparation.h"

#include "pack/scans/jpeg2000.h"
#include "pack/scans/jpeg_header.h"
#include "pack/scans/jpeg_structure.h"
#include "pack/scans/jpeg_turn.h"
#include "pack/volume/volume_writer.h"
#include "platform/picture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

namespace cvx::pack {

namespace {
// JPEG has no transparency: transparent parts show the white of the paper.
QImage opaque(const QImage& image) {
    if (image.isGrayscale() && !image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_Grayscale8);
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.setColorSpace(image.colorSpace());
    flat.setDotsPerMeterX(image.dotsPerMeterX());
    flat.setDotsPerMeterY(image.dotsPerMeterY());
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}
} // namespace

QByteArray scanFormat(const QByteArray& bytes) {
    if (QByteArray jpeg2000 = jpeg2000Format(bytes); !jpeg2000.isEmpty())
        return jpeg2000;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer);
}

QSize headerSize(const QByteArray& bytes) {
    if (!jpeg2000Format(bytes).isEmpty())
        return jpeg2000Size(bytes);
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

QString formatProblem(const QByteArray& format) {
    if (format.isEmpty())
        return QStringLiteral("il file non contiene un'immagine leggibile");
    if (format == "jpeg" || convertible(format))
        return {};
    return QStringLiteral("il formato %1 non è ammesso: solo JPEG, PNG, TIFF o JPEG 2000")
        .arg(QString::fromLatin1(format));
}

bool convertible(const QByteArray& format) {
    return format == "png" || format == "tiff" || format == "jp2" || format == "j2k";
}

namespace {
// The value of a numeric tag in the first directory of a classic TIFF file; -1 when absent.
qint64 tiffTag(QByteArrayView tiff, int tag) {
    const bool little = tiff.startsWith("II");
    const auto number = [&](qint64 at, int length) -> qint64 {
        if (at < 0 || at + length > tiff.size())
            return -1;
        const char* p = tiff.data() + at;
        if (length == 2)
            return little ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
        return little ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
    };
    const qint64 directory = number(4, 4);
    const qint64 entries = number(directory, 2);
    for (qint64 e = 0; e < entries; ++e) {
        const qint64 at = directory + 2 + 12 * e;
        if (number(at, 2) == tag)
            return number(at + 8, number(at + 2, 2) == 3 ? 2 : 4); // SHORT or LONG
    }
    return -1;
}
} // namespace

QString conversionProblem(const QByteArray& scan) {
    if (scanFormat(scan) != "tiff")
        return {};
    const qint64 photometric = tiffTag(scan, 262);
    // Qt's TIFF reader drops the alpha of grey pictures and cannot read separated colours.
    if ((photometric == 0 || photometric == 1) && tiffTag(scan, 277) > 1)
        return QStringLiteral("il TIFF in grigi con canale alfa non si converte: salvarlo senza "
                              "trasparenza o in PNG");
    if (photometric == 5)
        return QStringLiteral("il TIFF è in CMYK: salvarlo in RGB");
    return {};
}

QImage readConvertible(const QByteArray& scan, bool upright, QString* problem) {
    if (*problem = conversionProblem(scan); !problem->isEmpty())
        return {};
    if (!jpeg2000Format(scan).isEmpty())
        return readJpeg2000(scan, Picture::kMaxPixels, problem);
    QByteArray bytes = scan;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(upright);
    QImage image = reader.read();
    if (image.isNull())
        *problem = QStringLiteral("l'immagine non si può leggere (%1)").arg(reader.errorString());
    return image;
}

namespace {
// The picture as the viewer takes it from an entry's bytes, or why it refuses it from its header.
Picture pictureOf(const QByteArray& entry, QString* problem) {
    Picture picture = Picture::fromBytes(entry, QStringLiteral("immagine"), nullptr);
    if (!picture.isNull())
        return picture;
    const QSize size = headerSize(entry);
    if (qint64(size.width()) * size.height() > Picture::kMaxPixels)
        *problem = QStringLiteral("l'immagine è di %1 x %2 pixel, al massimo %3 milioni di pixel")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(Picture::kMaxPixels / 1'000'000);
    else
        *problem = QStringLiteral("il file non contiene un'immagine leggibile");
    return picture;
}
} // namespace

QString decodeProblem(const QByteArray& image) {
    QString problem;
    const Picture picture = pictureOf(padded(image), &problem);
    if (picture.isNull())
        return problem;
    const QSize full = picture.pixelSize();
    const QSize eighth(std::max(1, (full.width() + 7) / 8), std::max(1, (full.height() + 7) / 8));
    if (picture.scaled(eighth).isNull())
        return QStringLiteral("l'immagine JPEG non si può decodificare");
    return {};
}

QString scanProblem(const QByteArray& jpeg) {
    if (!jpegComplete(jpeg))
        return QStringLiteral("il file JPEG è troncato: manca la fine dell'immagine");
    QString problem;
    const QByteArray entry = padded(jpeg);
    if (pictureOf(entry, &problem).isNull())
        return problem;
    if (const QString fault = jpegReadFault(entry); !fault.isEmpty())
        return QStringLiteral("l'immagine JPEG non si può decodificare (%1)").arg(fault);
    return {};
}

bool jpegComplete(const QByteArray& jpeg) {
    // Inside a scan every 0xFF byte is followed by 0x00 or a restart marker, so the last
    // end-of-image marker found is a real one, and so is a start-of-scan marker after it.
    const qsizetype end = jpeg.lastIndexOf(QByteArrayView("\xff\xd9", 2));
    return end >= 0 && QByteArrayView(jpeg).sliced(end).indexOf(QByteArrayView("\xff\xda", 2)) < 0;
}

namespace {
// `image` encoded as the JPEG to store, checked as the viewer will decode it.
void encodeInto(PreparedImage& r, const QImage& image, int quality) {
    r.image.clear();
    QBuffer buffer(&r.image);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(opaque(image))) {
        r.problem =
            QStringLiteral("la conversione in JPEG non è riuscita (%1)").arg(writer.errorString());
        return;
    }
    r.problem = decodeProblem(r.image);
}

// A sound JPEG scan whose EXIF orientation asks for a turn, turned upright.
void turnUpright(PreparedImage& r, int orientation, int quality) {
    r.turned = orientation;
    if (const auto lossless = turnLosslessly(r.image, orientation)) {
        r.turnedLosslessly = true;
        r.image = *lossless;
        r.problem = decodeProblem(r.image);
        return;
    }
    const QImage image = readConvertible(r.image, false, &r.problem);
    if (!image.isNull())
        encodeInto(r, turnedUpright(image, orientation), quality);
}
} // namespace

PreparedImage prepareImage(const QByteArray& scan, int quality) {
    PreparedImage r;
    const QByteArray format = scanFormat(scan);
    if (format == "jpeg") {
        r.image = scan;
        r.problem = scanProblem(scan);
        const int orientation = readJpegHeader(scan).orientation;
        if (r.problem.isEmpty() && orientation != 1)
            turnUpright(r, orientation, quality);
        return r;
    }
    if (!convertible(format)) {
        r.problem = formatProblem(format);
        return r;
    }
    const QImage image = readConvertible(scan, true, &r.problem);
    if (image.isNull())
        return r;
    r.converted = true;
    encodeInto(r, image, quality);
    return r;
}

} // namespace cvx::pack
