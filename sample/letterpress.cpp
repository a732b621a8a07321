// Letterpress of the sample pages.
#include "sample/letterpress.h"

#include "sample/engraving.h"
#include "sample/parchment.h"
#include "sample/sample_random.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace cvx::sample {

namespace {
const QStringList kWords = {
    "la",         "radice",   "della",      "pianta",   "è",       "calda",      "&",
    "secca",      "nel",      "secondo",    "grado",    "giova",   "alle",       "ferite",
    "si",         "troua",    "ne'",        "luoghi",   "humidi",  "i",          "fiori",
    "le",         "foglie",   "simili",     "à",        "quelle",  "del",        "seme",
    "sua",        "virtù",    "cotta",      "vino",     "beuuta",  "prouoca",    "l'orina",
    "Dioscoride", "scriue",   "che",        "Galeno",   "herba",   "odorifera",  "fa",
    "il",         "fusto",    "alto",       "vn",       "gomito",  "nasce",      "ne'",
    "monti",      "di",       "Candia",     "et",       "in",      "Italia",     "per",
    "tutto",      "sugo",     "mescolato",  "con",      "mele",    "mitiga",     "dolori",
    "dello",      "stomaco",  "cura",       "morsi",    "de'",     "serpenti",   "polvere",
    "secca",      "ristagna", "sangue",     "gli",      "antichi", "chiamarono", "questa",
    "Plinio",     "afferma",  "come",       "ancora",   "noi",     "habbiamo",   "veduto",
    "nell'horto", "seminata", "Marzo",      "fiorisce", "Giugno",  "odore",      "soaue",
    "sapore",     "amaro",    "acuto",      "quale",    "cosa",    "mirabile",   "medici",
    "moderni",    "vsano",    "decottione", "acqua",    "piouana", "lauarsi",    "capo",
    "contra",     "vertigini"};

const QStringList kPlants = {
    "Abrotano",   "Acanto",   "Aconito",     "Agrimonia", "Aloe",        "Altea",
    "Anemone",    "Aneto",    "Angelica",    "Artemisia", "Asfodelo",    "Assenzio",
    "Basilico",   "Betonica", "Borragine",   "Calamento", "Camomilla",   "Cardo santo",
    "Centaurea",  "Cicoria",  "Consolida",   "Coriandro", "Croco",       "Dittamo",
    "Elleboro",   "Enula",    "Eufrasia",    "Finocchio", "Genziana",    "Giglio",
    "Hissopo",    "Iride",    "Issopo",      "Lauro",     "Lavanda",     "Malua",
    "Mandragora", "Melissa",  "Menta",       "Mirto",     "Nepitella",   "Ortica",
    "Papauero",   "Peonia",   "Piantaggine", "Ruta",      "Rosa canina", "Rosmarino",
    "Saluia",     "Sambuco",  "Timo",        "Valeriana", "Verbena",     "Viola"};

// Advance widths of the words in one font, measured once.
class Measure {
  public:
    explicit Measure(const QFont& font) : metrics_(font) {}
    double width(const QString& word) {
        auto it = cache_.find(word);
        if (it == cache_.end())
            it = cache_.insert(word, metrics_.horizontalAdvance(word));
        return *it;
    }
    [[nodiscard]] double space() const { return metrics_.horizontalAdvance(QLatin1Char(' ')); }

  private:
    QFontMetricsF metrics_;
    QHash<QString, double> cache_;
};

// Old Italian prose: words in random order, with commas and full stops.
class Prose {
  public:
    explicit Prose(quint64 seed) : random_(seed) {}
    QString next() {
        if (!pending_.isEmpty())
            return std::exchange(pending_, QString());
        QString w = kWords[random_.below(static_cast<int>(kWords.size()))];
        if (capital_)
            w[0] = w[0].toUpper();
        capital_ = false;
        const int r = random_.below(100);
        if (r < 7)
            w += QLatin1Char(',');
        else if (r < 11) {
            w += QLatin1Char('.');
            capital_ = true;
        }
        return w;
    }
    // The next word is `word`, as what is left of a word whose first letter is the initial.
    void putBack(const QString& word) { pending_ = word; }
    SampleRandom& random() { return random_; }

