#include "bench/support/benchsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

namespace Orv::Bench {

namespace {

const double ColumnLeft[TableColumns] = {1440, 3600, 6480, 9000};
const double ColumnWidth[TableColumns] = {2100, 2800, 2450, 1800};

double rowTop(int row)
{
    return 1440 + row * 300;
}

Qt::Alignment columnAlignment(int column)
{
    return column == 3 ? (Qt::AlignRight | Qt::AlignTop) : (Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double fileMiB(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return info.size() / 1048576.0;
    qint64 total = 0;
    for (const QFileInfo &f : QDir(path).entryInfoList(QDir::Files))
        total += f.size();
    return total / 1048576.0;
}

QString tableCellText(int page, int row, int column)
{
    const int n = page * TableRows + row;
    switch (column) {
    case 0: return QStringLiteral("%1").arg(10248 + n);
    case 1: return QStringLiteral("Customer %1 Trading").arg(n % 913);
    case 2: return QStringLiteral("%1 Main Street").arg(n % 97 + 1);
    default: return QStringLiteral("%1.%2").arg(n % 10000).arg(n % 100, 2, 10, QLatin1Char('0'));
    }
}

Page tablePage(int n)
{
    Page page;
    page.size = QSizeF(12240, 15840);
    const int body = page.fontIndex(PageFont{});
    const int bold = page.fontIndex(PageFont{QStringLiteral("Arial"), 10, true});
    for (int row = 0; row < TableRows; ++row) {
        for (int column = 0; column < TableColumns; ++column) {
            TextOp op;
            op.rect = QRectF(ColumnLeft[column], rowTop(row), ColumnWidth[column], 270);
            op.text = tableCellText(n, row, column);
            op.font = column == 0 ? bold : body;
            op.alignment = columnAlignment(column);
            op.wrap = false;
            page.ops.push_back(std::move(op));
        }
    }
    page.ops.push_back(LineOp{QPointF(1440, 1400), QPointF(10800, 1400), PagePen{}});
    page.ops.push_back(LineOp{QPointF(1440, rowTop(TableRows)), QPointF(10800, rowTop(TableRows)), PagePen{}});
    return page;
}

double tableFloorSeconds(const QString &path, int count)
{
    QElapsedTimer timer;
    timer.start();
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont body(QStringLiteral("Arial"));
    body.setPointSizeF(10);
    QFont bold = body;
    bold.setBold(true);
    const double k = writer.resolution() / 1440.0;
    painter.setPen(QPen(Qt::black, 15 * k));
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            writer.newPage();
        for (int row = 0; row < TableRows; ++row) {
            for (int column = 0; column < TableColumns; ++column) {
                painter.setFont(column == 0 ? bold : body);
                painter.drawText(QRectF(ColumnLeft[column] * k, rowTop(row) * k, ColumnWidth[column] * k, 270 * k),
                                 columnAlignment(column), tableCellText(i, row, column));
            }
        }
        painter.drawLine(QPointF(1440 * k, 1400 * k), QPointF(10800 * k, 1400 * k));
        painter.drawLine(QPointF(1440 * k, rowTop(TableRows) * k), QPointF(10800 * k, rowTop(TableRows) * k));
    }
    painter.end();
    return timer.nsecsElapsed() / 1e9;
}

const char *const orderLinesStatement =
    "SELECT d.OrderID, o.OrderDate, o.CustomerID, p.ProductName, d.Quantity, d.UnitPrice, "
    "round(d.UnitPrice * d.Quantity * (1 - d.Discount), 2) AS Amount FROM [Order Details] d "
    "JOIN Orders o ON o.OrderID = d.OrderID JOIN Products p ON p.ProductID = d.ProductID ORDER BY d.OrderID";

QByteArray orderLinesLayout(const QString &connection, bool pageCount)
{
    const QString count = pageCount ? QStringLiteral(R"(<Control Type="OrvEngine.Field" Name="fldPages" Left="8400" Width="960" SummaryType="4" OutputFormat="&quot; of &quot;0"/>)")
                                    : QString();
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<OrvReportLayout version="1"><Report DocumentName="Order lines">
<Section Type="2" Name="PageHeader" Height="360">
  <Control Type="OrvEngine.Label" Name="lblTitle" Width="4000" Caption="Order lines"><Font Bold="true"/></Control>
  <Control Type="OrvEngine.Field" Name="fldPage" Left="7360" Width="2000" Alignment="1" DataField="=PageNumber" OutputFormat="&quot;Page &quot;0"/>
</Section>
<Section Type="4" Name="ghOrder" Height="330" DataField="OrderID">
  <Control Type="OrvEngine.Field" Name="fldOrder" Width="1500" DataField="OrderID"><Font Bold="true"/></Control>
  <Control Type="OrvEngine.Field" Name="fldDate" Left="1600" Width="2000" DataField="OrderDate" OutputFormat="yyyy-mm-dd"/>
  <Control Type="OrvEngine.Field" Name="fldCustomer" Left="3700" Width="2000" DataField="CustomerID"/>
</Section>
<Section Type="6" Name="Detail" Height="270">
  <Control Type="OrvEngine.Field" Name="fldProduct" Left="300" Width="4000" DataField="ProductName"/>
  <Control Type="OrvEngine.Field" Name="fldQuantity" Left="4400" Width="1000" Alignment="1" DataField="Quantity"/>
  <Control Type="OrvEngine.Field" Name="fldPrice" Left="5500" Width="1700" Alignment="1" DataField="UnitPrice" OutputFormat="0.00"/>
  <Control Type="OrvEngine.Field" Name="fldAmount" Left="7300" Width="2060" Alignment="1" DataField="Amount" OutputFormat="0.00"/>
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="%1" Source="%2"/>
</Section>
<Section Type="5" Name="gfOrder" Height="300">
  <Control Type="OrvEngine.Field" Name="fldTotal" Left="7300" Width="2060" Alignment="1" DataField="Amount" OutputFormat="0.00" SummaryType="3"><Font Bold="true"/></Control>
</Section>
<Section Type="3" Name="PageFooter" Height="300">
  <Control Type="OrvEngine.Label" Name="lblFooter" Width="4000" Caption="Tesserane Traders"><Font Size="8"/></Control>
  %3
</Section>
<Section Type="1" Name="ReportFooter" Height="300">
  <Control Type="OrvEngine.Field" Name="fldGrand" Left="7300" Width="2060" Alignment="1" DataField="Amount" OutputFormat="0.00" SummaryType="1"/>
</Section>
</Report></OrvReportLayout>
)").arg(connection.toHtmlEscaped(), QString::fromLatin1(orderLinesStatement).toHtmlEscaped(), count).toUtf8();
}

} // namespace Orv::Bench
