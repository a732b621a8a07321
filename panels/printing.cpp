// Printing the current sheet on the system's default printer, after the reader has confirmed
// the printer's parameters. The page goes to the printer at full resolution.
#include "app/bookform.h"

#include "panels/print_layout.h"
#include "platform/printer.h"

#include <QDir>

namespace cvx {

namespace {
// Without a usable printer nothing is printed and the viewer goes on.
void notPrinted(Platform& platform, const QString& text) {
    platform.messageBox(text, kStyleCritical, QStringLiteral("- A T T E N Z I O N E -"));
}

// Prints the scan as it was read, not the smaller picture decoded for the screen.
void printSheet(Platform& platform, Printer& printer, const Picture& page,
                const printing::Placement& place, const QString& workImagePath) {
    const QImage sheet = page.fullResolution();
    if (sheet.isNull()) {
        notPrinted(platform, QStringLiteral("La pagina non puo' essere letta per la stampa: ") +
                                 QDir::toNativeSeparators(workImagePath));
        return;
    }
    const QString failure =
        printer.printPage(sheet, QRectF(place.x, printing::kTop, place.width, place.height));
    if (!failure.isEmpty())
        notPrinted(platform, QStringLiteral("La stampante %1 non ha stampato la pagina: %2.")
                                 .arg(printer.DeviceName(), failure));
}
} // namespace

void BookForm::Command2_Click() {
    Picture1->setVisible(false);
    const std::unique_ptr<Printer> printer = platform_.defaultPrinter();
    if (!printer)
        return notPrinted(
            platform_,
            QStringLiteral("Nessuna stampante predefinita: la pagina non viene stampata."));
    const QSizeF area = printer->printableArea();
    if (area.isEmpty())
        return notPrinted(platform_, QStringLiteral("La stampante %1 non indica l'area di stampa: "
                                                    "la pagina non viene stampata.")
                                         .arg(printer->DeviceName()));
    if (Image1->picture().isNull())
        return notPrinted(platform_, QStringLiteral("Nessuna pagina da stampare."));
    Picture4->setPicture(Image1->picture());
    const printing::Placement placed =
        printing::placement(area.width(), area.height(), Picture4->Width(), Picture4->Height());
    showWindow();
    MessageText = printing::orientationWord(printer->Orientation());
    NoticeText = printing::confirmationText(printer->DeviceName(), MessageText, area.width(),
                                            area.height(), placed);
    if (platform_.messageBox(NoticeText, kStyleYesNoCritical, printing::kConfirmationTitle) ==
        kAnswerYes)
        printSheet(platform_, *printer, Picture4->picture(), placed, WorkImagePath);
}

void BookForm::Image10_Click() {
    Command2_Click();
}

} // namespace cvx
