// The commands of cartavox-pack: what each takes (for the parser and the help) and what it runs.
#pragma once

#include "pack/commands/command_line.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <functional>

namespace cvx::pack {

struct ToolCommand {
    cli::Command usage; // its name, arguments and options, for the parser and the help
    std::function<int(const QCommandLineParser&)> run; // the exit status
};

// build, inspect, verify, extract.
[[nodiscard]] QList<ToolCommand> volumeCommands();

// init, check, proof, export-iiif.
[[nodiscard]] QList<ToolCommand> publisherCommands();

// One line on stderr, rewritten in place on a terminal, shown only once a run takes a while;
// with `terminalOnly`, never shown when stderr is not a terminal.
class ProgressLine {
  public:
    explicit ProgressLine(bool terminalOnly = false);
    void show(const QString& text);
    void end();
    [[nodiscard]] double seconds() const { return clock_.nsecsElapsed() / 1e9; }

  private:
    bool terminal_;
    bool silent_;
    bool shown_ = false;
    qint64 last_ = -100000;
    QElapsedTimer clock_;
};

// The tool's standard error, shared by the commands.
QTextStream& err();

// Each line on stderr after "cartavox-pack: "; kFailure when there is any, else kSuccess.
int reportFaults(const QStringList& faults);

} // namespace cvx::pack
