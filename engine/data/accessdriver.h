#pragma once

#include "engine/data/sqlitedriver.h"

#include <QStringList>

namespace Orv::Data {

// Access databases (.mdb, .accdb) without Access: mdbtools reads the file
// into a SQLite snapshot, kept in a cache keyed by the file's path, size and
// modification time, and every statement runs on the snapshot as Jet SQL.
// Saved queries become views where they translate; the others are listed
// in the snapshot's log.
class AccessDriver : public SqliteDriver
{
public:
    QString providerName() const override { return QStringLiteral("Access"); }
    Status open(const ConnectionString &cs, const QString &user, const QString &password) override;

    // The snapshot for an Access file, made when missing or out of date.
    // The cache folder is $ORVREPORT_CACHE_DIR, else the user's cache.
    static Status snapshot(const QString &accessFile, QString *snapshotPath, QStringList *log = nullptr);
    static QString cacheDir();

    // What the snapshot could not carry over (queries that did not translate).
    const QStringList &log() const { return m_log; }

private:
    QStringList m_log;
};

} // namespace Orv::Data
