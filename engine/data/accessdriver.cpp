#include "engine/data/accessdriver.h"

#include "engine/data/sqldialect.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sqlite3.h>

#include <cstdio>

namespace Orv::Data {

namespace {

// Runs an mdbtools program and returns its standard output.
bool runTool(const QString &program, const QStringList &args, QByteArray *out, QString *error)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        *error = QStringLiteral("%1 cannot be started; is mdbtools installed (scripts/setup)?").arg(program);
        return false;
    }
    QByteArray data;
    QElapsedTimer clock;
    clock.start();
    while (!p.waitForFinished(200)) {
        data += p.readAllStandardOutput();
        if (p.state() == QProcess::NotRunning)
            break;
        if (clock.elapsed() > 300000) { // a damaged file must not hang the open
            p.kill();
            p.waitForFinished(5000);
            *error = QStringLiteral("%1 did not finish within five minutes").arg(program);
            return false;
        }
    }
    data += p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("%1 %2 failed: %3").arg(program, args.join(u' '), QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
        return false;
    }
    *out = data;
    return true;
}

struct AccessColumn
{
    QString name;
    QString type;     // the SQLite declaration
    bool notNull = false;
    bool binary = false;
};

// Access type names as mdb-schema writes them, declared so that the
// provider's type mapping gives the ADO type Access itself reports.
QString declaredType(const QString &accessType, bool *binary)
{
    static const QRegularExpression text(QStringLiteral("^Text\\s*\\((\\d+)\\)$"), QRegularExpression::CaseInsensitiveOption);
    const QString t = accessType.trimmed();
    *binary = false;
    const auto m = text.match(t);
    if (m.hasMatch())
        return QStringLiteral("VARCHAR(%1)").arg(m.captured(1));
    const QString l = t.toLower();
    if (l == QLatin1String("long integer")) return QStringLiteral("INTEGER");
    if (l == QLatin1String("integer")) return QStringLiteral("SMALLINT");
    if (l == QLatin1String("byte")) return QStringLiteral("TINYINT");
    if (l == QLatin1String("single")) return QStringLiteral("REAL");
    if (l == QLatin1String("double")) return QStringLiteral("DOUBLE");
    if (l == QLatin1String("currency")) return QStringLiteral("MONEY");
    if (l == QLatin1String("boolean")) return QStringLiteral("BOOLEAN");
    if (l == QLatin1String("datetime") || l.startsWith(QLatin1String("date"))) return QStringLiteral("DATETIME");
    if (l == QLatin1String("replication id")) return QStringLiteral("GUID");
    if (l.startsWith(QLatin1String("numeric")) || l.startsWith(QLatin1String("decimal"))) return QStringLiteral("NUMERIC");
    if (l == QLatin1String("ole") || l.contains(QLatin1String("binary")) || l.contains(QLatin1String("ole"))) {
        *binary = true;
        return QStringLiteral("BLOB");
    }
    return QStringLiteral("TEXT"); // Memo, Hyperlink and anything newer
}

QList<AccessColumn> parseSchema(const QByteArray &ddl)
{
    QList<AccessColumn> out;
    static const QRegularExpression line(QStringLiteral("^\\s*\\[(.+)\\]\\s+(.+?)(\\s+NOT NULL)?\\s*,?\\s*$"));
    bool inTable = false;
    for (const QString &l : QString::fromUtf8(ddl).split(u'\n')) {
        if (l.startsWith(QLatin1String("CREATE TABLE"))) {
            inTable = true;
            continue;
        }
        if (!inTable)
            continue;
        if (l.startsWith(u')'))
            break;
        const auto m = line.match(l);
        if (!m.hasMatch())
            continue;
        AccessColumn c;
        c.name = m.captured(1);
        c.type = declaredType(m.captured(2), &c.binary);
        c.notNull = !m.captured(3).isEmpty();
        out.append(c);
    }
    return out;
}

// CSV as mdb-export writes it: a header row, "quoted" fields with doubled
// quotes, line breaks allowed inside quotes.
class CsvReader
{
public:
    explicit CsvReader(const QByteArray &data) : m_data(data) {}

