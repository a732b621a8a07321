// Parsing and help texts of cartavox-pack's commands.
#include "pack/commands/command_line.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace cvx::pack::cli {

namespace {
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("mostra questo aiuto ed esce"));
const QCommandLineOption kVersion({QStringLiteral("v"), QStringLiteral("version")},
                                  QStringLiteral("mostra la versione ed esce"));

QString optionName(const QCommandLineOption& o) {
    QStringList names;
    for (const QString& n : o.names())
        names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString text = names.join(QStringLiteral(", "));
    if (!o.valueName().isEmpty())
        text += QLatin1Char(' ') + o.valueName();
    return text;
}

QString table(const QList<std::pair<QString, QString>>& rows) {
    QString text;
    for (const auto& [left, right] : rows)
        text += QStringLiteral("  %1 %2\n").arg(left.leftJustified(24), right);
    return text;
}

void print(FILE* stream, const QString& text) {
    QTextStream(stream) << text;
}
} // namespace

QString versionLine() {
    return QStringLiteral("cartavox-pack %1").arg(QStringLiteral(CARTAVOX_VERSION));
}

QString commandHelp(const Command& c) {
    QString text =
        QStringLiteral("Uso: cartavox-pack %1 %2\n\n%3\n").arg(c.name, c.synopsis, c.description);
    QList<std::pair<QString, QString>> rows;
    for (const Argument& a : c.arguments)
        rows.append({a.name, a.description});
    if (!rows.isEmpty())
        text += QStringLiteral("\nArgomenti:\n") + table(rows);
    rows.clear();
    for (const QCommandLineOption& o : c.options + QList{kHelp, kVersion})
        rows.append({optionName(o), o.description()});
    text += QStringLiteral("\nOpzioni:\n") + table(rows);
    return text + QStringLiteral("\nStato di uscita: %1\n").arg(c.exitStatuses);
}

QString toolHelp(const QList<Command>& commands) {
    QString text = QStringLiteral("Uso: cartavox-pack COMANDO [ARGOMENTI] [OPZIONI]\n\n"
                                  "Prepara e controlla i volumi di Cartavox.\n\nComandi:\n");
    QList<std::pair<QString, QString>> rows;
    for (const Command& c : commands)
        rows.append({c.name, c.summary});
    text += table(rows);
    text +=
        QStringLiteral("\nOpzioni:\n") + table({{optionName(kHelp), kHelp.description()},
                                                {optionName(kVersion), kVersion.description()}});
    return text + QStringLiteral(
                      "\n\"cartavox-pack COMANDO --help\" descrive un comando.\n"
                      "Stato di uscita: 0 riuscito, 1 non riuscito (errori nei dati), 2 comando "
                      "non valido; \"check\": 0 nessun problema, 1 avvisi, 3 errori.\n");
}

int usageError(const Command& command, const QString& problem) {
    print(stderr, QStringLiteral("cartavox-pack %1: %2\nUso: cartavox-pack %1 %3\n"
                                 "\"cartavox-pack %1 --help\" per l'aiuto.\n")
                      .arg(command.name, problem, command.synopsis));
    return kUsage;
}

std::optional<int> parseCommand(QCommandLineParser& parser, const Command& command,
                                const QStringList& args) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(command.options + QList{kHelp, kVersion});
    if (!parser.parse(QStringList{QCoreApplication::applicationName()} + args)) {
        // QCommandLineParser words its own errors in English: say it again in Italian.
        const QStringList unknown = parser.unknownOptionNames();
        return usageError(command, unknown.isEmpty()
                                       ? QStringLiteral("manca il valore di un'opzione (%1)")
                                             .arg(args.value(args.size() - 1))
                                       : QStringLiteral("opzione sconosciuta: %1%2")
                                             .arg(unknown[0].size() == 1 ? "-" : "--", unknown[0]));
    }
    if (parser.isSet(kHelp)) {
        print(stdout, commandHelp(command));
        return kSuccess;
    }
    if (parser.isSet(kVersion)) {
        print(stdout, versionLine() + QLatin1Char('\n'));
        return kSuccess;
    }
    qsizetype required = 0;
    for (const Argument& a : command.arguments)
        required += a.optional ? 0 : 1;
    const qsizetype given = parser.positionalArguments().size();
    if (given < required)
        return usageError(command, QStringLiteral("manca %1").arg(command.arguments[given].name));
    if (given > command.arguments.size())
        return usageError(command,
                          QStringLiteral("argomento in più: %1")
                              .arg(parser.positionalArguments()[command.arguments.size()]));
    return std::nullopt;
}

} // namespace cvx::pack::cli
