#pragma once
// Output files written under hidden temporary names in their target's
// folder and renamed over their targets by commit, so a failed or cancelled
// write leaves no partial file and the old file stays whole; uncommitted
// files are removed. A target that exists and is read-only is refused
// before anything is written; a symbolic link is written through to the
// file it names.
#include "engine/core/status.h"

#include <QFileDevice>
#include <QString>

#include <vector>

class QFile;

namespace Orv {

class StagedFiles
{
public:
    // source names the writer in errors: "<source> export", or source as
    // it stands with exportSuffix false.
    explicit StagedFiles(const QString &source, bool exportSuffix = true)
        : m_source(exportSuffix ? source + QStringLiteral(" export") : source) {}
    ~StagedFiles();
    StagedFiles(const StagedFiles &) = delete;
    StagedFiles &operator=(const StagedFiles &) = delete;

    // Reserves a temporary file for target and returns its path, or an
    // empty text with status set.
    QString stage(const QString &target, Status *status);
    // Stages target and opens file on its temporary name for writing.
    Status open(const QString &target, QFile *file);
    // Writes bytes to a file opened by open, with the system's reason on failure.
    Status write(QFileDevice &file, const QByteArray &bytes, const QString &target) const;
    // Checks that a file written with QFile reached the disk whole: the
    // flush, the sync and the close.
    Status checkWritten(QFileDevice &file, const QString &target) const;
    // Renames every staged file into place.
    Status commit();
    // Removes the staged files now.
    void discard();

    // The file a path ends at once its symbolic links are followed (the
    // path itself when it is none); empty for a loop of links.
    static QString resolvedTarget(const QString &path);

private:
    Status failure(const QString &description) const;
    QString m_source;
    struct Staged
    {
        QString temp;
        QString target; // with its links followed
        QString given;  // as named, for messages
        void *slot;     // the signal handler's record
    };
    std::vector<Staged> m_files;
    bool m_committed = false;
};

// SIGINT and SIGTERM remove every staged file of the process and end it
// with 130 or 143. For programs that write outputs (the CLI).
void removeStagedFilesOnSignals();

// A file name for messages: the path as the user gave it.
QString displayName(const QString &path);

} // namespace Orv
