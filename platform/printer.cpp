// The default printer through Qt Print Support.
#include "platform/printer.h"

#include "platform/platform.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace cvx {

namespace {
class QtPrinter : public Printer {
public:
    explicit QtPrinter(const QPrinterInfo& info) : printer_(info, QPrinter::HighResolution) {}

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
