// The table of "cartavox-pack inspect".
#include "pack/volume/volume_table.h"

#include "app/text_rules.h"

#include <QTextStream>

namespace cvx::pack {

namespace {
QString kindName(int kind) {
    switch (kind) {
    case 0:
        return QStringLiteral("0 fogli");
    case 1:
        return QStringLiteral("1 pagine");
    case 2:
        return QStringLiteral("2 doppie");
    default:
        return QStringLiteral("%1 ?").arg(kind);
    }
}

void writeBlock(QTextStream& out, const VolumeInfo& v) {
    const char* names[5] = {"Titolo", "Seconda riga", "Editore", "Luogo", "Anno"};
    out << "Volume: " << v.folder << "\n";
    out << "Cartavox.exe: " << v.executableLength << " byte, base del blocco " << v.base << "\n";
    for (int i = 0; i < 5; ++i)
        out << "  " << QString::fromLatin1(names[i]).leftJustified(20) << "\""
            << printable(v.headings[i]) << "\"\n";
    out << "  " << QStringLiteral("Cartella di lavoro").leftJustified(20) << "\""
        << printable(v.workFolder) << "\"\n";
    out << "  " << QStringLiteral("Copertina").leftJustified(20) << v.coverArchive << ", voce "
        << printable(v.coverEntry) << "\n";
    for (const QString& p : v.problems)
        out << "  ! " << p << "\n";
}

void writeBooks(QTextStream& out, const VolumeInfo& v) {
    out << "\nLibri: " << v.books.size() << "\n";
    out << "  n.   archivio     " << QStringLiteral("etichetta").leftJustified(50)
        << "tipo      lato  primo  pagine       byte\n";
    for (int b = 0; b < v.books.size(); ++b) {
        const BookInfo& book = v.books[b];
        out << "  " << QString::number(b + 1).rightJustified(3) << "  " << book.archive << "  "
            << book.fields.label.leftJustified(50)
            << kindName(book.fields.numberingKind).leftJustified(10)
            << printable(book.fields.firstSide).leftJustified(6)
            << QString::number(book.fields.firstNumber).leftJustified(7)
            << QString::number(book.entries.size()).rightJustified(6)
            << QString::number(book.archiveLength).rightJustified(11) << "\n";
    }
}

void writeDirectory(QTextStream& out, const VolumeInfo& v, int b) {
    const BookInfo& book = v.books[b];
    out << "\nLibro " << b + 1 << ": " << book.archive << " \"" << book.fields.label << "\", "
        << book.entries.size() << " voci\n";
    if (!book.problem.isEmpty())
        out << "  ! " << book.problem << "\n";
    out << "  voce  etichetta  nome    posizione  lunghezza   immagine\n";
    for (const EntryInfo& e : book.entries)
        out << "  " << QString::number(e.index).rightJustified(4) << "  "
            << e.label.leftJustified(9) << "  " << printable(e.name).leftJustified(5)
            << QString::number(e.position).rightJustified(12)
            << QString::number(e.length).rightJustified(11)
            << QString::number(e.imageLength).rightJustified(11) << "\n";
}
} // namespace

QString inspectTable(const VolumeInfo& volume) {
    QString text;
    QTextStream out(&text);
    writeBlock(out, volume);
    writeBooks(out, volume);
    for (int b = 0; b < volume.books.size(); ++b)
        writeDirectory(out, volume, b);
    out.flush();
    return text;
}

} // namespace cvx::pack
