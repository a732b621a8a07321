// Limits of the volume formats, checked by the packer.
#include "pack/volume/format_limits.h"

#include "app/product_block.h"
#include "app/text_rules.h"
#include "archive/archive_layout.h"
#include "archive/label_rules.h"
#include "pack/volume/volume_writer.h"

namespace cvx::pack::limits {

namespace {
// The first control character of text other than those allowed, or a null QChar.
QChar firstControl(const QString& text, bool carriageReturnAllowed) {
    for (const QChar c : text)
        if (c.unicode() < 32 && !(carriageReturnAllowed && c.unicode() == 13))
            return c;
    return {};
}

QString charsetProblem(const QString& text) {
    for (const QChar c : text)
        if (!isSingleByte(QString(c)))
            return QStringLiteral("il carattere \"%1\" non appartiene all'insieme Windows-1252")
                .arg(c);
    return {};
}

QString controlProblem(QChar c) {
    return QStringLiteral("contiene il carattere di controllo di codice %1").arg(c.unicode());
}
} // namespace

QString headingProblem(const QString& text) {
    if (text.size() > kMaxHeadingChars)
        return QStringLiteral("il testo ha %1 caratteri, al massimo %2")
            .arg(text.size())
            .arg(kMaxHeadingChars);
    if (const QChar c = firstControl(text, true); !c.isNull())
        return controlProblem(c);
    return charsetProblem(text);
}

QString labelProblem(const QString& label) {
    const QString trimmed = trimBlanks(label);
    if (trimmed.isEmpty())
        return QStringLiteral("l'etichetta è vuota");
    if (label.size() > block::kBookLabelLength)
        return QStringLiteral("l'etichetta ha %1 caratteri, al massimo %2")
            .arg(label.size())
            .arg(block::kBookLabelLength);
    if (const QChar c = firstControl(label, false); !c.isNull())
        return QStringLiteral("l'etichetta ") + controlProblem(c);
    const qsizetype leading = label.indexOf(trimmed.front());
    if (leading >= trimmed.size())
        return QStringLiteral("l'etichetta \"%1\" è preceduta da %2 spazi, tanti quanti i suoi "
                              "caratteri: il visore la leggerebbe come vuota")
            .arg(trimmed, QString::number(leading));
    return charsetProblem(label);
}

QString kindProblem(int kind) {
    if (kind >= labels::Sheets && kind <= labels::Openings)
        return {};
    return QStringLiteral("il tipo di numerazione è %1: deve essere 0 (fogli), 1 (pagine) o 2 "
                          "(pagine doppie)")
        .arg(kind);
}

QString sideProblem(const QString& side) {
    // The viewer reads any letter but D as left: another letter is most often a slip.
    if (side.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0 ||
        side.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)
        return {};
    return QStringLiteral("il lato della prima pagina è \"%1\": deve essere D per destra o S per "
                          "sinistra")
        .arg(side);
}

QString firstNumberProblem(int firstNumber) {
    if (firstNumber >= 0 && firstNumber <= kMaxFirstNumber)
        return {};
    return QStringLiteral("il primo numero è %1: deve essere fra 0 e %2")
        .arg(firstNumber)
        .arg(kMaxFirstNumber);
}

QString labelWidthProblem(int kind, const QString& side, int firstNumber, int count) {
    if (count < 1)
        return {};
    const int last = labels::labelNumber(kind, side, firstNumber, count);
    const bool sheets = kind == labels::Sheets;
    const int limit = sheets ? kMaxSheetNumber : kMaxPageNumber;
    if (last <= limit)
        return {};
    return QStringLiteral("l'ultima pagina avrebbe il numero %1%2, che nell'etichetta di 4 "
                          "caratteri verrebbe troncato (al massimo %3)")
        .arg(last)
        .arg(sheets ? QStringLiteral(" di foglio") : QString())
        .arg(limit);
}

bool openingsLookupAgrees(const QString& side, int firstNumber) {
    return labels::firstOnRight(side) ? firstNumber == 1 : firstNumber == 0;
}

QString paddedWorkFolder(const QString& name) {
    return name.leftJustified(block::kWorkFolderNameLength, QLatin1Char(' '));
}

QString workFolderProblem(const QString& name) {
    if (name.isEmpty() || name.size() > block::kWorkFolderNameLength)
        return QStringLiteral("il nome della cartella di lavoro \"%1\" ha %2 caratteri: da 1 a %3")
            .arg(name, QString::number(name.size()), QString::number(block::kWorkFolderNameLength));
    if (const QString problem = charsetProblem(name); !problem.isEmpty())
        return problem;
    if (!block::usableFolderName(paddedWorkFolder(name)))
        return QStringLiteral("\"%1\" non può essere il nome di una cartella").arg(name);
    return {};
}

QString entryLengthProblem(qint64 imageLength) {
    if (storedLength(imageLength) <= archive::kMaxLength)
        return {};
    return QStringLiteral("l'immagine è di %1 byte, al massimo %2")
        .arg(imageLength)
        .arg(archive::kMaxLength);
}

QString archiveLengthProblem(qint64 archiveLength) {
    if (archiveLength <= archive::kMaxPosition)
        return {};
    return QStringLiteral("l'archivio sarebbe di %1 byte, al massimo %2: dividere il libro")
        .arg(archiveLength)
        .arg(archive::kMaxPosition);
}

QString executableProblem(qint64 exeLength) {
    if (exeLength <= 0)
        return QStringLiteral("il programma del visore è vuoto");
    const qint64 base = exeLength + 1 + block::kGridBeforeBase;
    if (base <= block::kMaxBase)
        return {};
    return QStringLiteral("il programma del visore è di %1 byte: la base del blocco dei dati "
                          "(%2) non sta in 8 cifre")
        .arg(exeLength)
        .arg(base);
}

QString qualityProblem(int quality) {
    if (quality >= kMinJpegQuality && quality <= kMaxJpegQuality)
        return {};
    return QStringLiteral("la qualità JPEG è %1: deve essere fra %2 e %3")
        .arg(quality)
        .arg(kMinJpegQuality)
        .arg(kMaxJpegQuality);
}

} // namespace cvx::pack::limits
