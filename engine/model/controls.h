#pragma once

#include "engine/model/control.h"

#include <QByteArray>

namespace Orv {

class Label : public TextControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    ORV_CONTROL_TYPE("OrvEngine.Label")

public:
    explicit Label(QObject *parent = nullptr) : TextControl(1440, 300, parent) {}
    ORV_VALUE(QString, caption, setCaption, QString())
};

// A text box bound to a data field or an expression ("=..."), with an
// optional summary. SummaryFunc: 0 sum, 1 avg, 2 count, 3 min, 4 max,
// 5 var, 6 varp, 7 stdev, 8 stdevp, 9 dsum, 10 davg, 11 dcount, 12 dvar,
// 13 dvarp, 14 dstdev, 15 dstdevp (the "d" kinds over distinct values).
// SummaryType: 0 none, 1 grand total, 2 page total, 3 sub-total, 4 page
// count. SummaryRunning: 0 none, 1 over the group, 2 over the report.
// RunningSum adds up what the field shows each time its section prints, as
// Access's running sums do: 0 no, 1 over the group (starting again with the
// group around the section), 2 over the whole report.
class Field : public TextControl
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(QString OutputFormat READ outputFormat WRITE setOutputFormat)
    Q_PROPERTY(bool CanGrow READ canGrow WRITE setCanGrow)
    Q_PROPERTY(bool CanShrink READ canShrink WRITE setCanShrink)
    Q_PROPERTY(bool Multiline READ multiline WRITE setMultiline)
    Q_PROPERTY(bool HideDuplicates READ hideDuplicates WRITE setHideDuplicates)
    Q_PROPERTY(int SummaryFunc READ summaryFunc WRITE setSummaryFunc)
    Q_PROPERTY(int SummaryType READ summaryType WRITE setSummaryType)
    Q_PROPERTY(int SummaryRunning READ summaryRunning WRITE setSummaryRunning)
    Q_PROPERTY(QString SummaryGroup READ summaryGroup WRITE setSummaryGroup)
    Q_PROPERTY(QString SummaryDistinctField READ summaryDistinctField WRITE setSummaryDistinctField)
    Q_PROPERTY(int RunningSum READ runningSum WRITE setRunningSum)
    Q_CLASSINFO("range:SummaryFunc", "0 15")
    Q_CLASSINFO("range:SummaryType", "0 4")
    Q_CLASSINFO("range:SummaryRunning", "0 2")
    Q_CLASSINFO("range:RunningSum", "0 2")
    ORV_CONTROL_TYPE("OrvEngine.Field")

public:
    explicit Field(QObject *parent = nullptr) : TextControl(1440, 300, parent) {}
    ORV_VALUE(QString, text, setText, QString())
    ORV_VALUE(QString, dataField, setDataField, QString())
    ORV_VALUE(QString, outputFormat, setOutputFormat, QString())
    ORV_VALUE(bool, canGrow, setCanGrow, false)
    ORV_VALUE(bool, canShrink, setCanShrink, false)
    ORV_VALUE(bool, multiline, setMultiline, false)
    ORV_VALUE(bool, hideDuplicates, setHideDuplicates, false)
    ORV_VALUE(int, summaryFunc, setSummaryFunc, 0)
    ORV_VALUE(int, summaryType, setSummaryType, 0)
    ORV_VALUE(int, summaryRunning, setSummaryRunning, 0)
    ORV_VALUE(QString, summaryGroup, setSummaryGroup, QString())
    ORV_VALUE(QString, summaryDistinctField, setSummaryDistinctField, QString())
    ORV_VALUE(int, runningSum, setRunningSum, 0)
};

class CheckBox : public TextControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool Value READ value WRITE setValue)
    ORV_CONTROL_TYPE("OrvEngine.CheckBox")

public:
    explicit CheckBox(QObject *parent = nullptr) : TextControl(1440, 300, parent) {}
    ORV_VALUE(QString, caption, setCaption, QString())
    ORV_VALUE(QString, dataField, setDataField, QString())
    ORV_VALUE(bool, value, setValue, false)
};

// Rich text; Text holds RTF or plain text.
class RichEdit : public TextControl
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool CanGrow READ canGrow WRITE setCanGrow)
    Q_PROPERTY(bool CanShrink READ canShrink WRITE setCanShrink)
    ORV_CONTROL_TYPE("OrvEngine.RichEdit")

public:
    explicit RichEdit(QObject *parent = nullptr) : TextControl(2880, 1440, parent) {}
    ORV_VALUE(QString, text, setText, QString())
    ORV_VALUE(QString, dataField, setDataField, QString())
    ORV_VALUE(bool, canGrow, setCanGrow, true)
    ORV_VALUE(bool, canShrink, setCanShrink, false)
};

