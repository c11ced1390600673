#include "engine/pages/stagedfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace Orv {

namespace {

// Every staged file of the process, for the signal handler: a list that
// only grows, whose slots are reused. Adding takes a free slot (or links a
// new one in front) and only then marks it live, so the handler sees
// whole paths only.
struct Slot
{
    std::atomic<int> state{0}; // 0 free, 1 being filled, 2 live
    char path[PATH_MAX] = {};
    Slot *next = nullptr;
};
std::atomic<Slot *> g_slots{nullptr};

Slot *track(const QString &path)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= PATH_MAX)
        return nullptr;
    Slot *slot = nullptr;
    for (Slot *s = g_slots.load(); s && !slot; s = s->next) {
        int expected = 0;
        if (s->state.compare_exchange_strong(expected, 1))
            slot = s;
    }
    const bool fresh = !slot;
    if (fresh) {
        slot = new Slot; // lives as long as the process: the handler may read it at any time
        slot->state = 1;
    }
    std::memcpy(slot->path, bytes.constData(), size_t(bytes.size()) + 1);
    if (fresh) {
        slot->next = g_slots.load();
        while (!g_slots.compare_exchange_weak(slot->next, slot)) {
        }
    }
    slot->state = 2;
    return slot;
}

void untrack(void *slot)
{
    if (slot)
        static_cast<Slot *>(slot)->state = 0;
}

extern "C" void removeStagedAndExit(int signal)
{
    for (Slot *s = g_slots.load(); s; s = s->next) {
        if (s->state.load() == 2)
            ::unlink(s->path);
    }
    _exit(128 + signal);
}

// Read-only by its permissions, also for the superuser, who may write anyway.
bool readOnly(const QFileInfo &info)
{
    constexpr QFileDevice::Permissions write =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & write);
}

QString systemReason(const QFileDevice &file, int error)
{
    if (error != 0)
        return QString::fromLocal8Bit(std::strerror(error));
    return file.errorString();
}

} // namespace

void removeStagedFilesOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = removeStagedAndExit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

QString displayName(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

StagedFiles::~StagedFiles()
{
    if (!m_committed)
        discard();
}

void StagedFiles::discard()
{
    for (const Staged &f : m_files) {
        QFile::remove(f.temp);
        untrack(f.slot);
    }
    m_files.clear();
}

Status StagedFiles::failure(const QString &description) const
{
    return Status::failure(ErrPathAccess, description, m_source);
}

QString StagedFiles::resolvedTarget(const QString &path)
{
    QString p = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; QFileInfo(p).isSymLink(); ++hops) {
        if (hops == 40)
            return {};
        p = QFileInfo(p).symLinkTarget();
    }
    return p;
}

QString StagedFiles::stage(const QString &target, Status *status)
{
    if (target.isEmpty() || QFileInfo(target).fileName().isEmpty()) {
        *status = failure(QStringLiteral("No file name given"));
        return {};
    }
    const QString real = resolvedTarget(target);
    if (real.isEmpty()) {
        *status = failure(QStringLiteral("Cannot write %1: its symbolic links form a loop").arg(displayName(target)));
        return {};
    }
    const QFileInfo info(real);
    if (info.isDir()) {
        *status = failure(QStringLiteral("Cannot write %1: it is a folder").arg(displayName(target)));
        return {};
    }
    if (info.exists() && readOnly(info)) {
        *status = failure(QStringLiteral("Cannot write %1: the file is read-only").arg(displayName(target)));
        return {};
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) {
        *status = failure(QStringLiteral("Cannot write %1: the folder %2 does not exist")
                              .arg(displayName(target), displayName(folder.filePath())));
        return {};
    }
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.')
                         + QUuid::createUuid().toString(QUuid::Id128).left(10) + QStringLiteral(".tmp");
    // Known to the signal handler before the file exists.
    Slot *slot = track(temp);
    QFile reserve(temp);
    if (!reserve.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        untrack(slot);
        *status = failure(QStringLiteral("Cannot write %1: %2").arg(displayName(target), reserve.errorString()));
        return {};
    }
    reserve.close();
    m_files.push_back({temp, info.absoluteFilePath(), target, slot});
    return temp;
}

Status StagedFiles::open(const QString &target, QFile *file)
{
    Status status;
    const QString temp = stage(target, &status);
    if (temp.isEmpty())
        return status;
    file->setFileName(temp);
    if (!file->open(QIODevice::WriteOnly))
        return failure(QStringLiteral("Cannot write %1: %2").arg(displayName(target), file->errorString()));
    return {};
}

Status StagedFiles::write(QFileDevice &file, const QByteArray &bytes, const QString &target) const
{
    // A write cut short (the disk filled up in the middle) reports no
    // reason; writing the rest again gets the system's.
    qint64 done = 0;
    errno = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return failure(QStringLiteral("Cannot write %1: %2").arg(displayName(target), systemReason(file, errno)));
        done += n;
    }
    return {};
}

Status StagedFiles::checkWritten(QFileDevice &file, const QString &target) const
{
    errno = 0;
    const bool flushed = file.flush();
    if (!flushed || file.error() != QFileDevice::NoError) {
        const QString why = systemReason(file, errno);
        file.close();
        return failure(QStringLiteral("Cannot write %1: %2").arg(displayName(target), why));
    }
    if (file.handle() >= 0 && ::fsync(file.handle()) != 0 && errno != EINVAL) {
        const QString why = systemReason(file, errno);
        file.close();
        return failure(QStringLiteral("Cannot write %1: %2").arg(displayName(target), why));
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("Cannot write %1: %2").arg(displayName(target), file.errorString()));
    return {};
}

Status StagedFiles::commit()
{
    // Targets that became read-only since staging are refused before any rename.
    for (const Staged &f : m_files) {
        const QFileInfo info(f.target);
        if (info.exists() && readOnly(info))
            return failure(QStringLiteral("Cannot write %1: the file is read-only").arg(displayName(f.given)));
    }
    for (const Staged &f : m_files) {
        if (std::rename(QFile::encodeName(f.temp).constData(), QFile::encodeName(f.target).constData()) != 0)
            return failure(QStringLiteral("Cannot write %1: %2")
                               .arg(displayName(f.given), QString::fromLocal8Bit(std::strerror(errno))));
    }
    for (const Staged &f : m_files)
        untrack(f.slot);
    m_committed = true;
    return {};
}

} // namespace Orv
