// Jet's built-in functions as SQLite functions, so that Access queries and
// report record sources run on SQLite databases and Access snapshots.

#include "engine/data/sqlitedriver.h"
#include "engine/vbformat/vbformat.h"

#include <QDateTime>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>

namespace Orv::Data {

namespace {

QVariant arg(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return QVariant();
    case SQLITE_INTEGER: return qlonglong(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    case SQLITE_BLOB: return QByteArray(static_cast<const char *>(sqlite3_value_blob(v)), sqlite3_value_bytes(v));
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
    }
}

void result(sqlite3_context *ctx, const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::UnknownType:
        sqlite3_result_null(ctx);
        break;
    case QMetaType::Bool:
        sqlite3_result_int(ctx, v.toBool() ? -1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        sqlite3_result_int64(ctx, v.toLongLong());
        break;
    case QMetaType::Double:
        sqlite3_result_double(ctx, v.toDouble());
        break;
    case QMetaType::QDateTime: {
        const QByteArray t = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        sqlite3_result_text(ctx, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_result_text(ctx, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

QDateTime toDate(const QVariant &v, bool *ok)
{
    *ok = true;
    if (v.metaType().id() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        for (const char *f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd", "M/d/yyyy", "M/d/yyyy H:mm:ss"}) {
            const QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
            if (dt.isValid())
                return dt;
        }
    } else if (v.canConvert<double>() && v.isValid()) {
        // An OLE date number: days since 30 December 1899.
        const double days = v.toDouble();
        return QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addMSecs(qint64(std::llround(days * 86400000.0)));
    }
    *ok = false;
    return {};
}

qint64 bankersRound(double d)
{
    return qint64(std::nearbyint(d)); // the default rounding mode rounds half to even, as CInt does
}

using Fn = QVariant (*)(const QList<QVariant> &);

void call(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QList<QVariant> args;
    args.reserve(argc);
    for (int i = 0; i < argc; ++i)
        args.append(arg(argv[i]));
    result(ctx, reinterpret_cast<Fn>(sqlite3_user_data(ctx))(args));
}

bool anyNull(const QList<QVariant> &a)
{
    for (const QVariant &v : a) {
        if (!v.isValid())
            return true;
    }
    return false;
}

QVariant datePart(const QString &interval, const QDateTime &d)
{
    const QString i = interval.toLower();
    if (i == QLatin1String("yyyy")) return d.date().year();
    if (i == QLatin1String("q")) return (d.date().month() - 1) / 3 + 1;
    if (i == QLatin1String("m")) return d.date().month();
    if (i == QLatin1String("y")) return d.date().dayOfYear();
    if (i == QLatin1String("d")) return d.date().day();
    if (i == QLatin1String("w")) return d.date().dayOfWeek() % 7 + 1; // Sunday 1
    if (i == QLatin1String("ww")) return (d.date().dayOfYear() + QDate(d.date().year(), 1, 1).dayOfWeek() % 7 - 1) / 7 + 1;
    if (i == QLatin1String("h")) return d.time().hour();
    if (i == QLatin1String("n")) return d.time().minute();
    if (i == QLatin1String("s")) return d.time().second();
    return QVariant();
}

QDateTime dateAdd(const QString &interval, qint64 n, const QDateTime &d)
{
    const QString i = interval.toLower();
    if (i == QLatin1String("yyyy")) return d.addYears(int(n));
    if (i == QLatin1String("q")) return d.addMonths(int(n * 3));
    if (i == QLatin1String("m")) return d.addMonths(int(n));
    if (i == QLatin1String("ww")) return d.addDays(n * 7);
    if (i == QLatin1String("d") || i == QLatin1String("y") || i == QLatin1String("w")) return d.addDays(n);
    if (i == QLatin1String("h")) return d.addSecs(n * 3600);
    if (i == QLatin1String("n")) return d.addSecs(n * 60);
    if (i == QLatin1String("s")) return d.addSecs(n);
    return {};
}

QVariant dateDiff(const QString &interval, const QDateTime &a, const QDateTime &b)
{
    const QString i = interval.toLower();
    if (i == QLatin1String("yyyy")) return b.date().year() - a.date().year();
    if (i == QLatin1String("q"))
        return (b.date().year() * 4 + (b.date().month() - 1) / 3) - (a.date().year() * 4 + (a.date().month() - 1) / 3);
    if (i == QLatin1String("m")) return (b.date().year() * 12 + b.date().month()) - (a.date().year() * 12 + a.date().month());
    if (i == QLatin1String("d") || i == QLatin1String("y")) return qlonglong(a.date().daysTo(b.date()));
    if (i == QLatin1String("w") || i == QLatin1String("ww")) return qlonglong(a.date().daysTo(b.date()) / 7);
    if (i == QLatin1String("h")) return qlonglong(a.secsTo(b) / 3600);
    if (i == QLatin1String("n")) return qlonglong(a.secsTo(b) / 60);
    if (i == QLatin1String("s")) return qlonglong(a.secsTo(b));
    return QVariant();
}

struct Function
{
    const char *name;
    int args; // -1: any number
    Fn fn;
};

const Function functions[] = {
    {"Nz", -1, [](const QList<QVariant> &a) -> QVariant {
         if (a.isEmpty()) return QVariant();
         return a[0].isValid() ? a[0] : (a.size() > 1 ? a[1] : QVariant(QString()));
     }},
    {"JetLeft", 2, [](const QList<QVariant> &a) -> QVariant {
         return anyNull(a) ? QVariant() : QVariant(a[0].toString().left(qMax(0LL, a[1].toLongLong())));
     }},
    {"JetRight", 2, [](const QList<QVariant> &a) -> QVariant {
         return anyNull(a) ? QVariant() : QVariant(a[0].toString().right(qMax(0LL, a[1].toLongLong())));
     }},
    {"Mid", -1, [](const QList<QVariant> &a) -> QVariant {
         if (a.size() < 2 || anyNull(a)) return QVariant();
         const qlonglong start = qMax(1LL, a[1].toLongLong());
         return a[0].toString().mid(start - 1, a.size() > 2 ? qMax(0LL, a[2].toLongLong()) : -1);
     }},
    {"Len", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(qlonglong(a[0].toString().size())); }},
    {"InStr", -1, [](const QList<QVariant> &a) -> QVariant {
         if (a.size() < 2 || anyNull(a)) return QVariant();
         const bool withStart = a.size() >= 3;
         const qlonglong start = withStart ? qMax(1LL, a[0].toLongLong()) : 1;
         const QString s = a[withStart ? 1 : 0].toString(), t = a[withStart ? 2 : 1].toString();
         return qlonglong(s.indexOf(t, start - 1, Qt::CaseInsensitive) + 1);
     }},
    {"UCase", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(a[0].toString().toUpper()); }},
    {"LCase", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(a[0].toString().toLower()); }},
    {"Year", 1, [](const QList<QVariant> &a) -> QVariant { bool ok; const auto d = toDate(a[0], &ok); return ok ? QVariant(d.date().year()) : QVariant(); }},
    {"Month", 1, [](const QList<QVariant> &a) -> QVariant { bool ok; const auto d = toDate(a[0], &ok); return ok ? QVariant(d.date().month()) : QVariant(); }},
    {"Day", 1, [](const QList<QVariant> &a) -> QVariant { bool ok; const auto d = toDate(a[0], &ok); return ok ? QVariant(d.date().day()) : QVariant(); }},
    {"Now", 0, [](const QList<QVariant> &) -> QVariant { return QDateTime::currentDateTime(); }},
    {"Date", 0, [](const QList<QVariant> &) -> QVariant { return QDateTime(QDate::currentDate(), QTime(0, 0)); }},
    {"DatePart", -1, [](const QList<QVariant> &a) -> QVariant {
         if (a.size() < 2) return QVariant();
         bool ok; const auto d = toDate(a[1], &ok); return ok ? datePart(a[0].toString(), d) : QVariant();
     }},
    {"DateAdd", 3, [](const QList<QVariant> &a) -> QVariant {
         bool ok; const auto d = toDate(a[2], &ok);
         return ok && a[1].isValid() ? QVariant(dateAdd(a[0].toString(), a[1].toLongLong(), d)) : QVariant();
     }},
    {"DateDiff", 3, [](const QList<QVariant> &a) -> QVariant {
         bool ok1, ok2; const auto d1 = toDate(a[1], &ok1); const auto d2 = toDate(a[2], &ok2);
         return ok1 && ok2 ? dateDiff(a[0].toString(), d1, d2) : QVariant();
     }},
    {"CStr", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(a[0].toString()); }},
    {"CInt", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(qlonglong(bankersRound(a[0].toDouble()))); }},
    {"CLng", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(qlonglong(bankersRound(a[0].toDouble()))); }},
    {"CDbl", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(a[0].toDouble()); }},
    {"CCur", 1, [](const QList<QVariant> &a) -> QVariant {
         return anyNull(a) ? QVariant() : QVariant(std::nearbyint(a[0].toDouble() * 10000.0) / 10000.0);
     }},
    {"CBool", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(a[0].toDouble() != 0); }},
    {"Int", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(std::floor(a[0].toDouble())); }},
    {"Fix", 1, [](const QList<QVariant> &a) -> QVariant { return anyNull(a) ? QVariant() : QVariant(std::trunc(a[0].toDouble())); }},
    {"Val", 1, [](const QList<QVariant> &a) -> QVariant {
         if (anyNull(a)) return 0.0;
         const QString s = a[0].toString().trimmed();
         qsizetype n = 0;
         while (n < s.size() && (s[n].isDigit() || s[n] == u'.' || (n == 0 && (s[n] == u'-' || s[n] == u'+'))))
             ++n;
         return s.left(n).toDouble();
     }},
    {"Format", -1, [](const QList<QVariant> &a) -> QVariant {
         if (a.isEmpty()) return QVariant();
         QVariant value = a[0];
         const QString fmt = a.size() > 1 && a[1].isValid() ? a[1].toString() : QString();
         // Null stays Null unless the format has a section for it.
         if (!value.isValid() && fmt.count(u';') < 3) return QVariant();
         if (!value.isValid()) value = QVariant::fromValue(nullptr);
         // Dates are stored as text; format them as dates.
         if (value.metaType().id() == QMetaType::QString && value.toString().size() >= 10 && value.toString()[4] == u'-') {
             bool ok;
             const QDateTime d = toDate(value, &ok);
             if (ok) value = d;
         }
         const auto day = a.size() > 2 && a[2].isValid() ? VbFormat::FirstDayOfWeek(qBound(0LL, a[2].toLongLong(), 7LL)) : VbFormat::Sunday;
         const auto week = a.size() > 3 && a[3].isValid() ? VbFormat::FirstWeekOfYear(qBound(0LL, a[3].toLongLong(), 3LL)) : VbFormat::FirstJan1;
         return VbFormat::format(value, fmt, day, week);
     }},
    {"IsNull", 1, [](const QList<QVariant> &a) -> QVariant { return a[0].isValid() ? 0 : -1; }},
    // Jet takes IIf without its false part (Null then); SQLite's own iif
    // has all three.
    {"IIf", 2, [](const QList<QVariant> &a) -> QVariant { return a[0].isValid() && a[0].toDouble() != 0 ? a[1] : QVariant(); }},
};

} // namespace

void registerJetFunctions(sqlite3 *db)
{
    for (const Function &f : functions) {
        sqlite3_create_function_v2(db, f.name, f.args, SQLITE_UTF8, reinterpret_cast<void *>(f.fn), call, nullptr,
                                   nullptr, nullptr);
    }
}

} // namespace Orv::Data
