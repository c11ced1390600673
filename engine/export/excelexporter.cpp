#include "engine/export/excelexporter.h"

#include "engine/core/units.h"
#include "engine/export/exportutil.h"
#include "engine/pages/pagecollection.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>
#include <xlsxwriter.h>

namespace Orv {

namespace {

constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;
constexpr int MaxPageBreaks = 1023; // Excel keeps no more per sheet

// Boundaries from edges: edges within space of the last boundary join it,
// and a boundary closer than minSize to the last one is dropped, except the
// final edge, which widens the last span instead.
std::vector<double> boundaries(std::vector<double> edges, double space, double minSize)
{
    std::sort(edges.begin(), edges.end());
    std::vector<double> out;
    for (double e : edges) {
        if (out.empty() || (e - out.back() > space && e - out.back() >= minSize))
            out.push_back(e);
    }
    if (!edges.empty() && edges.back() > out.back() + space) {
        if (out.size() > 1)
            out.back() = edges.back();
        else
            out.push_back(edges.back());
    }
    return out;
}

// Index of the boundary nearest to v.
int nearest(const std::vector<double> &b, double v)
{
    const auto it = std::lower_bound(b.begin(), b.end(), v);
    if (it == b.begin())
        return 0;
    if (it == b.end())
        return int(b.size()) - 1;
    return (v - *(it - 1) <= *it - v) ? int(it - b.begin()) - 1 : int(it - b.begin());
}

// Spans kept after trimming: kept[i] is the new index of span i, or the
// new index of the next kept span (negative, minus one) when dropped.
struct SpanMap
{
    std::vector<int> index; // new index, -1 when dropped
    std::vector<double> size;  // sizes of the kept spans
    int count() const { return int(size.size()); }
    // The new index at or after i (for borders on dropped spans).
    int atOrAfter(int i) const
    {
        for (; i < int(index.size()); ++i)
            if (index[size_t(i)] >= 0)
                return index[size_t(i)];
        return count();
    }
    // The last kept span at or before i.
    int atOrBefore(int i) const
    {
        for (i = qMin(i, int(index.size()) - 1); i >= 0; --i)
            if (index[size_t(i)] >= 0)
                return index[size_t(i)];
        return 0;
    }
};

SpanMap spans(const std::vector<double> &b, const std::vector<bool> &used, bool trim)
{
    SpanMap m;
    for (size_t i = 0; i + 1 < b.size(); ++i) {
        if (trim && !used[i]) {
            m.index.push_back(-1);
            continue;
        }
        m.index.push_back(m.count());
        m.size.push_back(b[i + 1] - b[i]);
    }
    return m;
}

lxw_color_t colour(QRgb rgb)
{
    return lxw_color_t(rgb & 0xffffff);
}

struct CellStyle
{
    PageFont font;
    QRgb fore = 0xff000000;
    QRgb back = 0;
    Qt::Alignment alignment;
    bool wrap = false;
    QString numberFormat;
    uint8_t top = 0, bottom = 0, left = 0, right = 0;

    QByteArray key() const
    {
        return QStringLiteral("%1|%2|%3%4%5%6|%7|%8|%9|%10|%11|")
                   .arg(font.family)
                   .arg(font.pointSize)
                   .arg(font.bold)
                   .arg(font.italic)
                   .arg(font.underline)
                   .arg(font.strikeOut)
                   .arg(fore)
                   .arg(back)
                   .arg(int(alignment))
                   .arg(wrap)
                   .arg(numberFormat)
                   .toUtf8()
               + QByteArray::number(top) + QByteArray::number(bottom) + QByteArray::number(left)
               + QByteArray::number(right);
    }
};

struct Cell
{
    QString text;
    CellStyle style;
    int lastRow = 0, lastColumn = 0;
    bool blank = false; // a border-only cell
};

class Workbook
{
public:
    explicit Workbook(lxw_workbook *wb) : m_wb(wb) {}