  private:
    SampleRandom random_;
    QString pending_;
    bool capital_ = true;
};

// Lays justified lines into a column: `indent` pixels are kept free at the left of the
// first `indentLines` lines (for the initial). Returns the baseline after the last line.
double setColumn(QPainter& p, Prose& prose, Measure& m, const QRectF& column, double lineHeight,
                 double indent, int indentLines) {
    double baseline = column.top() + lineHeight;
    int line = 0;
    int paragraphLeft = 4 + prose.random().below(10);
    while (baseline <= column.bottom()) {
        const double left = column.left() + (line < indentLines ? indent : 0);
        const double width = column.right() - left;
        QStringList words{prose.next()};
        double used = m.width(words.front());
        for (QString w = prose.next(); used + m.space() + m.width(w) <= width; w = prose.next()) {
            used += m.space() + m.width(w);
            words << w;
        }
        const bool last = --paragraphLeft == 0;
        const double gap = last || words.size() < 2
                               ? m.space()
                               : m.space() + (width - used) / double(words.size() - 1);
        double x = left;
        for (const QString& w : words) {
            p.drawText(QPointF(x, baseline), w);
            x += m.width(w) + gap;
        }
        if (last)
            paragraphLeft = 4 + prose.random().below(10);
        baseline += lineHeight;
        ++line;
    }
    return baseline - lineHeight;
}

// A large red initial in a ruled box whose top is at `box.top()`.
void paintInitial(QPainter& p, const QRectF& box, QChar letter) {
    p.save();
    p.setPen(QPen(QColor(kInk), std::max(1.0, box.width() / 40)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    p.drawRect(
        box.adjusted(box.width() / 14, box.width() / 14, -box.width() / 14, -box.width() / 14));
    p.setFont(bookFont(box.height() * 0.8));
    p.setPen(QColor(kRubric));
    p.drawText(box, Qt::AlignCenter, QString(letter));
    p.restore();
}
} // namespace

QFont bookFont(double pixelSize, bool italic) {
    QFont font(QStringLiteral("P052"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(std::max(3, static_cast<int>(pixelSize)));
    font.setItalic(italic);
    return font;
}

QRect typeArea(const QRect& page, bool rightPage) {
    const int inner = page.width() * 10 / 100, outer = page.width() * 14 / 100;
    return page.adjusted(rightPage ? inner : outer, page.height() * 9 / 100,
                         -(rightPage ? outer : inner), -page.height() * 11 / 100);
}

void paintHeadLine(QImage& image, const QRect& page, const QString& head, const QString& number,
                   bool rightPage) {
    const QRect area = typeArea(page, rightPage);
    const QRectF line(area.left(), page.top() + page.height() * 0.05, area.width(),
                      page.height() * 0.025);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(kInk));
    p.setFont(bookFont(page.height() / 80.0, true));
    p.drawText(line, Qt::AlignCenter, head);
    p.setFont(bookFont(page.height() / 75.0));
    p.drawText(line, (rightPage ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, number);
}

void paintTextPage(QImage& image, const QRect& page, const TextPage& plan) {
    paintHeadLine(image, page, plan.runningHead, plan.number, plan.rightPage);
    const QRect area = typeArea(page, plan.rightPage);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(kInk));
    Prose prose(plan.seed);
    const QFont body = bookFont(page.height() / 88.0);
    Measure measure(body);
    const double lineHeight = body.pixelSize() * 1.28;
    double top = area.top();
    if (!plan.heading.isEmpty()) {
        p.setFont(bookFont(page.height() / 60.0));
        const QRectF headRect(area.left(), top, area.width(), lineHeight * 3);
        p.drawText(headRect, Qt::AlignCenter | Qt::TextWordWrap, plan.heading);
        top += lineHeight * 3.5;
    }
    p.setFont(body);
    const double gap = page.width() * 0.035;
    const double columnWidth = (area.width() - gap * (plan.columns - 1)) / plan.columns;
    const double initial = plan.heading.isEmpty() ? 0 : lineHeight * 4 - body.pixelSize() * 0.2;
    QChar letter;
    if (initial > 0) {
        const QString first = prose.next();
        letter = first.front();
        prose.putBack(first.mid(1));
    }
    double last = top;
    for (int c = 0; c < plan.columns; ++c) {
        const QRectF column(area.left() + c * (columnWidth + gap), top, columnWidth,
                            area.bottom() - top);
        const bool first = c == 0 && initial > 0;
        last = setColumn(p, prose, measure, column, lineHeight, first ? initial + gap / 3 : 0,
                         first ? 4 : 0);
    }
    if (initial > 0)
        paintInitial(p, QRectF(area.left(), top + body.pixelSize() * 0.3, initial, initial),
                     letter);
    const double foot = last + lineHeight * 1.4;
    p.drawText(QRectF(area.left(), foot - lineHeight, area.width(), lineHeight * 1.2),
               Qt::AlignRight | Qt::AlignBottom, prose.next());
    if (!plan.signature.isEmpty())
        p.drawText(QRectF(area.left(), foot - lineHeight, area.width(), lineHeight * 1.2),
                   Qt::AlignHCenter | Qt::AlignBottom, plan.signature);
}

void paintTitlePage(QImage& image, const QRect& page, quint64 seed) {
    const QRect area = typeArea(page, true);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(kInk), std::max(1.0, page.width() / 600.0)));
    p.drawRect(area.adjusted(-page.width() / 40, -page.width() / 40, page.width() / 40,
                             page.width() / 40));
    const double h = area.height();
    struct Line {
        const char* text;
        double size;
        bool red;
        bool italic;
    };
    const Line lines[] = {{"THEATRO", 0.075, true, false},
                          {"DELLE PIANTE", 0.05, false, false},
                          {"Nel quale si descriuono le virtù de' Semplici", 0.022, false, true},
                          {"DI ANSELMO CARTARI", 0.03, true, false},
                          {"Medico Fisico", 0.022, false, true}};
    double y = area.top() + h * 0.02;
    for (const Line& l : lines) {
        p.setFont(bookFont(h * l.size, l.italic));
        p.setPen(QColor(l.red ? kRubric : kInk));
        p.drawText(QRectF(area.left(), y, area.width(), h * l.size * 1.5), Qt::AlignCenter,
                   QString::fromUtf8(l.text));
        y += h * l.size * 1.6;
    }
    const double device = std::min(area.width() * 0.6, h * 0.32);
    paintDevice(p, QRectF(area.center().x() - device / 2, y + h * 0.03, device, device), seed);
    p.setPen(QColor(kInk));
    p.setFont(bookFont(h * 0.024));
    p.drawText(QRectF(area.left(), area.bottom() - h * 0.17, area.width(), h * 0.17),
               Qt::AlignCenter,
               QString::fromUtf8("IN VENETIA,\nAppresso gli Heredi di Niccolò Beuilacqua.\n"
                                 "M D L X X X V I I I."));
}

void paintIndexPage(QImage& image, const QRect& page, const QString& number, bool rightPage,
                    int firstEntry) {
    paintHeadLine(image, page, QStringLiteral("INDICE"), number, rightPage);
    const QRect area = typeArea(page, rightPage);
    QPainter p(&image);
    p.setPen(QColor(kInk));
    const QFont font = bookFont(page.height() / 80.0);
    p.setFont(font);
    const double lineHeight = font.pixelSize() * 1.5;
    const double columnWidth = area.width() * 0.47;
    const int perColumn = static_cast<int>(area.height() / lineHeight);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < perColumn; ++i) {
            const int entry = firstEntry + c * perColumn + i;
            const QRectF row(area.left() + c * area.width() * 0.53, area.top() + i * lineHeight,
                             columnWidth, lineHeight);
            p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter,
                       kPlants[entry % kPlants.size()] + QStringLiteral(" . . . . . . . ."));
            p.drawText(row, Qt::AlignRight | Qt::AlignVCenter, QString::number(3 + entry * 2));
        }
}

} // namespace cvx::sample