    bool next(QList<QByteArray> *fields, bool *quoted)
    {
        fields->clear();
        if (m_pos >= m_data.size())
            return false;
        QByteArray field;
        bool inQuotes = false, wasQuoted = false;
        QList<bool> quotes;
        while (m_pos < m_data.size()) {
            const char c = m_data[m_pos++];
            if (inQuotes) {
                if (c == '"') {
                    if (m_pos < m_data.size() && m_data[m_pos] == '"') {
                        field += '"';
                        ++m_pos;
                    } else {
                        inQuotes = false;
                    }
                } else {
                    field += c;
                }
            } else if (c == '"') {
                inQuotes = true;
                wasQuoted = true;
            } else if (c == ',') {
                fields->append(field);
                quotes.append(wasQuoted);
                field.clear();
                wasQuoted = false;
            } else if (c == '\n') {
                break;
            } else if (c != '\r') {
                field += c;
            }
        }
        fields->append(field);
        quotes.append(wasQuoted);
        for (qsizetype i = 0; i < quotes.size(); ++i)
            quoted[i < 4096 ? i : 4095] = quotes[i];
        return true;
    }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

QString quoteName(const QString &name)
{
    QString n = name;
    return u'"' + n.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

bool exec(sqlite3 *db, const QString &sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(message ? message : "unknown error");
    sqlite3_free(message);
    return false;
}

struct Relationship
{
    QString name, fkTable, fkColumn, pkTable, pkColumn;
    int ordinal = 1;
};

Status buildSnapshot(const QString &file, const QString &target, QStringList *log)
{
    QString error;
    QByteArray out;
    const auto fail = [&](const QString &why) {
        return Status::failure(ErrProviderFailed, QStringLiteral("Cannot read the Access database '%1': %2").arg(file, why));
    };
    if (!runTool(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), file}, &out, &error))
        return fail(error);
    const QStringList tables = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);

    QList<Relationship> relationships;
    if (runTool(QStringLiteral("mdb-export"), {file, QStringLiteral("MSysRelationships")}, &out, &error)) {
        CsvReader csv(out);
        QList<QByteArray> f;
        bool quoted[4096];
        csv.next(&f, quoted); // header: szRelationship,grbit,ccolumn,icolumn,szObject,szColumn,szReferencedObject,szReferencedColumn
        const QList<QByteArray> header = f;
        const auto col = [&](const char *name) { return header.indexOf(QByteArray(name)); };
        while (csv.next(&f, quoted)) {
            if (f.size() < header.size())
                continue;
            Relationship r;
            r.name = QString::fromUtf8(f.value(col("szRelationship")));
            r.fkTable = QString::fromUtf8(f.value(col("szObject")));
            r.fkColumn = QString::fromUtf8(f.value(col("szColumn")));
            r.pkTable = QString::fromUtf8(f.value(col("szReferencedObject")));
            r.pkColumn = QString::fromUtf8(f.value(col("szReferencedColumn")));
            r.ordinal = f.value(col("icolumn")).toInt() + 1;
            relationships.append(r);
        }
    }

    const QString temporary = target + QStringLiteral(".part");
    QFile::remove(temporary);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(temporary.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return fail(QStringLiteral("cannot write the snapshot %1").arg(temporary));
    }
    registerJetFunctions(db);
    const auto abandon = [&](const QString &why) {
        sqlite3_close(db);
        QFile::remove(temporary);
        return fail(why);
    };
    if (!exec(db, QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                                 "CREATE TABLE orv_relationships (name TEXT, fk_table TEXT, fk_column TEXT, pk_table TEXT, "
                                 "pk_column TEXT, ordinal INTEGER);"
                                 "CREATE TABLE orv_log (line TEXT);"),
              &error))
        return abandon(error);

    for (const QString &table : tables) {
        if (!runTool(QStringLiteral("mdb-schema"), {QStringLiteral("-T"), table, file, QStringLiteral("access")}, &out, &error))
            return abandon(error);
        const QList<AccessColumn> columns = parseSchema(out);
        if (columns.isEmpty()) {
            log->append(QStringLiteral("table %1: no columns could be read").arg(table));
            continue;
        }
        QStringList defs;
        for (const AccessColumn &c : columns)
            defs << quoteName(c.name) + u' ' + c.type + (c.notNull ? QStringLiteral(" NOT NULL") : QString());
        QHash<QString, QList<Relationship>> byName;
        for (const Relationship &r : relationships) {
            if (r.fkTable == table)
                byName[r.name].append(r);
        }
        for (const auto &key : byName) {
            QStringList from, to;
            for (const Relationship &r : key) {
                from << quoteName(r.fkColumn);
                to << quoteName(r.pkColumn);
            }
            defs << QStringLiteral("FOREIGN KEY (%1) REFERENCES %2 (%3)").arg(from.join(u','), quoteName(key.first().pkTable), to.join(u','));
        }
        if (!exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteName(table), defs.join(QStringLiteral(", "))), &error))
            return abandon(QStringLiteral("table %1: %2").arg(table, error));

        if (!runTool(QStringLiteral("mdb-export"), {QStringLiteral("-D"), QStringLiteral("%Y-%m-%d"), QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M:%S"), QStringLiteral("-b"),
                                                    QStringLiteral("hex"), file, table},
                     &out, &error))
            return abandon(error);
        QStringList marks(columns.size(), QStringLiteral("?"));
        sqlite3_stmt *insert = nullptr;
        const QByteArray sql = QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(quoteName(table), marks.join(u',')).toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr) != SQLITE_OK)
            return abandon(QString::fromUtf8(sqlite3_errmsg(db)));
        CsvReader csv(out);
        QList<QByteArray> f;
        bool quoted[4096];
        csv.next(&f, quoted); // the header
        while (csv.next(&f, quoted)) {
            for (int i = 0; i < columns.size(); ++i) {
                const QByteArray v = f.value(i);
                const bool isQuoted = i < 4096 && quoted[i];
                if (v.isEmpty() && !isQuoted) {
                    sqlite3_bind_null(insert, i + 1);
                } else if (columns[i].binary) {
                    const QByteArray bytes = QByteArray::fromHex(v);
                    sqlite3_bind_blob(insert, i + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
                } else if (!isQuoted && columns[i].type != QLatin1String("DATETIME")) {
                    bool isInt = false;
                    const qlonglong n = v.toLongLong(&isInt);
                    if (isInt)
                        sqlite3_bind_int64(insert, i + 1, n);
                    else
                        sqlite3_bind_double(insert, i + 1, v.toDouble());
                } else {
                    sqlite3_bind_text(insert, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
                }
            }
            if (sqlite3_step(insert) != SQLITE_DONE) {
                const QString why = QString::fromUtf8(sqlite3_errmsg(db));
                sqlite3_finalize(insert);
                return abandon(QStringLiteral("table %1: %2").arg(table, why));
            }
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    }

    for (const Relationship &r : relationships) {
        exec(db, QStringLiteral("INSERT INTO orv_relationships VALUES (%1, %2, %3, %4, %5, %6)")
                     .arg(u'\'' + QString(r.name).replace(u'\'', QStringLiteral("''")) + u'\'',
                          u'\'' + QString(r.fkTable).replace(u'\'', QStringLiteral("''")) + u'\'',
                          u'\'' + QString(r.fkColumn).replace(u'\'', QStringLiteral("''")) + u'\'',
                          u'\'' + QString(r.pkTable).replace(u'\'', QStringLiteral("''")) + u'\'',
                          u'\'' + QString(r.pkColumn).replace(u'\'', QStringLiteral("''")) + u'\'')
                     .arg(r.ordinal),
             &error);
    }

    // Saved queries become views where their SQL runs on SQLite. A query
    // may use one defined after it, so passes repeat while views are added.
    if (runTool(QStringLiteral("mdb-queries"), {QStringLiteral("-1"), file}, &out, &error)) {
        SqlDialect jet;
        jet.jet = true;
        jet.renameLeftRight = true;
        QList<QPair<QString, QString>> pending;
        for (const QString &name : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts)) {
            if (name.startsWith(u'~'))
                continue; // record sources Access keeps for forms and reports
            QByteArray sql;
            if (!runTool(QStringLiteral("mdb-queries"), {file, name}, &sql, &error)) {
                log->append(QStringLiteral("query %1: %2").arg(name, error));
                continue;
            }
            const QString text = rewriteSql(QString::fromUtf8(sql).trimmed(), jet);
            if (!text.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)) {
                log->append(QStringLiteral("query %1: not a SELECT, left out").arg(name));
                continue;
            }
            pending.append({name, text});
        }
        QHash<QString, QString> reasons;
        for (bool progress = true; progress && !pending.isEmpty();) {
            progress = false;
            for (qsizetype i = 0; i < pending.size();) {
                const auto &[name, text] = pending[i];
                QString why;
                if (exec(db, QStringLiteral("CREATE VIEW %1 AS %2").arg(quoteName(name), text), &why)
                    && exec(db, QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(quoteName(name)), &why)) {
                    pending.removeAt(i);
                    progress = true;
                } else {
                    exec(db, QStringLiteral("DROP VIEW IF EXISTS %1").arg(quoteName(name)), &error);
                    reasons[name] = why;
                    ++i;
                }
            }
        }
        for (const auto &p : pending)
            log->append(QStringLiteral("query %1: %2").arg(p.first, reasons.value(p.first)));
    }
    for (const QString &line : *log)
        exec(db, QStringLiteral("INSERT INTO orv_log VALUES ('%1')").arg(QString(line).replace(u'\'', QStringLiteral("''"))), &error);
    if (!exec(db, QStringLiteral("COMMIT"), &error))
        return abandon(error);
    sqlite3_close(db);
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        return fail(QStringLiteral("cannot move the snapshot into %1").arg(target));
    }
    return {};
}

} // namespace