    lxw_format *format(const CellStyle &s, bool blank)
    {
        const QByteArray key = s.key() + (blank ? "b" : "");
        if (lxw_format *f = m_formats.value(key))
            return f;
        lxw_format *f = workbook_add_format(m_wb);
        const QByteArray family = s.font.family.toUtf8();
        format_set_font_name(f, family.constData());
        format_set_font_size(f, qBound(1.0, s.font.pointSize, 409.0));
        if (s.font.bold)
            format_set_bold(f);
        if (s.font.italic)
            format_set_italic(f);
        if (s.font.underline)
            format_set_underline(f, LXW_UNDERLINE_SINGLE);
        if (s.font.strikeOut)
            format_set_font_strikeout(f);
        if (colour(s.fore) != 0)
            format_set_font_color(f, colour(s.fore));
        if (qAlpha(s.back) != 0) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, colour(s.back));
        }
        if (!blank) {
            format_set_align(f, (s.alignment & Qt::AlignRight)     ? LXW_ALIGN_RIGHT
                                : (s.alignment & Qt::AlignHCenter) ? LXW_ALIGN_CENTER
                                                                   : LXW_ALIGN_LEFT);
            format_set_align(f, (s.alignment & Qt::AlignBottom)    ? LXW_ALIGN_VERTICAL_BOTTOM
                                : (s.alignment & Qt::AlignVCenter) ? LXW_ALIGN_VERTICAL_CENTER
                                                                   : LXW_ALIGN_VERTICAL_TOP);
        }
        if (s.wrap)
            format_set_text_wrap(f);
        if (!s.numberFormat.isEmpty())
            format_set_num_format(f, s.numberFormat.toUtf8().constData());
        if (s.top)
            format_set_top(f, s.top);
        if (s.bottom)
            format_set_bottom(f, s.bottom);
        if (s.left)
            format_set_left(f, s.left);
        if (s.right)
            format_set_right(f, s.right);
        m_formats.insert(key, f);
        return f;
    }

private:
    lxw_workbook *m_wb;
    QHash<QByteArray, lxw_format *> m_formats;
};

QString errorText(lxw_error e)
{
    return QString::fromUtf8(lxw_strerror(e));
}

} // namespace

CellValue cellValue(const QString &input)
{
    CellValue v;
    const QString t = input.trimmed();
    if (t.isEmpty() || t.size() > 40)
        return v;
    static const QRegularExpression number(
        QStringLiteral("^(\\()?([-+])?([$€£¥])?([-+])?(\\d{1,3}(?:,\\d{3})+|\\d+)(?:\\.(\\d+))?(%)?(\\))?$"));
    const QRegularExpressionMatch m = number.match(t);
    if (m.hasMatch() && m.hasCaptured(1) == m.hasCaptured(8) && !(m.hasCaptured(2) && m.hasCaptured(4))) {
        QString digits = m.captured(5);
        const bool thousands = digits.contains(QLatin1Char(','));
        digits.remove(QLatin1Char(','));
        const QString decimals = m.captured(6);
        // Codes with leading zeros and numbers beyond a double's digits stay text.
        if ((digits.size() > 1 && digits.startsWith(QLatin1Char('0')) && !thousands) || digits.size() + decimals.size() > 15)
            return v;
        double n = (digits + (decimals.isEmpty() ? QString() : QLatin1Char('.') + decimals)).toDouble();
        const bool negative = m.captured(2) == QLatin1String("-") || m.captured(4) == QLatin1String("-") || m.hasCaptured(1);
        if (negative)
            n = -n;
        QString format = thousands ? QStringLiteral("#,##0") : QStringLiteral("0");
        if (!decimals.isEmpty())
            format += QLatin1Char('.') + QString(decimals.size(), QLatin1Char('0'));
        if (m.hasCaptured(3))
            format = QLatin1Char('"') + m.captured(3) + QLatin1Char('"') + format;
        if (m.hasCaptured(7)) {
            format += QLatin1Char('%');
            n /= 100;
        }
        if (m.hasCaptured(1))
            format += QStringLiteral(";(") + format + QLatin1Char(')');
        v.kind = CellValue::Number;
        v.number = n;
        // A plain integer or decimal shows as typed in General.
        if (!thousands && !m.hasCaptured(3) && !m.hasCaptured(7) && !m.hasCaptured(1) && decimals.isEmpty())
            format.clear();
        v.numberFormat = format;
        return v;
    }
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[ T](\\d{2}):(\\d{2})(?::(\\d{2}))?)?$"));
    static const QRegularExpression us(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    QRegularExpressionMatch d = iso.match(t);
    int year = 0, month = 0, day = 0;
    if (d.hasMatch()) {
        year = d.captured(1).toInt();
        month = d.captured(2).toInt();
        day = d.captured(3).toInt();
        v.numberFormat = QStringLiteral("yyyy-mm-dd");
        if (d.hasCaptured(4)) {
            v.hour = d.captured(4).toInt();
            v.minute = d.captured(5).toInt();
            v.second = d.captured(6).toInt();
            if (v.hour > 23 || v.minute > 59 || v.second > 59)
                return CellValue();
            v.numberFormat += d.hasCaptured(6) ? QStringLiteral(" hh:mm:ss") : QStringLiteral(" hh:mm");
        }
    } else if ((d = us.match(t)).hasMatch()) {
        month = d.captured(1).toInt();
        day = d.captured(2).toInt();
        year = d.captured(3).toInt();
        v.numberFormat = QStringLiteral("m/d/yyyy");
    } else {
        return v;
    }
    if (!QDate(year, month, day).isValid() || year < 1900)
        return CellValue();
    v.kind = CellValue::Date;
    v.year = year;
    v.month = month;
    v.day = day;
    return v;
}

