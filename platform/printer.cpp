// The default printer through Qt Print Support.
#include "platform/printer.h"

#include "platform/platform.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <optional>

namespace cvx {

namespace {
// IPP's orientation-requested values.
std::optional<QPageLayout::Orientation> fromIpp(int value) {
    switch (value) {
    case IPP_ORIENT_PORTRAIT:
    case IPP_ORIENT_REVERSE_PORTRAIT:
        return QPageLayout::Portrait;
    case IPP_ORIENT_LANDSCAPE:
    case IPP_ORIENT_REVERSE_LANDSCAPE:
        return QPageLayout::Landscape;
    default:
        return std::nullopt;
    }
}

// The orientation `options` ask for: 1 portrait, 2 landscape, 0 none. IPP's
// orientation-requested first, then the `landscape` option that `lp -o landscape`, lpoptions and
// many desktop printer panels set ("nolandscape" is false).
int orientationOf(int count, cups_option_t* options) {
    if (const char* value = cupsGetOption("orientation-requested", count, options)) {
        const auto o = fromIpp(QByteArray(value).toInt());
        return o ? (*o == QPageLayout::Portrait ? 1 : 2) : 0;
    }
    if (const char* value = cupsGetOption("landscape", count, options)) {
        const QByteArray v = QByteArray(value).trimmed().toLower();
        return v == "false" || v == "no" || v == "off" || v == "0" ? 1 : 2;
    }
    return 0;
}

// The orientation the queue `name` prints in by default: the reader's or the system's options
// for it (lpoptions), otherwise the queue's own default. Qt starts every CUPS printer in
// portrait whatever these say.
std::optional<QPageLayout::Orientation> queueOrientation(const QString& name) {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const QByteArray queue = name.section(QLatin1Char('/'), 0, 0).toUtf8();
    const QByteArray instance = name.section(QLatin1Char('/'), 1).toUtf8();
    cups_dest_t* dest = cupsGetDest(
        queue.constData(), instance.isEmpty() ? nullptr : instance.constData(), count, dests);
    std::optional<QPageLayout::Orientation> orientation;
    if (dest) {
        if (const int o = orientationOf(dest->num_options, dest->options); o != 0) {
            orientation = o == 1 ? QPageLayout::Portrait : QPageLayout::Landscape;
        } else if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
            if (ipp_attribute_t* d =
                    cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "orientation-requested"))
                orientation = fromIpp(ippGetInteger(d, 0));
            cupsFreeDestInfo(info);
        }
    }
    cupsFreeDests(count, dests);
    return orientation;
}

class QtPrinter : public Printer {
  public:
    explicit QtPrinter(const QPrinterInfo& info) : printer_(info, QPrinter::HighResolution) {
        if (const auto orientation = queueOrientation(info.printerName()))
            printer_.setPageOrientation(*orientation);
    }

    QString DeviceName() const override { return printer_.printerName(); }

    int Orientation() const override {
        return printer_.pageLayout().orientation() == QPageLayout::Portrait ? 1 : 2;
    }

    QSizeF printableArea() const override {
        return printer_.pageLayout().paintRect(QPageLayout::Millimeter).size();
    }

    QString printPage(const QImage& image, const QRectF& area) override {
        QPainter painter;
        if (!painter.begin(&printer_))
            return QStringLiteral("la stampante non accetta il lavoro");
        // The painter works in the printer's own dots, from the printable area's corner.
        const double dotsPerMmX = printer_.logicalDpiX() / 25.4;
        const double dotsPerMmY = printer_.logicalDpiY() / 25.4;
        const QRectF target(area.left() * dotsPerMmX, area.top() * dotsPerMmY,
                            area.width() * dotsPerMmX, area.height() * dotsPerMmY);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image);
        if (!painter.end() || printer_.printerState() == QPrinter::Error)
            return QStringLiteral("errore durante l'invio della pagina alla stampante");
        return {};
    }

  private:
    QPrinter printer_;
};
} // namespace

int optionsOrientation(const QByteArray& options) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(options.constData(), 0, &parsed);
    const int orientation = orientationOf(count, parsed);
    cupsFreeOptions(count, parsed);
    return orientation;
}

std::unique_ptr<Printer> openDefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QtPrinter>(info);
}

std::unique_ptr<Printer> Platform::defaultPrinter() {
    return openDefaultPrinter();
}

} // namespace cvx
