// Excel export read back from the sheet XML inside the .xlsx: cell places,
// merged ranges, typed values and their formats, borders, row heights,
// sheets and page breaks, and each setting that changes them.

#include "exportcheck.h"

#include "engine/export/excelexporter.h"

#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Orv;
using namespace ExportCheck;

namespace {

struct CellInfo
{
    QString type; // "s" shared string, "n" or empty number
    QString value; // the string itself for shared strings
    int style = 0;
};

struct Sheet
{
    QMap<QString, CellInfo> cells;
    QMap<int, QString> heights; // 1-based row -> ht when custom
    QStringList rows;           // every row number written
    QStringList merges;
    int columns = 0;
    QStringList breaks;
};

struct Book
{
    QList<Sheet> sheets;
    QStringList sheetNames;
    QStringList formats; // number format of each cell style, "" for General
    QStringList borders; // left/right/top/bottom border styles of each cell style
};

Book readBook(const QString &path)
{
    Book book;
    QStringList strings;
    QXmlStreamReader ss(unzipped(path, QStringLiteral("xl/sharedStrings.xml")));
    while (ss.readNextStartElement() || !ss.atEnd()) {
        if (ss.isStartElement() && ss.name() == QLatin1String("t"))
            strings << ss.readElementText();
        else if (!ss.isStartElement())
            ss.readNext();
    }
    QXmlStreamReader wb(unzipped(path, QStringLiteral("xl/workbook.xml")));
    while (!wb.atEnd()) {
        if (wb.readNext() == QXmlStreamReader::StartElement && wb.name() == QLatin1String("sheet"))
            book.sheetNames << wb.attributes().value(QLatin1String("name")).toString();
    }
    QMap<QString, QString> numFmts;
    QStringList borderList;
    QXmlStreamReader st(unzipped(path, QStringLiteral("xl/styles.xml")));
    bool inXfs = false;
    QString border;
    while (!st.atEnd()) {
        st.readNext();
        const auto a = st.attributes();
        if (st.isStartElement() && st.name() == QLatin1String("numFmt"))
            numFmts.insert(a.value(QLatin1String("numFmtId")).toString(), a.value(QLatin1String("formatCode")).toString());
        else if (st.isStartElement() && st.name() == QLatin1String("border"))
            border.clear();
        else if (st.isStartElement() && QStringList{"top", "bottom", "left", "right"}.contains(st.name().toString()))
            border += a.value(QLatin1String("style")).toString() + QLatin1Char('/');
        else if (st.isEndElement() && st.name() == QLatin1String("border"))
            borderList << border;
        else if (st.isStartElement() && st.name() == QLatin1String("cellXfs"))
            inXfs = true;
        else if (inXfs && st.isStartElement() && st.name() == QLatin1String("xf")) {
            book.formats << numFmts.value(a.value(QLatin1String("numFmtId")).toString());
            book.borders << borderList.value(a.value(QLatin1String("borderId")).toInt());
        }
    }
    for (int n = 1; n <= book.sheetNames.size(); ++n) {
        Sheet sheet;
        QXmlStreamReader x(unzipped(path, QStringLiteral("xl/worksheets/sheet%1.xml").arg(n)));
        QString ref;
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement())
                continue;
            const auto a = x.attributes();
            if (x.name() == QLatin1String("col"))
                sheet.columns = qMax(sheet.columns, a.value(QLatin1String("max")).toInt());
            else if (x.name() == QLatin1String("row")) {
                sheet.rows << a.value(QLatin1String("r")).toString();
                if (a.value(QLatin1String("customHeight")) == QLatin1String("1"))
                    sheet.heights.insert(a.value(QLatin1String("r")).toInt(), a.value(QLatin1String("ht")).toString());
            } else if (x.name() == QLatin1String("c")) {
                ref = a.value(QLatin1String("r")).toString();
                sheet.cells[ref].type = a.value(QLatin1String("t")).toString();
                sheet.cells[ref].style = a.value(QLatin1String("s")).toInt();
            } else if (x.name() == QLatin1String("v")) {
                CellInfo &cell = sheet.cells[ref];
                cell.value = x.readElementText();
                if (cell.type == QLatin1String("s"))
                    cell.value = strings.value(cell.value.toInt());
            } else if (x.name() == QLatin1String("mergeCell"))
                sheet.merges << a.value(QLatin1String("ref")).toString();
            else if (x.name() == QLatin1String("brk"))
                sheet.breaks << a.value(QLatin1String("id")).toString();
        }
        book.sheets << sheet;
    }
    return book;
}

