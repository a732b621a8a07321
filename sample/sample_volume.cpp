// The plan of the sample volume and the writing of its pages and manifest.
#include "sample/sample_volume.h"

#include "app/text_rules.h"
#include "archive/label_rules.h"
#include "sample/engraving.h"
#include "sample/letterpress.h"
#include "sample/parchment.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace cvx::sample {

namespace {
constexpr quint64 kSeed = 1588;
constexpr int kScanQuality = 85;

struct Page {
    QString file; // relative to the sample folder
    QSize size;
    std::function<void(QImage&)> paint;
};

struct Book {
    QString label;
    int kind;
    QString side;
    int first;
    QList<Page> pages;
};

class Plan {
  public:
    explicit Plan(bool small) : scale_(small ? 0.1 : 1.0) {}

    QSize textPage() const { return sized(2480, 3508); }
    QSize bigPlate() const { return sized(4000, 6000); }
    QSize opening() const { return sized(4960, 3508); }

    // Adds the page with sequence number k to `book`: its label names the file and gives the
    // number printed on it; `paint` draws the page on its paper.
    void add(Book& book, QSize size,
             const std::function<void(QImage&, const QString&, bool)>& paint,
             const char* extension = "jpg") {
        const int k = static_cast<int>(book.pages.size()) + 1;
        const QString label = labels::pageLabel(book.kind, book.side, book.first, k);
        const QString number = numberText(static_cast<long long>(numericValue(label)));
        const bool right = (k % 2 != 0) == labels::firstOnRight(book.side);
        const quint64 seed = kSeed * 1000 + ++count_;
        const QString file =
            QStringLiteral("b%1/%2.%3")
                .arg(QString::number(books.size() + 1), label, QLatin1String(extension));
        book.pages.append({file, size, [=](QImage& image) {
                               paintParchment(image, image.rect(), seed);
                               paint(image, number, right);
                           }});
    }

    QList<Book> books;

  private:
    QSize sized(int w, int h) const { return QSize(qRound(w * scale_), qRound(h * scale_)); }
    double scale_;
    quint64 count_ = 0;
};

TextPage textSpec(const QString& head, const QString& number, bool right, quint64 seed) {
    TextPage t;
    t.runningHead = head;
    t.number = number;
    t.rightPage = right;
    t.seed = seed;
    return t;
}

void frontMatter(Plan& plan) {
    Book b{QStringLiteral("01 Lib.01 Frontespizio e dedica"), 1, QStringLiteral("D"), 1, {}};
    plan.add(
        b, plan.textPage(),
        [](QImage& img, const QString&, bool) { paintTitlePage(img, img.rect(), kSeed); }, "png");
    const char* heads[] = {"ALL'ILLVSTRISSIMO SIGNORE", "A' LETTORI", nullptr};
    for (int i = 0; i < 3; ++i)
        plan.add(b, plan.textPage(), [=](QImage& img, const QString& n, bool right) {
            TextPage t = textSpec(QStringLiteral("DEDICATORIA"), n, right, kSeed + 10 + i);
            t.heading = heads[i] ? QString::fromLatin1(heads[i]) : QString();
            paintTextPage(img, img.rect(), t);
        });
    plan.books << b;
}

void mainText(Plan& plan) {
    Book b{QStringLiteral("02 Lib.02 Libro primo delle piante"), 0, QStringLiteral("D"), 1, {}};
    for (int k = 1; k <= 12; ++k)
        plan.add(b, plan.textPage(), [=](QImage& img, const QString& n, bool right) {
            TextPage t =
                textSpec(right ? QStringLiteral("DELLE PIANTE") : QStringLiteral("LIBRO PRIMO"), n,
                         right, kSeed + 100 + k);
            t.columns = 2;
            if (k == 1 || k == 8)
                t.heading = k == 1 ? QStringLiteral("LIBRO PRIMO\nCAP. I. Dell'Abrotano.")
                                   : QStringLiteral("CAP. II. Dell'Acanto.");
            if (right)
                t.signature = n.toInt() == 1
                                  ? QStringLiteral("A")
                                  : QStringLiteral("A %1j").arg(QString(n.toInt() - 1, 'i'));
            paintTextPage(img, img.rect(), t);
        });
    plan.books << b;
}

void openings(Plan& plan) {
    Book b{QStringLiteral("03 Lib.03 Tavole doppie"), 2, QStringLiteral("D"), 1, {}};
    for (int k = 1; k <= 3; ++k)
        plan.add(b, plan.opening(), [=](QImage& img, const QString& n, bool) {
            const QRect left(0, 0, img.width() / 2, img.height());
            const QRect right(img.width() / 2, 0, img.width() - img.width() / 2, img.height());
            const QString leftNumber = QString::number(n.toInt() - 1);
            if (k == 3) {
                paintHeadLine(img, left, QString(), leftNumber, false);
                paintHeadLine(img, right, QString(), n, true);
                paintSpread(img, typeArea(img.rect(), true),
                            QString::fromUtf8("PIANTA DELL'HORTO DE' SEMPLICI"), kSeed + 300);
            } else {
                paintTextPage(
                    img, left,
                    textSpec(QStringLiteral("TAVOLE"), leftNumber, false, kSeed + 200 + k));
                Plate plate{n, QStringLiteral("Rosa canina"), true, kSeed + 250 + k};
                if (k == 1)
                    paintTextPage(img, right,
                                  textSpec(QStringLiteral("TAVOLE"), n, true, kSeed + 260));
                else
                    paintPlate(img, right, plate);
            }
            paintFold(img, img.width() / 2, img.width() / 25);
        });
    plan.books << b;
}

void plates(Plan& plan) {
    Book b{QStringLiteral("04 Lib.04 Tavole"), 1, QStringLiteral("D"), 1, {}};
    const char* names[] = {"Mandragora", "Peonia", "Giglio", "Genziana"};
    for (int k = 1; k <= 4; ++k)
        plan.add(b, k % 2 ? plan.bigPlate() : plan.textPage(),
                 [=](QImage& img, const QString& n, bool right) {
                     paintPlate(img, img.rect(),
                                {QStringLiteral("Tav. ") + n, QString::fromLatin1(names[k - 1]),
                                 right, kSeed + 400 + k});
                 });
    plan.books << b;
}

void index(Plan& plan) {
    Book b{QStringLiteral("05 Lib.05 Indice"), 1, QStringLiteral("S"), 1, {}};
    for (int k = 1; k <= 2; ++k)
        plan.add(b, plan.textPage(), [=](QImage& img, const QString& n, bool right) {
            paintIndexPage(img, img.rect(), n, right, (k - 1) * 60);
        });
    plan.books << b;
}
} // namespace