QList<ExportSetting> ExcelExporter::settings() const
{
    const auto flag = [](const char *name, const char *summary) {
        return ExportSetting{QString::fromLatin1(name), SettingType::Boolean, 0, 0, {}, {}, false, {}, QString::fromLatin1(summary)};
    };
    const auto twips = [](const char *name, int def, const char *summary) {
        return ExportSetting{QString::fromLatin1(name), SettingType::Integer, 0, 14400, {}, {}, def, {}, QString::fromLatin1(summary)};
    };
    return {{QStringLiteral("FileVersion"), SettingType::Integer, 0, 0, {2, 3, 4, 5, 7, 8}, {}, 8, {},
             QStringLiteral("Excel version asked for; the workbook is .xlsx for each")},
            flag("AutoRowHeight", "rows with text fit their text"),
            twips("BorderSpace", 59, "twips within which edges are one boundary"),
            flag("DoubleBoundaries", "lines become double borders"),
            flag("GenPageBreaks", "a page break before each page's first row"),
            twips("MinColumnWidth", 1011, "twips: narrower columns are merged into the one before"),
            twips("MinRowHeight", 128, "twips: lower rows are merged into the one above"),
            flag("MultiSheet", "one worksheet per page"),
            flag("ShowMarginSpace", "the page margins as a column and rows of their own"),
            flag("TrimEmptySpace", "columns and rows no text starts in are left out")};
}

Status ExcelExporter::parseSettings(const QVariantMap &settings, ExcelSettings *out) const
{
    Status status = checkSettingNames(settings);
    if (!status.ok())
        return status;
    ExcelSettings s;
    SettingReader r(format(), this->settings(), settings);
    r.integer(QStringLiteral("FileVersion"), &s.fileVersion);
    r.boolean(QStringLiteral("AutoRowHeight"), &s.autoRowHeight);
    r.integer(QStringLiteral("BorderSpace"), &s.borderSpace);
    r.boolean(QStringLiteral("DoubleBoundaries"), &s.doubleBoundaries);
    r.boolean(QStringLiteral("GenPageBreaks"), &s.genPageBreaks);
    r.integer(QStringLiteral("MinColumnWidth"), &s.minColumnWidth);
    r.integer(QStringLiteral("MinRowHeight"), &s.minRowHeight);
    r.boolean(QStringLiteral("MultiSheet"), &s.multiSheet);
    r.boolean(QStringLiteral("ShowMarginSpace"), &s.showMarginSpace);
    r.boolean(QStringLiteral("TrimEmptySpace"), &s.trimEmptySpace);
    if (!r.ok())
        return r.status();
    *out = s;
    return {};
}

namespace {

// Builds the sheets of a workbook page by page.
class SheetWriter
{
public:
    SheetWriter(lxw_workbook *wb, const ExcelSettings &s, const QString &formatName)
        : m_wb(wb), m_formats(wb), m_s(s), m_format(formatName)
    {
    }

    static const PageFont &fontOf(const Page &page, int index)
    {
        static const PageFont fallback;
        return index >= 0 && size_t(index) < page.fonts.size() ? page.fonts[size_t(index)] : fallback;
    }

    // First pass over a sheet's pages: the column boundaries.
    void addColumnEdges(const Page &page)
    {
        if (m_s.showMarginSpace)
            m_xEdges.push_back(0);
        for (const PageOp &op : page.ops) {
            if (const auto *t = std::get_if<TextOp>(&op)) {
                m_xEdges.push_back(t->rect.left());
                m_xEdges.push_back(t->rect.right());
                m_lefts.push_back(t->rect.left());
            }
        }
    }