// Style is the symbology (see docs/layout-format.md); CaptionPosition:
// 0 none, 1 above, 2 below.
class Barcode : public TextControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(int Style READ style WRITE setStyle)
    Q_PROPERTY(int CaptionPosition READ captionPosition WRITE setCaptionPosition)
    Q_PROPERTY(bool CheckSum READ checkSum WRITE setCheckSum)
    Q_CLASSINFO("range:Style", "0 255")
    Q_CLASSINFO("range:CaptionPosition", "0 2")
    ORV_CONTROL_TYPE("OrvEngine.Barcode")

public:
    explicit Barcode(QObject *parent = nullptr) : TextControl(2880, 720, parent) {}
    ORV_VALUE(QString, caption, setCaption, QString())
    ORV_VALUE(QString, dataField, setDataField, QString())
    ORV_VALUE(int, style, setStyle, 0)
    ORV_VALUE(int, captionPosition, setCaptionPosition, 2)
    ORV_VALUE(bool, checkSum, setCheckSum, false)
};

// A line from (X1, Y1) to (X2, Y2). Left, Top, Width and Height are its
// bounding box, derived from the end points. LineStyle: 0 transparent,
// 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot. LineWeight in pixels.
class Line : public Control
{
    Q_OBJECT
    Q_PROPERTY(double Left READ left WRITE setLeft STORED false)
    Q_PROPERTY(double Top READ top WRITE setTop STORED false)
    Q_PROPERTY(double Width READ width WRITE setWidth STORED false)
    Q_PROPERTY(double Height READ height WRITE setHeight STORED false)
    Q_PROPERTY(double X1 READ x1 WRITE setX1)
    Q_PROPERTY(double Y1 READ y1 WRITE setY1)
    Q_PROPERTY(double X2 READ x2 WRITE setX2)
    Q_PROPERTY(double Y2 READ y2 WRITE setY2)
    Q_PROPERTY(double LineWeight READ lineWeight WRITE setLineWeight)
    Q_PROPERTY(int LineStyle READ lineStyle WRITE setLineStyle)
    Q_PROPERTY(int LineColor READ lineColor WRITE setLineColor)
    Q_CLASSINFO("range:LineWeight", "0 1000")
    Q_CLASSINFO("range:LineStyle", "0 5")
    ORV_CONTROL_TYPE("OrvEngine.Line")

public:
    explicit Line(QObject *parent = nullptr) : Control(0, 0, parent) {}

    double left() const override;
    void setLeft(double value) override;
    double top() const override;
    void setTop(double value) override;
    double width() const override;
    void setWidth(double value) override;
    double height() const override;
    void setHeight(double value) override;

    ORV_VALUE(double, x1, setX1, 0.0)
    ORV_VALUE(double, y1, setY1, 0.0)
    ORV_VALUE(double, x2, setX2, 1440.0)
    ORV_VALUE(double, y2, setY2, 0.0)
    ORV_VALUE(double, lineWeight, setLineWeight, 1.0)
    ORV_VALUE(int, lineStyle, setLineStyle, 1)
    ORV_VALUE(int, lineColor, setLineColor, 0)
};

// Shape: 0 rectangle, 1 ellipse, 2 rounded rectangle. LineStyle as for
// lines; 0 draws no outline.
class Shape : public BoxControl
{
    Q_OBJECT
    Q_PROPERTY(int Shape READ shape WRITE setShape)
    Q_PROPERTY(int LineStyle READ lineStyle WRITE setLineStyle)
    Q_PROPERTY(int LineColor READ lineColor WRITE setLineColor)
    Q_PROPERTY(double LineWeight READ lineWeight WRITE setLineWeight)
    Q_CLASSINFO("range:Shape", "0 2")
    Q_CLASSINFO("range:LineStyle", "0 5")
    Q_CLASSINFO("range:LineWeight", "0 1000")
    ORV_CONTROL_TYPE("OrvEngine.Shape")

public:
    explicit Shape(QObject *parent = nullptr) : BoxControl(1440, 1440, parent) {}
    ORV_VALUE(int, shape, setShape, 0)
    ORV_VALUE(int, lineStyle, setLineStyle, 1)
    ORV_VALUE(int, lineColor, setLineColor, 0)
    ORV_VALUE(double, lineWeight, setLineWeight, 1.0)
};

// Picture holds the image file's bytes as read (PNG, JPEG, BMP, ...).
// SizeMode: 0 clip, 1 stretch, 2 zoom. PictureAlignment: 0 top left,
// 1 top right, 2 centre, 3 bottom left, 4 bottom right.
class Image : public BoxControl
{
    Q_OBJECT
    Q_PROPERTY(QByteArray Picture READ picture WRITE setPicture)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(int SizeMode READ sizeMode WRITE setSizeMode)
    Q_PROPERTY(int PictureAlignment READ pictureAlignment WRITE setPictureAlignment)
    Q_PROPERTY(int LineColor READ lineColor WRITE setLineColor)
    Q_CLASSINFO("range:SizeMode", "0 2")
    Q_CLASSINFO("range:PictureAlignment", "0 4")
    ORV_CONTROL_TYPE("OrvEngine.Image")

public:
    explicit Image(QObject *parent = nullptr) : BoxControl(1440, 1440, parent) {}
    ORV_VALUE(QByteArray, picture, setPicture, QByteArray())
    ORV_VALUE(QString, dataField, setDataField, QString())
    ORV_VALUE(int, sizeMode, setSizeMode, 0)
    ORV_VALUE(int, pictureAlignment, setPictureAlignment, 2)
    ORV_VALUE(int, lineColor, setLineColor, 0)
};

