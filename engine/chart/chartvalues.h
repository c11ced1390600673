#pragma once
// The values a chart shows: one category per record and one or more
// series of numbers, each with one value per category. Values that are
// Null, missing or not numbers are NaN and draw nothing.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace Orv::Charts {

struct ChartValues
{
    QStringList categories;
    QStringList seriesNames;
    std::vector<std::vector<double>> series; // [series][category]

    int categoryCount() const { return int(categories.size()); }
    int seriesCount() const { return int(series.size()); }
    double value(int s, int c) const;
    // True when there is nothing to draw: no category or no number at all.
    bool isEmpty() const;
};

// The most records and series a chart takes; more would not be legible
// and would only cost memory. Records beyond are left out.
constexpr int MaxCategories = 10000;
constexpr int MaxSeries = 64;

// Values from a two-dimensional array as scripts hand it over: a list of
// records, each a list of its fields (a one-dimensional array is one field
// per record). When the first field is text (or a date) in any record, it
// labels the categories and the other fields are the series; otherwise
// every field is a series and the categories are numbered from 1.
// fieldNames names the fields (series "Series 1", ... without them).
ChartValues valuesFromRecords(const QVariant &records, const QStringList &fieldNames = {});

// The same from rows already read (a recordset's).
ChartValues valuesFromRows(const std::vector<QVariantList> &rows, const QStringList &fieldNames);

// A number of a field: numbers and numeric text as they are, anything else NaN.
double numberOf(const QVariant &value);

// Sample values shown for a chart of the given kind where there is no data
// yet (the designer): three series over four categories, one series for a pie.
ChartValues sampleValues(int chartType);

} // namespace Orv::Charts