    Status startSheet(int number)
    {
        const QByteArray name = m_s.multiSheet ? QStringLiteral("Page %1").arg(number).toUtf8() : QByteArray("Sheet1");
        m_ws = workbook_add_worksheet(m_wb, name.constData());
        if (!m_ws)
            return Status::failure(ErrPathAccess, QStringLiteral("Cannot add the worksheet %1").arg(QString::fromUtf8(name)),
                                   m_format + QStringLiteral(" export"));
        m_columnBounds = boundaries(m_xEdges, m_s.borderSpace, m_s.minColumnWidth);
        if (m_columnBounds.size() < 2)
            m_columnBounds = {0, double(m_s.minColumnWidth > 0 ? m_s.minColumnWidth : 1011)};
        std::vector<bool> used(m_columnBounds.size(), false);
        for (double left : m_lefts)
            used[size_t(qMin(nearest(m_columnBounds, left), int(m_columnBounds.size()) - 2))] = true;
        m_columns = spans(m_columnBounds, used, m_s.trimEmptySpace);
        if (m_columns.count() > MaxColumns)
            return Status::failure(ErrInvalidPropertyValue,
                                   QStringLiteral("The pages need %1 columns, more than a worksheet holds").arg(m_columns.count()),
                                   m_format + QStringLiteral(" export"));
        for (int c = 0; c < m_columns.count(); ++c)
            worksheet_set_column_pixels(m_ws, lxw_col_t(c), lxw_col_t(c),
                                        uint32_t(std::lround(m_columns.size[size_t(c)] / Units::TwipsPerPixel)), nullptr);
        m_xEdges.clear();
        m_lefts.clear();
        m_row = 0;
        m_breaks.clear();
        return {};
    }