// A framed area that groups other controls visually.
class Frame : public BoxControl
{
    Q_OBJECT
    Q_PROPERTY(int LineColor READ lineColor WRITE setLineColor)
    ORV_CONTROL_TYPE("OrvEngine.Frame")

public:
    explicit Frame(QObject *parent = nullptr) : BoxControl(2880, 1440, parent) {}
    ORV_VALUE(int, lineColor, setLineColor, 0)
};

// An embedded or bound object; Picture holds its rendering.
class OleObject : public BoxControl
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(QString Class READ oleClass WRITE setOleClass)
    Q_PROPERTY(int SizeMode READ sizeMode WRITE setSizeMode)
    Q_PROPERTY(QByteArray Picture READ picture WRITE setPicture)
    Q_CLASSINFO("range:SizeMode", "0 2")
    ORV_CONTROL_TYPE("OrvEngine.OLE")

public:
    explicit OleObject(QObject *parent = nullptr) : BoxControl(1440, 1440, parent) {}
    ORV_VALUE(QString, dataField, setDataField, QString())
    ORV_VALUE(QString, oleClass, setOleClass, QString())
    ORV_VALUE(int, sizeMode, setSizeMode, 0)
    ORV_VALUE(QByteArray, picture, setPicture, QByteArray())
};

// Runs the layout named by ReportName (relative to the parent layout's
// folder) once per parent row.
class SubReport : public BoxControl
{
    Q_OBJECT
    Q_PROPERTY(QString ReportName READ reportName WRITE setReportName)
    Q_PROPERTY(bool CanGrow READ canGrow WRITE setCanGrow)
    Q_PROPERTY(bool CanShrink READ canShrink WRITE setCanShrink)
    ORV_CONTROL_TYPE("OrvEngine.SubReport")

public:
    explicit SubReport(QObject *parent = nullptr) : BoxControl(4320, 1440, parent) {}
    ORV_VALUE(QString, reportName, setReportName, QString())
    ORV_VALUE(bool, canGrow, setCanGrow, true)
    ORV_VALUE(bool, canShrink, setCanShrink, false)
};

// Starts a new page where it stands; only its Top matters.
class PageBreak : public Control
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
    ORV_CONTROL_TYPE("OrvEngine.PageBreak")

public:
    explicit PageBreak(QObject *parent = nullptr) : Control(1440, 0, parent) {}
    ORV_VALUE(bool, enabled, setEnabled, true)
};

// The report's data source: an OLE DB style connection string and the
// SQL statement or table it reads.
class DataControl : public Control
{
    Q_OBJECT
    Q_PROPERTY(QString ConnectionString READ connectionString WRITE setConnectionString)
    Q_PROPERTY(QString Source READ source WRITE setSource)
    ORV_CONTROL_TYPE("OrvEngine.DataControl")

public:
    explicit DataControl(QObject *parent = nullptr) : Control(1440, 300, parent) {}
    ORV_VALUE(QString, connectionString, setConnectionString, QString())
    ORV_VALUE(QString, source, setSource, QString())
};

// A data source named the DAO way: a database file, its connect kind
// ("Access") and a record source. RecordsetType: 0 table, 1 dynaset,
// 2 snapshot.
class DAODataControl : public Control
{
    Q_OBJECT
    Q_PROPERTY(QString Connect READ connect WRITE setConnect)
    Q_PROPERTY(QString DatabaseName READ databaseName WRITE setDatabaseName)
    Q_PROPERTY(QString RecordSource READ recordSource WRITE setRecordSource)
    Q_PROPERTY(int RecordsetType READ recordsetType WRITE setRecordsetType)
    Q_PROPERTY(bool Exclusive READ exclusive WRITE setExclusive)
    Q_PROPERTY(bool ReadOnly READ readOnly WRITE setReadOnly)
    Q_CLASSINFO("range:RecordsetType", "0 2")
    ORV_CONTROL_TYPE("OrvEngine.DAODataControl")

public:
    explicit DAODataControl(QObject *parent = nullptr) : Control(1440, 300, parent) {}
    ORV_VALUE(QString, connect, setConnect, QStringLiteral("Access"))
    ORV_VALUE(QString, databaseName, setDatabaseName, QString())
    ORV_VALUE(QString, recordSource, setRecordSource, QString())
    ORV_VALUE(int, recordsetType, setRecordsetType, 1)
    ORV_VALUE(bool, exclusive, setExclusive, false)
    ORV_VALUE(bool, readOnly, setReadOnly, false)
};

} // namespace Orv