const QList<QPair<QString, QString>> Rows = {{QStringLiteral("Alice"), QStringLiteral("12.50")},
                                             {QStringLiteral("Bob"), QStringLiteral("1,234.50")}};

} // namespace

class TestExcelExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    Book exported(const QVariantMap &settings, int pageCount = 1, const QString &name = QStringLiteral("out.xlsx"))
    {
        PageCollection pages;
        for (int i = 0; i < pageCount; ++i)
            pages.append(tablePage(QStringLiteral("Orders %1").arg(i + 1), Rows));
        const QString path = dir.filePath(name);
        const Status status = exportPages(pages, path, settings);
        if (!status.ok())
            qWarning("%s", qPrintable(status.description()));
        return readBook(path);
    }

private Q_SLOTS:
    void placesCellsByPosition()
    {
        const Book book = exported({});
        QCOMPARE(book.sheets.size(), 1);
        const Sheet &s = book.sheets[0];
        // Columns from the text edges at 1440, 4320, 6000 and 7440 twips;
        // rows: title, gap, two rows, gap above the total (its line on top).
        QCOMPARE(s.columns, 3);
        QCOMPARE(s.cells.value(QStringLiteral("A1")).value, QStringLiteral("Orders 1"));
        QCOMPARE(s.merges, QStringList{QStringLiteral("A1:C1")});
        QCOMPARE(s.cells.value(QStringLiteral("A3")).value, QStringLiteral("Alice"));
        QCOMPARE(s.cells.value(QStringLiteral("C3")).type, QString());
        QCOMPARE(s.cells.value(QStringLiteral("C3")).value, QStringLiteral("12.5"));
        QCOMPARE(book.formats.value(s.cells.value(QStringLiteral("C3")).style), QStringLiteral("0.00"));
        QCOMPARE(s.cells.value(QStringLiteral("C4")).value, QStringLiteral("1234.5"));
        QCOMPARE(book.formats.value(s.cells.value(QStringLiteral("C4")).style), QStringLiteral("#,##0.00"));
        QCOMPARE(s.cells.value(QStringLiteral("A6")).value, QStringLiteral("Total"));
        QCOMPARE(book.borders.value(s.cells.value(QStringLiteral("A5")).style), QStringLiteral("//thin//"));
        QCOMPARE(s.heights.value(3), QStringLiteral("13.5"));
        QVERIFY(s.breaks.isEmpty());
    }

    void layoutSettings()
    {
        Sheet s = exported({{QStringLiteral("TrimEmptySpace"), true}}).sheets[0];
        QCOMPARE(s.cells.value(QStringLiteral("A4")).value, QStringLiteral("Total"));
        QCOMPARE(s.rows.size(), 4);

        s = exported({{QStringLiteral("ShowMarginSpace"), true}}).sheets[0];
        QCOMPARE(s.cells.value(QStringLiteral("B2")).value, QStringLiteral("Orders 1"));
        QCOMPARE(s.columns, 4);

        // A wider minimum column joins the amounts' column to the names' gap.
        s = exported({{QStringLiteral("MinColumnWidth"), 2000}}).sheets[0];
        QCOMPARE(s.columns, 2);
        QCOMPARE(s.cells.value(QStringLiteral("B3")).value, QStringLiteral("12.5"));

        // Edges within 400 twips are one: fewer row boundaries.
        const int rows = exported({}).sheets[0].rows.size();
        QVERIFY(exported({{QStringLiteral("BorderSpace"), 400}}).sheets[0].rows.size() < rows);
        QVERIFY(exported({{QStringLiteral("MinRowHeight"), 600}}).sheets[0].rows.size() < rows);

        s = exported({{QStringLiteral("AutoRowHeight"), true}}).sheets[0];
        QVERIFY(!s.heights.contains(3)); // rows with text fit their text
        QVERIFY(s.heights.contains(2));  // empty rows keep the gap's height

        const Book book = exported({{QStringLiteral("DoubleBoundaries"), true}});
        QCOMPARE(book.borders.value(book.sheets[0].cells.value(QStringLiteral("A5")).style), QStringLiteral("//double//"));
    }

    void sheetsAndPageBreaks()
    {
        Book book = exported({{QStringLiteral("GenPageBreaks"), true}}, 3);
        QCOMPARE(book.sheets.size(), 1);
        QCOMPARE(book.sheets[0].cells.value(QStringLiteral("A7")).value, QStringLiteral("Orders 2"));
        QCOMPARE(book.sheets[0].breaks, (QStringList{QStringLiteral("6"), QStringLiteral("12")}));

        book = exported({{QStringLiteral("MultiSheet"), true}}, 3);
        QCOMPARE(book.sheetNames, (QStringList{QStringLiteral("Page 1"), QStringLiteral("Page 2"), QStringLiteral("Page 3")}));
        QCOMPARE(book.sheets[2].cells.value(QStringLiteral("A1")).value, QStringLiteral("Orders 3"));

        // Any file version writes the same workbook; the name stays as given.
        book = exported({{QStringLiteral("FileVersion"), 5}}, 1, QStringLiteral("old.xls"));
        QCOMPARE(book.sheets.value(0).cells.value(QStringLiteral("A3")).value, QStringLiteral("Alice"));
        PageCollection pages;
        pages.append(tablePage(QStringLiteral("x"), {}));
        QCOMPARE(ExcelExporter().write(pages, dir.filePath(QStringLiteral("v.xlsx")), {{QStringLiteral("FileVersion"), 6}}).number(),
                 int(ErrInvalidPropertyValue));
        QCOMPARE(ExcelExporter().write(pages, dir.filePath(QStringLiteral("v.xlsx")), {{QStringLiteral("BorderSpace"), QStringLiteral("wide")}}).number(),
                 int(ErrTypeMismatch));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("v.xlsx"))));
    }

    void textsReadAsTypedValues()
    {
        const struct
        {
            const char *text;
            CellValue::Kind kind;
            double number;
            const char *format;
        } cases[] = {{"42", CellValue::Number, 42, ""},
                     {"-3.25", CellValue::Number, -3.25, "0.00"},
                     {"1,234,567", CellValue::Number, 1234567, "#,##0"},
                     {"$1,200.00", CellValue::Number, 1200, "\"$\"#,##0.00"},
                     {"(5.00)", CellValue::Number, -5, "0.00;(0.00)"},
                     {"12.5%", CellValue::Number, 0.125, "0.0%"},
                     {"00123", CellValue::Text, 0, ""},
                     {"1,23", CellValue::Text, 0, ""},
                     {"12345678901234567", CellValue::Text, 0, ""},
                     {"2024-02-29", CellValue::Date, 0, "yyyy-mm-dd"},
                     {"2023-02-29", CellValue::Text, 0, ""},
                     {"3/15/2024", CellValue::Date, 0, "m/d/yyyy"},
                     {"2024-03-15 14:30", CellValue::Date, 0, "yyyy-mm-dd hh:mm"},
                     {"Order 12", CellValue::Text, 0, ""}};
        for (const auto &c : cases) {
            const CellValue v = cellValue(QString::fromUtf8(c.text));
            QCOMPARE(int(v.kind), int(c.kind));
            if (v.kind == CellValue::Number)
                QCOMPARE(v.number, c.number);
            QCOMPARE(v.numberFormat, QString::fromUtf8(c.format));
        }
        PageCollection pages;
        Page page = tablePage(QStringLiteral("Dates"), {{QStringLiteral("Shipped"), QStringLiteral("2024-03-15")}});
        pages.append(page);
        const QString path = dir.filePath(QStringLiteral("dates.xlsx"));
        QVERIFY(exportPages(pages, path).ok());
        const Book book = readBook(path);
        QCOMPARE(book.sheets[0].cells.value(QStringLiteral("C3")).value, QStringLiteral("45366"));
        QCOMPARE(book.formats.value(book.sheets[0].cells.value(QStringLiteral("C3")).style), QStringLiteral("yyyy-mm-dd"));
    }
};

QTEST_MAIN(TestExcelExport)
#include "tst_excelexport.moc"