    Status addPage(const Page &page)
    {
        // Row boundaries of the page: text edges and the places of lines.
        std::vector<double> yEdges;
        if (m_s.showMarginSpace) {
            yEdges.push_back(0);
            if (page.size.height() > 0)
                yEdges.push_back(page.size.height());
        }
        for (const PageOp &op : page.ops) {
            if (const auto *t = std::get_if<TextOp>(&op)) {
                yEdges.push_back(t->rect.top());
                yEdges.push_back(t->rect.bottom());
            } else if (const auto *l = std::get_if<LineOp>(&op)) {
                yEdges.push_back(l->from.y());
                yEdges.push_back(l->to.y());
            }
        }
        if (yEdges.empty())
            return {};
        const std::vector<double> rowBounds = boundaries(yEdges, m_s.borderSpace, m_s.minRowHeight);
        if (rowBounds.size() < 2)
            return {};
        const int lastRowIndex = int(rowBounds.size()) - 2;
        const int lastColumnIndex = int(m_columnBounds.size()) - 2;
        std::vector<bool> usedRows(rowBounds.size(), false);
        for (const PageOp &op : page.ops) {
            if (const auto *t = std::get_if<TextOp>(&op); t && !plainText(*t).isEmpty())
                usedRows[size_t(qMin(nearest(rowBounds, t->rect.top()), lastRowIndex))] = true;
        }
        const SpanMap rows = spans(rowBounds, usedRows, m_s.trimEmptySpace);
        if (m_row + rows.count() > MaxRows)
            return Status::failure(ErrInvalidPropertyValue,
                                   QStringLiteral("The pages need more rows than a worksheet holds; export one page per worksheet"),
                                   m_format + QStringLiteral(" export"));

        std::map<quint64, Cell> cells;
        const auto key = [](int r, int c) { return (quint64(r) << 16) | quint64(c); };
        for (const PageOp &op : page.ops) {
            const auto *t = std::get_if<TextOp>(&op);
            if (!t)
                continue;
            const QString text = plainText(*t);
            if (text.isEmpty() && qAlpha(t->backColor) == 0)
                continue;
            const int r0 = qMin(nearest(rowBounds, t->rect.top()), lastRowIndex);
            const int r1 = qMax(r0, qMin(nearest(rowBounds, t->rect.bottom()) - 1, lastRowIndex));
            const int c0 = qMin(nearest(m_columnBounds, t->rect.left()), lastColumnIndex);
            const int c1 = qMax(c0, qMin(nearest(m_columnBounds, t->rect.right()) - 1, lastColumnIndex));
            const int row = rows.atOrAfter(r0), column = m_columns.atOrAfter(c0);
            if (row >= rows.count() || column >= m_columns.count())
                continue;
            Cell &cell = cells[key(row, column)];
            if (!cell.text.isEmpty()) {
                cell.text += QLatin1Char(' ') + text; // two texts in one cell
                continue;
            }
            cell.text = text;
            cell.lastRow = qMax(row, rows.atOrBefore(r1));
            cell.lastColumn = qMax(column, m_columns.atOrBefore(c1));
            cell.style.font = fontOf(page, t->font);
            cell.style.fore = t->foreColor;
            cell.style.back = t->backColor;
            cell.style.alignment = t->alignment;
            cell.style.wrap = t->wrap && (text.contains(QLatin1Char('\n')) || cell.lastRow > row);
        }

        // Lines become borders of the cells beside them.
        const uint8_t style = m_s.doubleBoundaries ? LXW_BORDER_DOUBLE : LXW_BORDER_THIN;
        const auto borderCell = [&](int row, int column) -> Cell & {
            Cell &cell = cells[key(row, column)];
            if (cell.text.isEmpty() && cell.lastRow == 0 && cell.lastColumn == 0) {
                cell.blank = true;
                cell.lastRow = row;
                cell.lastColumn = column;
            }
            return cell;
        };
        const double space = qMax(1.0, double(m_s.borderSpace));
        for (const PageOp &op : page.ops) {
            const auto *l = std::get_if<LineOp>(&op);
            if (!l || l->pen.style == Qt::NoPen)
                continue;
            if (std::abs(l->from.y() - l->to.y()) <= space) {
                const double x0 = qMin(l->from.x(), l->to.x()), x1 = qMax(l->from.x(), l->to.x());
                const int edge = nearest(rowBounds, l->from.y());
                for (int c = 0; c <= lastColumnIndex; ++c) {
                    if (m_columnBounds[size_t(c)] < x0 - space || m_columnBounds[size_t(c) + 1] > x1 + space
                        || m_columns.index[size_t(c)] < 0)
                        continue;
                    const int column = m_columns.index[size_t(c)];
                    if (edge <= lastRowIndex && rows.atOrAfter(edge) < rows.count())
                        borderCell(rows.atOrAfter(edge), column).style.top = style;
                    else if (rows.count() > 0)
                        borderCell(rows.count() - 1, column).style.bottom = style;
                }
            } else if (std::abs(l->from.x() - l->to.x()) <= space) {
                const double y0 = qMin(l->from.y(), l->to.y()), y1 = qMax(l->from.y(), l->to.y());
                const int edge = nearest(m_columnBounds, l->from.x());
                for (int r = 0; r <= lastRowIndex; ++r) {
                    if (rowBounds[size_t(r)] < y0 - space || rowBounds[size_t(r) + 1] > y1 + space || rows.index[size_t(r)] < 0)
                        continue;
                    const int row = rows.index[size_t(r)];
                    if (edge <= lastColumnIndex && m_columns.atOrAfter(edge) < m_columns.count())
                        borderCell(row, m_columns.atOrAfter(edge)).style.left = style;
                    else if (m_columns.count() > 0)
                        borderCell(row, m_columns.count() - 1).style.right = style;
                }
            }
        }

        // Row heights, then the cells in row order; merged ranges stop
        // before the next cell they would cover.
        for (int r = 0; r < rows.count(); ++r) {
            const bool hasText = std::any_of(cells.lower_bound(key(r, 0)), cells.lower_bound(key(r + 1, 0)),
                                             [](const auto &c) { return !c.second.blank; });
            if (!(m_s.autoRowHeight && hasText))
                worksheet_set_row(m_ws, lxw_row_t(m_row + r), rows.size[size_t(r)] / Units::TwipsPerPoint, nullptr);
        }
        QSet<quint64> covered;
        for (auto &[k, cell] : cells) {
            const int row = int(k >> 16), column = int(k & 0xffff);
            if (covered.contains(k))
                continue;
            for (int c = column + 1; c <= cell.lastColumn; ++c) {
                if (cells.count(key(row, c)) || covered.contains(key(row, c))) {
                    cell.lastColumn = c - 1;
                    break;
                }
            }
            for (int r = row + 1; r <= cell.lastRow; ++r) {
                bool taken = false;
                for (int c = column; c <= cell.lastColumn && !taken; ++c)
                    taken = cells.count(key(r, c)) || covered.contains(key(r, c));
                if (taken) {
                    cell.lastRow = r - 1;
                    break;
                }
            }
            for (int r = row; r <= cell.lastRow; ++r)
                for (int c = column; c <= cell.lastColumn; ++c)
                    if (r != row || c != column)
                        covered.insert(key(r, c));
            const lxw_error e = writeCell(m_row + row, column, cell);
            if (e != LXW_NO_ERROR)
                return Status::failure(ErrPathAccess, QStringLiteral("Cannot write a cell: %1").arg(errorText(e)),
                                       m_format + QStringLiteral(" export"));
        }
        if (m_row > 0 && m_s.genPageBreaks && m_breaks.size() < MaxPageBreaks)
            m_breaks.push_back(lxw_row_t(m_row));
        m_row += rows.count();
        return {};
    }

