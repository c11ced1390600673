#include "engine/chart/chartvalues.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Orv::Charts {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

bool isNull(const QVariant &v)
{
    return !v.isValid() || v.isNull() || v.typeId() == QMetaType::Nullptr;
}

bool isLabel(const QVariant &v)
{
    if (isNull(v))
        return false;
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QChar:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
        return true;
    default:
        return false;
    }
}

QString labelOf(const QVariant &v)
{
    if (isNull(v))
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? QLocale().toString(dt.date(), QLocale::ShortFormat)
                                        : QLocale().toString(dt, QLocale::ShortFormat);
    }
    return v.toString();
}

} // namespace

double ChartValues::value(int s, int c) const
{
    if (s < 0 || s >= seriesCount() || c < 0 || c >= int(series[size_t(s)].size()))
        return NaN;
    return series[size_t(s)][size_t(c)];
}

bool ChartValues::isEmpty() const
{
    for (const auto &values : series)
        for (double v : values)
            if (std::isfinite(v))
                return false;
    return true;
}

double numberOf(const QVariant &v)
{
    if (isNull(v))
        return NaN;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? -1 : 0; // Visual Basic's True
    case QMetaType::QString: {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok ? d : NaN;
    }
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
    case QMetaType::QByteArray:
    case QMetaType::QVariantList:
        return NaN;
    default: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        return ok && std::isfinite(d) ? d : NaN;
    }
    }
}

ChartValues valuesFromRows(const std::vector<QVariantList> &rows, const QStringList &fieldNames)
{
    ChartValues out;
    const size_t count = std::min(rows.size(), size_t(MaxCategories));
    int fields = 0;
    bool labelled = false;
    for (size_t r = 0; r < count; ++r) {
        fields = std::max(fields, int(rows[r].size()));
        labelled = labelled || (!rows[r].isEmpty() && isLabel(rows[r].front()));
    }
    const int first = labelled ? 1 : 0;
    const int seriesCount = std::clamp(fields - first, 0, MaxSeries);
    out.series.assign(size_t(seriesCount), std::vector<double>(count, NaN));
    for (int s = 0; s < seriesCount; ++s) {
        const int field = first + s;
        out.seriesNames << (field < fieldNames.size() && !fieldNames[field].isEmpty()
                                ? fieldNames[field]
                                : QStringLiteral("Series %1").arg(s + 1));
    }
    for (size_t r = 0; r < count; ++r) {
        const QVariantList &row = rows[r];
        out.categories << (labelled ? labelOf(row.value(0)) : QString::number(r + 1));
        for (int s = 0; s < seriesCount; ++s)
            out.series[size_t(s)][r] = numberOf(row.value(first + s));
    }
    return out;
}

ChartValues valuesFromRecords(const QVariant &records, const QStringList &fieldNames)
{
    std::vector<QVariantList> rows;
    if (records.typeId() == QMetaType::QVariantList || records.typeId() == QMetaType::QStringList) {
        const QVariantList list = records.toList();
        rows.reserve(size_t(std::min<qsizetype>(list.size(), MaxCategories)));
        for (const QVariant &record : list) {
            if (rows.size() >= size_t(MaxCategories))
                break;
            if (record.typeId() == QMetaType::QVariantList)
                rows.push_back(record.toList());
            else
                rows.push_back(QVariantList{record});
        }
    }
    return valuesFromRows(rows, fieldNames);
}

ChartValues sampleValues(int chartType)
{
    ChartValues v;
    if (chartType == 16) {
        // XY: the first series gives the x positions.
        v.categories = QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                   QStringLiteral("4"), QStringLiteral("5")};
        v.seriesNames = QStringList{QStringLiteral("X"), QStringLiteral("Series 1"), QStringLiteral("Series 2")};
        v.series = {{1, 2, 3.5, 5, 6}, {2, 4.5, 3, 6, 5.5}, {1, 2, 4, 3.5, 7}};
        return v;
    }
    v.categories = QStringList{QStringLiteral("Q1"), QStringLiteral("Q2"), QStringLiteral("Q3"), QStringLiteral("Q4")};
    if (chartType == 14) {
        v.seriesNames = QStringList{QStringLiteral("Series 1")};
        v.series = {{40, 25, 20, 15}};
        return v;
    }
    v.seriesNames = QStringList{QStringLiteral("Series 1"), QStringLiteral("Series 2"), QStringLiteral("Series 3")};
    v.series = {{4, 6, 5, 8}, {3, 4, 6, 5}, {2, 3, 2, 4}};
    return v;
}

} // namespace Orv::Charts
