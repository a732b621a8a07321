// The command line of cartavox-pack: each command's arguments and options, parsed with
// QCommandLineParser, and the Italian help texts made from the same descriptions.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace cvx::pack::cli {

// Exit statuses shared by every command.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsage = 2; // the command line itself is wrong
// "check" only: 1 (warnings) and 3 (errors), so that errors never look like a wrong command line.
inline constexpr int kCheckWarnings = 1;
inline constexpr int kCheckErrors = 3;

struct Argument {
    QString name;        // "MANIFESTO"
    QString description; // one line
    bool optional = false;
};

struct Command {
    QString name;     // "build"
    QString synopsis; // the arguments as the usage line shows them
    QString summary;  // one line, for the tool's own help
    QString description;
    QList<Argument> arguments;
    QList<QCommandLineOption> options;
    QString exitStatuses; // what each exit status means for this command
};

// The help of one command, in Italian.
[[nodiscard]] QString commandHelp(const Command& command);

// The tool's own help: its commands and the exit statuses.
[[nodiscard]] QString toolHelp(const QList<Command>& commands);

// "cartavox-pack 0.1"
[[nodiscard]] QString versionLine();

// Parses a command's own arguments (after its name) into `parser`. nullopt when the command may
// run; otherwise the status to end with: kSuccess after --help or --version were printed,
// kUsage after a wrong command line was reported on stderr with the command's usage.
[[nodiscard]] std::optional<int> parseCommand(QCommandLineParser& parser, const Command& command,
                                              const QStringList& args);

// Reports a wrong command line for `command` on stderr; kUsage.
int usageError(const Command& command, const QString& problem);

} // namespace cvx::pack::cli
