// First manifests from folders of scans.
#include "pack/manifest/manifest_draft.h"

#include "app/product_block.h"
#include "app/text_rules.h"
#include "pack/manifest/folio_pattern.h"
#include "pack/scans/jpeg2000.h"
#include "pack/scans/jpeg_header.h"
#include "pack/scans/page_preparation.h"
#include "pack/scans/scan_folder.h"
#include "pack/volume/format_limits.h"
#include "platform/files.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>

namespace cvx::pack {

QStringList naturalOrder(QStringList names) {
    QCollator collator{QLocale(QLocale::Italian)};
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

QString fittedText(const QString& text, int most) {
    QString fitted;
    for (const QChar c : text.normalized(QString::NormalizationForm_C).simplified()) {
        const QString bare = QString(c).normalized(QString::NormalizationForm_KD).left(1);
        if (isSingleByte(QString(c)) && c.unicode() >= 32)
            fitted += c;
        else if (!bare.isEmpty() && isSingleByte(bare) && bare.front().unicode() >= 32)
            fitted += bare; // spelt without its marks
        else
            fitted += QLatin1Char('_');
    }
    return fitted.left(most).trimmed();
}

QString fittedLabel(const QString& name, const QStringList& taken) {
    QString label = fittedText(name, block::kBookLabelLength);
    if (label.isEmpty())
        label = QStringLiteral("Libro");
    const QString base = label;
    for (int n = 2; taken.contains(label, Qt::CaseInsensitive); ++n) {
        const QString tail = QStringLiteral(" (%1)").arg(n);
        label = base.left(block::kBookLabelLength - tail.size()) + tail;
    }
    return label;
}

QString workFolderFrom(const QString& title) {
    QString name;
    for (const QString& word :
         title.normalized(QString::NormalizationForm_KD).split(QLatin1Char(' '))) {
        QString clean;
        for (const QChar c : word)
            if (c.unicode() < 128 && c.isLetterOrNumber())
                clean += c.toUpper();
        if (clean.isEmpty())
            continue;
        if (!name.isEmpty() && name.size() + clean.size() > block::kWorkFolderNameLength)
            break;
        name += clean;
    }
    name = name.left(block::kWorkFolderNameLength);
    return name.isEmpty() ? QStringLiteral("VOLUME") : name;
}

namespace {
// Whether most of the pictures are wider than tall once turned upright.
bool mostlyWide(const QStringList& files) {
    int wide = 0;
    for (const QString& f : files) {
        const QByteArray head = files::readAt(f, 0, 64 * 1024).data;
        QSize size = QImageReader(f).size();
        if (!jpeg2000Format(head).isEmpty()) // boxes of metadata may come before its header
            size = jpeg2000Size(files::readAt(f, 0, 4 << 20).data);
        else if (scanFormat(head) == "jpeg")
            size = uprightSize(size, readJpegHeaderOf(f).orientation);
        wide += size.width() > size.height() ? 1 : 0;
    }
    return 2 * wide > files.size();
}

DraftBook draftBook(const ScanBook& scans, const QStringList& taken) {
    DraftBook book;
    book.label = fittedLabel(scans.name, taken);
    book.pages = scans.files;
    QStringList bases;
    for (const QString& f : scans.files)
        bases << QFileInfo(f).completeBaseName().normalized(QString::NormalizationForm_C);
    const bool wide = mostlyWide(book.pages);
    Numbering numbering = numberingFromLabels(bases, wide);
    if (!numbering.unfit.isEmpty())
        numbering = numberingFromLabels({}, wide);
    book.kind = numbering.kind;
    book.side = numbering.side;
    book.firstNumber = numbering.firstNumber;
    book.how = numbering.fromLabels ? QStringLiteral("dai nomi dei file")
                                    : QStringLiteral("dalla forma delle immagini (%1)")
                                          .arg(wide ? QStringLiteral("per lo più orizzontali")
                                                    : QStringLiteral("per lo più verticali"));
    return book;
}
} // namespace

Draft draftFromFolder(const QString& scans) {
    Draft d;
    const QDir dir(scans);
    d.title = QFileInfo(QDir::cleanPath(dir.absolutePath()))
                  .fileName()
                  .normalized(QString::NormalizationForm_C);
    if (!QFileInfo(scans).isDir()) {
        d.problems << (QFileInfo::exists(scans)
                           ? QStringLiteral("%1 non è una cartella").arg(scans)
                           : QStringLiteral("la cartella %1 non esiste").arg(scans));
        return d;
    }
    const ScanTree tree = scanTree(dir.absolutePath());
    QStringList taken;
    for (const ScanBook& b : tree.books) {
        d.books << draftBook(b, taken);
        taken << d.books.last().label;
        if (b.loose)
            d.report << QStringLiteral(
                            "il libro %1 \"%2\" raccoglie le immagini sciolte accanto "
                            "alle cartelle dei libri: spostarle se sono d'un altro libro")
                            .arg(QString::number(d.books.size()), d.books.last().label);
    }
    for (const QString& line : tree.leftOut)
        d.report << line;
    if (d.books.isEmpty())
        d.problems << QStringLiteral("nella cartella %1 non ci sono scansioni JPEG, PNG, TIFF o "
                                     "JPEG 2000")
                          .arg(scans)
                   << tree.leftOut;
    return d;
}

QJsonObject draftManifest(const Draft& draft, const QString& manifestFolder) {
    const QDir base(manifestFolder);
    QJsonArray books;
    for (const DraftBook& b : draft.books) {
        QJsonArray pages;
        for (const QString& p : b.pages)
            pages << base.relativeFilePath(p);
        books << QJsonObject{{"label", b.label},
                             {"kind", b.kind},
                             {"side", b.side},
                             {"firstNumber", b.firstNumber},
                             {"pages", pages}};
    }
    return {{"title", fittedText(draft.title, limits::kMaxHeadingChars)},
            {"secondLine", ""},
            {"publisher", ""},
            {"place", ""},
            {"year", ""},
            {"workFolder", workFolderFrom(draft.title)},
            {"cover", QJsonObject{{"book", 1}, {"page", 1}}},
            {"jpegQuality", 90},
            {"books", books}};
}

} // namespace cvx::pack