    void finishSheet()
    {
        if (!m_breaks.empty()) {
            m_breaks.push_back(0);
            worksheet_set_h_pagebreaks(m_ws, m_breaks.data());
        }
    }

private:
    lxw_error writeCell(int row, int column, Cell &cell)
    {
        const CellValue value = cell.blank ? CellValue() : cellValue(cell.text);
        cell.style.numberFormat = value.numberFormat;
        lxw_format *f = m_formats.format(cell.style, cell.blank);
        const lxw_row_t r = lxw_row_t(row);
        const lxw_col_t c = lxw_col_t(column);
        const QByteArray utf8 = cell.text.toUtf8();
        const bool merged = cell.lastColumn > column || cell.lastRow + m_row > row;
        if (merged) {
            const lxw_error e = worksheet_merge_range(m_ws, r, c, lxw_row_t(cell.lastRow + m_row), lxw_col_t(cell.lastColumn),
                                                      value.kind == CellValue::Text ? utf8.constData() : "", f);
            if (e != LXW_NO_ERROR || value.kind == CellValue::Text)
                return e;
        }
        switch (value.kind) {
        case CellValue::Number:
            return worksheet_write_number(m_ws, r, c, value.number, f);
        case CellValue::Date: {
            lxw_datetime dt{value.year, value.month, value.day, value.hour, value.minute, double(value.second)};
            return worksheet_write_datetime(m_ws, r, c, &dt, f);
        }
        default:
            return cell.blank ? worksheet_write_blank(m_ws, r, c, f) : worksheet_write_string(m_ws, r, c, utf8.constData(), f);
        }
    }

    lxw_workbook *m_wb;
    Workbook m_formats;
    const ExcelSettings &m_s;
    QString m_format;
    lxw_worksheet *m_ws = nullptr;
    std::vector<double> m_xEdges, m_lefts, m_columnBounds;
    SpanMap m_columns;
    int m_row = 0;
    std::vector<lxw_row_t> m_breaks;
};

} // namespace

Status ExcelExporter::write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                            const ExportProgress &progress)
{
    ExcelSettings options;
    Status status = checkStart(parseSettings(settings, &options), pages);
    if (!status.ok())
        return status;
    const int count = pages.Count();
    StagedFiles staged(format());
    const QString temp = staged.stage(path, &status);
    if (temp.isEmpty())
        return status;
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook *wb = workbook_new(tempName.constData());
    if (!wb)
        return failure(ErrPathAccess, QStringLiteral("Cannot write %1").arg(displayName(path)));
    // Closing writes the file and frees the workbook; a failed export closes
    // it too and the staged file is removed.
    struct Closer
    {
        lxw_workbook *wb;
        lxw_error close()
        {
            const lxw_error e = wb ? workbook_close(wb) : LXW_NO_ERROR;
            wb = nullptr;
            return e;
        }
        ~Closer() { close(); }
    } closer{wb};

    SheetWriter sheets(wb, options, format());
    progress.report(0, count);
    const int perSheet = options.multiSheet ? 1 : count;
    for (int first = 0; first < count; first += perSheet) {
        const int end = qMin(count, first + perSheet);
        for (int i = first; i < end; ++i) {
            if (progress.cancelled())
                return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
            const std::shared_ptr<const Page> page = pages.page(i, &status);
            if (!page)
                return status;
            sheets.addColumnEdges(*page);
        }
        status = sheets.startSheet(first + 1);
        if (!status.ok())
            return status;
        for (int i = first; i < end; ++i) {
            if (progress.cancelled())
                return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
            const std::shared_ptr<const Page> page = pages.page(i, &status);
            if (!page)
                return status;
            status = sheets.addPage(*page);
            if (!status.ok())
                return status;
            progress.report(i + 1, count);
        }
        sheets.finishSheet();
    }
    const lxw_error e = closer.close();
    if (e != LXW_NO_ERROR)
        return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(displayName(path), errorText(e)));
    return staged.commit();
}

} // namespace Orv
