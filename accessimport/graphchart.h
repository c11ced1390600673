#pragma once
// The Microsoft Graph chart inside an object frame, read from the frame's
// OleData as the export keeps it: an OLE compound file whose "Workbook"
// stream is an Excel (BIFF8) workbook with one chart sheet. What Access's
// automation would give as the frame's Object is read from the chart's
// records; constants are Microsoft Graph's (XlChartType, XlHAlign, ...).
#include "engine/core/status.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Orv::AccessImport {

struct GraphText
{
    QString caption;
    std::optional<QString> fontName;
    std::optional<double> fontSize;
    std::optional<int> backColor; // colour number 0x00BBGGRR of the fill's back colour
    int horizontalAlignment = -4108; // xlCenter
    int verticalAlignment = -4108;
    int orientation = -4128;         // xlHorizontal
};

struct GraphChart
{
    std::optional<int> chartType; // XlChartType
    bool hasTitle = false;
    GraphText title;
    bool hasLegend = false;
    std::optional<QString> legendFontName;
    std::optional<double> legendFontSize;
    int legendPosition = -4152; // xlLegendPositionRight
};

// Reads the chart of an OleData blob; error 321 with what is wrong when
// the blob holds no chart that can be read. Never reads outside the blob.
Status readGraphChart(const QByteArray &oleData, GraphChart *chart);

// The streams of an OLE compound file, for the reader and its tests: the
// stream of that name (without regard to case), or error 321.
Status compoundFileStream(const QByteArray &file, const QString &name, QByteArray *stream);

} // namespace Orv::AccessImport
