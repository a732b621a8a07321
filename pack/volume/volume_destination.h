// Where a build writes: a hidden working folder on the volume's own disk (inside the output
// folder when it exists, beside it otherwise), made with the modes the user's umask gives, synced
// to the disk and moved into place at the end, and removed on failure or by a later build.
#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

namespace cvx::pack {

// Why `outDir` cannot receive a new volume (it exists and is not an empty folder, or its
// parent folder is missing); empty when it can.
[[nodiscard]] QString destinationProblem(const QString& outDir);

// Removes the working folders that earlier builds into `outDir` left behind (stopped before they
// could clean up: killed, or the machine stopped); one Italian note per folder, naming it.
[[nodiscard]] QStringList removeDebris(const QString& outDir);

// Why a write failed, in Italian, from the errno value `error` ("il disco è pieno").
[[nodiscard]] QString failureReason(int error);

// The mode a new file gets from the user's umask, as `cp` gives it: 0666 & ~umask, or 0777 &
// ~umask for an executable.
[[nodiscard]] mode_t createdMode(bool executable);

// Flushes the open file `fd` to the disk; 0 when it is there, otherwise the errno value.
[[nodiscard]] int syncToDisk(int fd);

class BuildFolder {
  public:
    // Makes the working folder for a volume at `outDir` (checked by destinationProblem).
    explicit BuildFolder(const QString& outDir);
    ~BuildFolder(); // removes the working folder, unless it was placed
    BuildFolder(const BuildFolder&) = delete;
    BuildFolder& operator=(const BuildFolder&) = delete;

    [[nodiscard]] const QString& path() const { return work_; }
    [[nodiscard]] const QString& problem() const { return problem_; }

    // "impossibile scrivere NAME in FOLDER: REASON", naming a folder that exists, never the
    // working folder that will be removed.
    [[nodiscard]] QString cannotWrite(const QString& file, int error) const;

    // Syncs the working folder, moves its files into place and syncs the folder that holds them;
    // empty when the volume is in place, otherwise why not (nothing is then left behind).
    [[nodiscard]] QString place();

  private:
    QString out_;      // the volume folder
    QString existing_; // the output folder when it existed, otherwise its parent
    QString work_;
    bool inside_ = false; // the working folder is inside an existing output folder
    bool placed_ = false;
    QString problem_;
};

} // namespace cvx::pack