namespace {
QJsonObject manifest(const QList<Book>& books) {
    QJsonArray list;
    for (const Book& b : books) {
        QJsonArray files;
        for (const Page& p : b.pages)
            files << p.file;
        list << QJsonObject{{"label", b.label},
                            {"kind", b.kind},
                            {"side", b.side},
                            {"firstNumber", b.first},
                            {"pages", files}};
    }
    return {{"title", "Theatro delle Piante"},
            {"secondLine", "di Anselmo Cartari"},
            {"publisher", QString::fromUtf8("Heredi di Niccolò Beuilacqua")},
            {"place", "Venetia"},
            {"year", "1588"},
            {"workFolder", "TEATRO88"},
            {"cover", QJsonObject{{"book", 1}, {"page", 1}}},
            {"jpegQuality", 90},
            {"books", list}};
}

bool writeImage(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, path.endsWith(QLatin1String(".png")) ? "png" : "jpeg");
    writer.setQuality(path.endsWith(QLatin1String(".png")) ? -1 : kScanQuality);
    return writer.write(image) && file.commit();
}
} // namespace

SampleReport writeSample(const QString& outDir, bool small,
                         const std::function<void(int, int)>& progress) {
    SampleReport r;
    Plan plan(small);
    frontMatter(plan);
    mainText(plan);
    openings(plan);
    plates(plan);
    index(plan);
    int total = 0;
    for (const Book& b : plan.books)
        total += static_cast<int>(b.pages.size());
    const QDir dir(outDir);
    for (const Book& b : plan.books)
        for (const Page& page : b.pages) {
            const QString path = dir.filePath(page.file);
            QImage image(page.size, QImage::Format_RGB32);
            page.paint(image);
            if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !writeImage(image, path)) {
                r.error = QStringLiteral("impossibile scrivere %1").arg(path);
                return r;
            }
            r.bytes += QFileInfo(path).size();
            if (progress)
                progress(++r.pages, total);
        }
    QSaveFile json(dir.filePath(QStringLiteral("manifest.json")));
    const QByteArray text = QJsonDocument(manifest(plan.books)).toJson(QJsonDocument::Indented);
    if (!json.open(QIODevice::WriteOnly) || json.write(text) != text.size() || !json.commit())
        r.error = QStringLiteral("impossibile scrivere %1").arg(json.fileName());
    r.books = static_cast<int>(plan.books.size());
    return r;
}

} // namespace cvx::sample
