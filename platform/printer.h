// The system's default printer as the viewer uses it: its name, orientation and printable area
// in millimetres, and one page with one picture drawn into a rectangle.
#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

namespace cvx {

class Printer {
  public:
    virtual ~Printer() = default;

    [[nodiscard]] virtual QString DeviceName() const = 0;

    // 1 for portrait, 2 for landscape.
    [[nodiscard]] virtual int Orientation() const = 0;

    // Width and height of the printable area in millimetres.
    [[nodiscard]] virtual QSizeF printableArea() const = 0;

    // Draws `image` scaled into `area` (millimetres from the printable area's top-left corner)
    // on one page and ends the document. An empty text when the page went to the printer,
    // otherwise a short Italian description of the failure.
    [[nodiscard]] virtual QString printPage(const QImage& image, const QRectF& area) = 0;
};

// The orientation print options in CUPS's option syntax ask for ("landscape",
// "orientation-requested=3"): 1 portrait, 2 landscape, 0 when they say nothing of it.
[[nodiscard]] int optionsOrientation(const QByteArray& options);

// The system's default printer at its own resolution, or null when the system has none.
[[nodiscard]] std::unique_ptr<Printer> openDefaultPrinter();

} // namespace cvx