QString AccessDriver::cacheDir()
{
    const QString overridden = qEnvironmentVariable("ORVREPORT_CACHE_DIR");
    if (!overridden.isEmpty())
        return QDir(overridden).filePath(QStringLiteral("access"));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)).filePath(QStringLiteral("OrvReport/access"));
}

Status AccessDriver::snapshot(const QString &accessFile, QString *snapshotPath, QStringList *log)
{
    const QFileInfo info(accessFile);
    if (!info.isFile())
        return Status::failure(ErrProviderFailed, QStringLiteral("Could not find file '%1'").arg(accessFile));
    // The snapshot layout's version is part of the key, so an update rebuilds them.
    const QByteArray key = "2\n" + info.absoluteFilePath().toUtf8() + '\n' + QByteArray::number(info.size()) + '\n'
                           + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    const QString dir = cacheDir();
    if (!QDir().mkpath(dir))
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot make the cache folder %1").arg(dir));
    *snapshotPath = QDir(dir).filePath(info.completeBaseName() + u'-' + hash + QStringLiteral(".db"));
    QStringList lines;
    if (!QFileInfo::exists(*snapshotPath)) {
        const Status status = buildSnapshot(info.absoluteFilePath(), *snapshotPath, &lines);
        if (!status.ok())
            return status;
    }
    if (log)
        *log = lines;
    return {};
}

Status AccessDriver::open(const ConnectionString &cs, const QString &, const QString &)
{
    const QString path = cs.value({"Data Source", "DBQ", "Database"});
    if (path.isEmpty())
        return Status::failure(ErrProviderFailed, QStringLiteral("The connection string names no database (Data Source is empty)"));
    QString snapshotPath;
    Status status = snapshot(path, &snapshotPath);
    if (!status.ok())
        return status;
    status = openFile(snapshotPath, true, true);
    if (!status.ok())
        return status;
    m_log.clear();
    Status ignored;
    if (auto cursor = execute(QStringLiteral("SELECT line FROM orv_log"), &ignored)) {
        while (cursor->next(&ignored))
            m_log << cursor->value(0).toString();
    }
    return {};
}

} // namespace Orv::Data
