// The commands that help the publisher before and after a build: init, check, proof, export-iiif.
#include "pack/checks/manifest_and_scans.h"
#include "pack/commands/commands.h"
#include "pack/iiif/iiif.h"
#include "pack/proof/proof_source.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace cvx::pack {

namespace {
// "-o -": the file is standard output, and what is said about it goes to stderr.
bool toStandardOutput(const QString& path) {
    return path == QLatin1String("-");
}

// Writes `bytes` to `path`, or to stdout for "-"; false when that failed.
bool writeOutput(const QString& path, const QByteArray& bytes) {
    if (!toStandardOutput(path))
        return files::writeAll(path, bytes).ok();
    return std::fwrite(bytes.constData(), 1, bytes.size(), stdout) == std::size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

// Every finding on stderr, then a count on stdout.
void printFindings(const QList<Finding>& findings, int books, int pages) {
    int counts[3] = {};
    for (const Finding& f : findings) {
        err() << "cartavox-pack: " << severityName(f.severity) << ": " << f.text << "\n";
        ++counts[static_cast<int>(f.severity)];
    }
    err().flush();
    QTextStream(stdout) << "Controllo: " << books << " libri, " << pages << " pagine: " << counts[2]
                        << " errori, " << counts[1] << " avvisi, " << counts[0] << " note\n";
}

// The findings as JSON for pipelines: book and page 1-based (null for the whole volume or
// book), the page's file, the severity ("error", "warning", "note") and the Italian message.
QByteArray findingsJson(const ManifestCheck& c) {
    const char* const severities[] = {"note", "warning", "error"};
    QJsonArray list;
    for (const Finding& f : c.findings) {
        const bool onPage = f.book >= 0 && f.firstPage >= 0;
        const QStringList files =
            f.book >= 0 ? c.manifest.books.value(f.book).pages : QStringList();
        list << QJsonObject{{"book", f.book >= 0 ? QJsonValue(f.book + 1) : QJsonValue()},
                            {"page", onPage ? QJsonValue(f.firstPage + 1) : QJsonValue()},
                            {"lastPage", onPage ? QJsonValue(f.lastPage + 1) : QJsonValue()},
                            {"file", onPage ? QJsonValue(files.value(f.firstPage)) : QJsonValue()},
                            {"severity", severities[static_cast<int>(f.severity)]},
                            {"message", f.text}};
    }
    return QJsonDocument(QJsonObject{{"findings", list}}).toJson();
}

// What init guessed, for the curator to correct.
void printDraft(const Draft& d, const QJsonObject& manifest, const QString& path) {
    int pages = 0;
    for (const DraftBook& b : d.books)
        pages += static_cast<int>(b.pages.size());
    QTextStream out(toStandardOutput(path) ? stderr : stdout);
    out << "Manifesto scritto in "
        << (toStandardOutput(path) ? QStringLiteral("uscita standard") : path) << ": "
        << d.books.size() << " libri, " << pages << " pagine. Da controllare:\n";
    out << "  titolo \"" << manifest.value("title").toString() << "\", cartella di lavoro \""
        << manifest.value("workFolder").toString() << "\"\n";
    for (int b = 0; b < d.books.size(); ++b) {
        const DraftBook& book = d.books[b];
        out << "  libro " << b + 1 << " \"" << book.label << "\": " << book.pages.size()
            << " pagine, " << numberingText(book.kind, book.side, book.firstNumber) << " ("
            << book.how << ")\n";
    }
    for (const QString& line : d.report)
        out << "  " << line << "\n";
}

int runInit(const QCommandLineParser& parser) {
    const cli::Command usage = publisherCommands()[0].usage; // a copy: the list is a temporary
    const QString iiif = parser.value(QStringLiteral("iiif"));
    const QStringList scans = parser.positionalArguments();
    if (iiif.isEmpty() == scans.isEmpty())
        return cli::usageError(usage, QStringLiteral("serve una cartella di scansioni oppure "
                                                     "--iiif MANIFESTO con --images CARTELLA"));
    if (!iiif.isEmpty() && !parser.isSet(QStringLiteral("images")))
        return cli::usageError(usage, QStringLiteral("con --iiif serve --images CARTELLA"));
    const QString o = parser.isSet(QStringLiteral("o")) ? parser.value(QStringLiteral("o"))
                                                        : QStringLiteral("manifest.json");
    const QString path = toStandardOutput(o) ? o : QFileInfo(o).absoluteFilePath();
    Draft draft;
    if (iiif.isEmpty()) {
        draft = draftFromFolder(scans[0]);
    } else {
        const files::Read json = files::readAll(iiif);
        if (json.status != files::Status::Ok)
            return reportFaults(
                {QStringLiteral("impossibile leggere il manifesto IIIF %1").arg(iiif)});
        draft = draftFromIiif(json.data, parser.value(QStringLiteral("images")),
                              parser.value(QStringLiteral("lang")));
    }
    // What the scans lack comes first: another name with -o would not mend it.
    if (!draft.problems.isEmpty())
        return reportFaults(draft.problems);
    if (!toStandardOutput(path) && QFileInfo::exists(path))
        return reportFaults(
            {QStringLiteral("%1 esiste già: scegliere un altro nome con -o").arg(path)});
    const QJsonObject manifest = draftManifest(
        draft, toStandardOutput(path) ? QDir::currentPath() : QFileInfo(path).absolutePath());
    if (!writeOutput(path, QJsonDocument(manifest).toJson()))
        return reportFaults({QStringLiteral("impossibile scrivere %1").arg(path)});
    printDraft(draft, manifest, path);
    return cli::kSuccess;
}

int runProof(const QCommandLineParser& parser) {
    const QString source = parser.positionalArguments()[0];
    const QString path = parser.isSet(QStringLiteral("o")) ? parser.value(QStringLiteral("o"))
                                                           : QStringLiteral("bozza.html");
    QStringList errors;
    ProgressLine line(true);
    const auto progress = [&](int done, int total) {
        line.show(QStringLiteral("Bozza: pagina %1 di %2").arg(done).arg(total));
    };
    const ProofSheet sheet = QFileInfo(source).isDir() ? proofOfVolume(source, &errors, progress)
                                                       : proofOfManifest(source, &errors, progress);
    line.end();
    if (sheet.books.isEmpty())
        return reportFaults(errors.isEmpty()
                                ? QStringList{QStringLiteral("%1: nessun libro").arg(source)}
                                : errors);
    if (!writeOutput(path, proofHtml(sheet)))
        return reportFaults({QStringLiteral("impossibile scrivere %1").arg(path)});
    int pages = 0;
    for (const ProofBook& b : sheet.books)
        pages += static_cast<int>(b.pages.size());
    QTextStream(toStandardOutput(path) ? stderr : stdout)
        << "Bozza scritta in "
        << (toStandardOutput(path) ? QStringLiteral("uscita standard")
                                   : QFileInfo(path).absoluteFilePath())
        << ": " << sheet.books.size() << " libri, " << pages << " pagine, " << sheet.findings.size()
        << " segnalazioni\n";
    return reportFaults(errors);
}

int runExportIiif(const QCommandLineParser& parser) {
    const VolumeInfo v = readVolume(parser.positionalArguments()[0]);
    if (!v.problems.isEmpty())
        return reportFaults(v.problems);
    const QString outDir = parser.positionalArguments()[1];
    const QString manifest = QDir(outDir).absoluteFilePath(QStringLiteral("manifest.json"));
    if (QFileInfo::exists(manifest) && !parser.isSet(QStringLiteral("force")))
        return reportFaults({QStringLiteral("%1 esiste già: scegliere un'altra cartella o "
                                            "sostituirlo con --force")
                                 .arg(manifest)});
    const IiifExport r = exportIiif(v, outDir, parser.value(QStringLiteral("base-url")));
    QTextStream(stdout) << "Manifesto IIIF scritto in " << manifest << " con " << r.images
                        << " immagini\n";
    return reportFaults(r.problems);
}

int runCheck(const QCommandLineParser& parser) {
    ProgressLine line(true);
    const ManifestCheck c =
        checkManifest(parser.positionalArguments()[0], CheckScope{}, {}, [&](int done, int total) {
            line.show(QStringLiteral("Controllo: pagina %1 di %2").arg(done).arg(total));
        });
    line.end();
    int pages = 0;
    for (const CheckedBook& b : c.books)
        pages += static_cast<int>(b.pages.size());
    if (parser.isSet(QStringLiteral("json")))
        QTextStream(stdout) << findingsJson(c);
    else
        printFindings(c.findings, static_cast<int>(c.books.size()), pages);
    return checkStatus(c.findings);
}
} // namespace

QList<ToolCommand> publisherCommands() {
    const QCommandLineOption output(
        QStringLiteral("o"), QStringLiteral("il file da scrivere (\"-\": l'uscita standard)"),
        QStringLiteral("FILE"));
    return {
        {{QStringLiteral("init"),
          QStringLiteral("SCANSIONI [-o FILE] | --iiif MANIFESTO --images CARTELLA [-o FILE]"),
          QStringLiteral("scrive un primo manifesto da una cartella di scansioni o da IIIF"),
          QStringLiteral(
              "Scrive un primo manifesto, da correggere: un libro per cartella con immagini, "
              "fino a due\nlivelli (Opera/Tomo I dà \"Opera, Tomo I\"), le immagini sciolte "
              "accanto ai libri in un\nlibro a sé; JPEG, PNG, TIFF e JPEG 2000, ogni altro file "
              "nominato con il motivo;\nle pagine in ordine naturale (p2 prima di p10), le "
              "etichette dei libri dai nomi delle\ncartelle, il tipo di numerazione dalla forma "
              "delle immagini (orizzontali: pagine doppie)\no dai nomi dei file (001r, 001v). "
              "Con --iiif legge un manifesto IIIF\nPresentation 3 o 2.1: le tele "
              "in ordine (una tela senza immagine resta al suo posto), le sezioni principali come "
              "libri, la numerazione\ndalle etichette "
              "delle tele, le immagini cercate per nome in --images e nelle sue sottocartelle. "
              "Dice che cosa ha\n"
              "supposto. Non scrive sopra un file che esiste (di solito manifest.json)."),
          {{QStringLiteral("SCANSIONI"), QStringLiteral("la cartella delle scansioni"), true}},
          {output,
           QCommandLineOption(QStringLiteral("iiif"),
                              QStringLiteral("il manifesto IIIF da leggere"),
                              QStringLiteral("MANIFESTO")),
           QCommandLineOption(QStringLiteral("images"),
                              QStringLiteral("la cartella delle immagini del manifesto IIIF"),
                              QStringLiteral("CARTELLA")),
           QCommandLineOption(QStringLiteral("lang"),
                              QStringLiteral("la lingua delle etichette IIIF (di solito "
                                             "italiano, poi inglese)"),
                              QStringLiteral("LINGUA"))},
          QStringLiteral("0 manifesto scritto, 1 errori, 2 comando non valido.")},
         runInit},
        {{QStringLiteral("check"),
          QStringLiteral("MANIFESTO [--json]"),
          QStringLiteral("controlla un manifesto e le sue scansioni prima della costruzione"),
          QStringLiteral(
              "Trova senza scrivere nulla i problemi di un libro: immagini illeggibili o "
              "danneggiate,\norientamento EXIF da applicare, pagine di misura o forma diversa "
              "dalle altre, la stessa\nimmagine due volte, scansioni mancanti nella "
              "numerazione dei file, numeri digitati che\nportano a un altro libro, scansioni "
              "progressive o senza marcatori\ndi ripristino. Ogni problema nomina libro, "
              "pagina e file."),
          {{QStringLiteral("MANIFESTO"), QStringLiteral("il manifesto JSON delle scansioni")}},
          {QCommandLineOption(QStringLiteral("json"),
                              QStringLiteral("scrive i problemi su stdout in JSON (libro, pagina, "
                                             "file, gravità, messaggio)"))},
          QStringLiteral("0 nessun problema (solo note), 1 avvisi, 2 comando non valido, 3 "
                         "errori.")},
         runCheck},
        {{QStringLiteral("proof"),
          QStringLiteral("VOLUME|MANIFESTO [-o FILE]"),
          QStringLiteral("scrive la bozza HTML di un volume o di un manifesto"),
          QStringLiteral(
              "Scrive una bozza in un solo file HTML (di solito bozza.html): il titolo come lo "
              "mostra il\nvisore, poi ogni libro come griglia di miniature con l'etichetta che "
              "il visore mostra\nsotto ciascuna, e le segnalazioni di \"check\" sulle pagine "
              "che riguardano."),
          {{QStringLiteral("VOLUME|MANIFESTO"),
            QStringLiteral("la cartella di un volume o un manifesto JSON")}},
          {output},
          QStringLiteral("0 bozza scritta, 1 errori, 2 comando non valido.")},
         runProof},
        {{QStringLiteral("export-iiif"),
          QStringLiteral("VOLUME CARTELLA [--base-url URL] [--force]"),
          QStringLiteral("scrive un volume come manifesto IIIF con le sue immagini"),
          QStringLiteral(
              "Scrive CARTELLA/manifest.json (IIIF Presentation 3) e le pagine in "
              "CARTELLA/immagini:\nuna tela per pagina con l'etichetta che il visore mostra, "
              "una sezione per libro."),
          {{QStringLiteral("VOLUME"), QStringLiteral("la cartella del volume")},
           {QStringLiteral("CARTELLA"),
            QStringLiteral("dove scrivere il manifesto e le immagini")}},
          {QCommandLineOption(QStringLiteral("base-url"),
                              QStringLiteral("l'indirizzo web di CARTELLA (di solito il suo "
                                             "indirizzo file://)"),
                              QStringLiteral("URL")),
           QCommandLineOption(QStringLiteral("force"),
                              QStringLiteral("sostituisce un manifest.json che c'è già"))},
          QStringLiteral("0 manifesto scritto, 1 errori, 2 comando non valido.")},
         runExportIiif},
    };
}

} // namespace cvx::pack
