// Writing the proof sheet's HTML.
#include "pack/proof/proof_sheet.h"

#include "app/text_rules.h"
#include "archive/label_rules.h"

#include <QBuffer>
#include <QImageWriter>

namespace cvx::pack {

namespace {
// A stored heading as the viewer shows it: the final NUL dropped, a carriage return a new line.
QString shown(const QString& stored) {
    QString text = stored;
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return displayText(text).toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString dataUri(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(80);
    if (!writer.write(image))
        return {};
    return QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(bytes.toBase64());
}

// The findings of a page (page >= 0) or of a book and its runs of pages (page < 0). A run of
// pages is told once over the book, and each of its pages points there.
QString findingItems(const QList<Finding>& findings, int book, int page) {
    QString items;
    for (const Finding& f : findings) {
        if (f.book != book)
            continue;
        const bool run = f.firstPage >= 0 && f.firstPage != f.lastPage;
        const bool inRun = run && f.firstPage <= page && page <= f.lastPage;
        if (page < 0 ? f.firstPage < 0 || run : f.firstPage == page && !run)
            items += QStringLiteral("<li class=\"%1\">%2</li>")
                         .arg(severityName(f.severity), f.text.toHtmlEscaped());
        else if (inRun)
            items += QStringLiteral("<li class=\"%1\">vedi la segnalazione del libro, sopra</li>")
                         .arg(severityName(f.severity));
    }
    return items.isEmpty() ? QString() : QStringLiteral("<ul class=\"avvisi\">%1</ul>").arg(items);
}

QString pageFigure(const ProofPage& page, const QString& items) {
    const QString picture =
        page.thumbnail.isNull()
            ? QStringLiteral("<div class=\"illeggibile\">immagine illeggibile</div>")
            : QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"%4\">")
                  .arg(dataUri(page.thumbnail), QString::number(page.thumbnail.width()),
                       QString::number(page.thumbnail.height()), page.label.toHtmlEscaped());
    return QStringLiteral("<figure class=\"pagina%1\" title=\"%2\">%3<figcaption>%4</figcaption>"
                          "%5</figure>\n")
        .arg(items.isEmpty() ? QString() : QStringLiteral(" segnalata"),
             page.source.toHtmlEscaped(), picture, page.label.toHtmlEscaped(), items);
}

QString bookSection(const ProofSheet& sheet, int b) {
    const ProofBook& book = sheet.books[b];
    QString figures;
    for (int p = 0; p < book.pages.size(); ++p)
        figures += pageFigure(book.pages[p], findingItems(sheet.findings, b, p));
    return QStringLiteral("<section class=\"libro\"><h2>%1</h2><p class=\"numerazione\">%2 · %3 "
                          "pagine · %4</p>%5<div class=\"griglia\">\n%6</div></section>\n")
        .arg(book.label.toHtmlEscaped(),
             numberingText(book.kind, book.side, book.firstNumber).toHtmlEscaped(),
             QString::number(book.pages.size()), book.archive.toHtmlEscaped(),
             findingItems(sheet.findings, b, -1), figures);
}

const char* const kStyle =
    "body{font-family:serif;margin:2em;background:#faf7f0;color:#222}"
    "header.titolo{text-align:center;border-bottom:1px solid #999;margin-bottom:1em}"
    ".griglia{display:flex;flex-wrap:wrap;gap:12px}"
    "figure.pagina{margin:0;padding:6px;background:#fff;border:1px solid #ccc;text-align:center;"
    "max-width:260px}"
    "figure.segnalata{border:3px solid #c60}"
    "figcaption{font:bold 1.1em monospace;margin-top:4px}"
    ".illeggibile{width:160px;height:240px;background:#eee;display:flex;align-items:center;"
    "justify-content:center}"
    "ul.avvisi{text-align:left;font-size:.8em;padding-left:1.2em}"
    "li.errore{color:#b00}li.avviso{color:#a50}li.nota{color:#555}";
} // namespace

QString numberingText(int kind, const QString& side, int firstNumber) {
    const QString what = kind == labels::Sheets     ? QStringLiteral("fogli")
                         : kind == labels::Pages    ? QStringLiteral("pagine")
                         : kind == labels::Openings ? QStringLiteral("pagine doppie")
                                                    : QStringLiteral("numerazione %1").arg(kind);
    return QStringLiteral("%1, la prima a %2, dal numero %3")
        .arg(what,
             labels::firstOnRight(side) ? QStringLiteral("destra") : QStringLiteral("sinistra"),
             QString::number(firstNumber));
}

QByteArray proofHtml(const ProofSheet& sheet) {
    int pages = 0;
    for (const ProofBook& b : sheet.books)
        pages += static_cast<int>(b.pages.size());
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"it\"><head><meta charset=\"utf-8\">"
                       "<title>Bozza: %1</title><style>%2</style></head><body>\n")
            .arg(shown(sheet.title), QLatin1String(kStyle));
    html += QStringLiteral("<header class=\"titolo\"><h1>%1</h1><p class=\"seconda\">%2</p>"
                           "<p class=\"anno\">%3</p><p class=\"crediti\">Editore %4 · Stampato in "
                           "%5 nel %3</p></header>\n")
                .arg(shown(sheet.title), shown(sheet.secondLine), shown(sheet.year),
                     shown(sheet.publisher), shown(sheet.place));
    html += QStringLiteral("<p class=\"riepilogo\">Bozza di %1: %2 libri, %3 pagine.</p>%4\n")
                .arg(sheet.source.toHtmlEscaped(), QString::number(sheet.books.size()),
                     QString::number(pages), findingItems(sheet.findings, -1, -1));
    for (int b = 0; b < sheet.books.size(); ++b)
        html += bookSection(sheet, b);
    return (html + QStringLiteral("</body></html>\n")).toUtf8();
}

} // namespace cvx::pack
