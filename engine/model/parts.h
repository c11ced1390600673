#pragma once

#include "engine/model/modelobject.h"

#include <QString>

namespace Orv {

// A control's font. Sizes are points, as users type them.
class Font : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name WRITE setName)
    Q_PROPERTY(double Size READ size WRITE setSize)
    Q_PROPERTY(bool Bold READ bold WRITE setBold)
    Q_PROPERTY(bool Italic READ italic WRITE setItalic)
    Q_PROPERTY(bool Underline READ underline WRITE setUnderline)
    Q_PROPERTY(bool Strikethrough READ strikethrough WRITE setStrikethrough)
    Q_PROPERTY(int Charset READ charset WRITE setCharset)
    Q_CLASSINFO("range:Size", "1 1638")
    Q_CLASSINFO("range:Charset", "0 255")

public:
    using ModelObject::ModelObject;

    ORV_VALUE(QString, name, setName, QStringLiteral("Arial"))
    ORV_VALUE(double, size, setSize, 10.0)
    ORV_VALUE(bool, bold, setBold, false)
    ORV_VALUE(bool, italic, setItalic, false)
    ORV_VALUE(bool, underline, setUnderline, false)
    ORV_VALUE(bool, strikethrough, setStrikethrough, false)
    ORV_VALUE(int, charset, setCharset, 1)
};

// The four sides of a control's border. Styles: 0 none, 1 solid, 2 dash,
// 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 double, 7-12 the same thick,
// 13 extra thick solid. Colours are colour numbers (0x00BBGGRR).
class Border : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(int LeftStyle READ leftStyle WRITE setLeftStyle)
    Q_PROPERTY(int TopStyle READ topStyle WRITE setTopStyle)
    Q_PROPERTY(int RightStyle READ rightStyle WRITE setRightStyle)
    Q_PROPERTY(int BottomStyle READ bottomStyle WRITE setBottomStyle)
    Q_PROPERTY(int LeftColor READ leftColor WRITE setLeftColor)
    Q_PROPERTY(int TopColor READ topColor WRITE setTopColor)
    Q_PROPERTY(int RightColor READ rightColor WRITE setRightColor)
    Q_PROPERTY(int BottomColor READ bottomColor WRITE setBottomColor)
    Q_PROPERTY(bool Shadow READ shadow WRITE setShadow)
    Q_CLASSINFO("range:LeftStyle", "0 13")
    Q_CLASSINFO("range:TopStyle", "0 13")
    Q_CLASSINFO("range:RightStyle", "0 13")
    Q_CLASSINFO("range:BottomStyle", "0 13")

public:
    using ModelObject::ModelObject;

    // Sets all four sides at once.
    void setStyle(int style);
    void setColor(int color);

    ORV_VALUE(int, leftStyle, setLeftStyle, 0)
    ORV_VALUE(int, topStyle, setTopStyle, 0)
    ORV_VALUE(int, rightStyle, setRightStyle, 0)
    ORV_VALUE(int, bottomStyle, setBottomStyle, 0)
    ORV_VALUE(int, leftColor, setLeftColor, 0)
    ORV_VALUE(int, topColor, setTopColor, 0)
    ORV_VALUE(int, rightColor, setRightColor, 0)
    ORV_VALUE(int, bottomColor, setBottomColor, 0)
    ORV_VALUE(bool, shadow, setShadow, false)
};

// Paper and margins of a report, in twips. PaperSize numbers are the
// printer's paper-size numbers; -1 is the printer's default, 256 custom
// (PaperWidth and PaperHeight then apply). Orientation: -1 printer
// default, 1 portrait, 2 landscape.
class PageSettings : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(int PaperSize READ paperSize WRITE setPaperSize)
    Q_PROPERTY(double PaperWidth READ paperWidth WRITE setPaperWidth)
    Q_PROPERTY(double PaperHeight READ paperHeight WRITE setPaperHeight)
    Q_PROPERTY(double LeftMargin READ leftMargin WRITE setLeftMargin)
    Q_PROPERTY(double RightMargin READ rightMargin WRITE setRightMargin)
    Q_PROPERTY(double TopMargin READ topMargin WRITE setTopMargin)
    Q_PROPERTY(double BottomMargin READ bottomMargin WRITE setBottomMargin)
    Q_PROPERTY(double Gutter READ gutter WRITE setGutter)
    Q_PROPERTY(bool MirrorMargins READ mirrorMargins WRITE setMirrorMargins)
    Q_PROPERTY(int Orientation READ orientation WRITE setOrientation)
    Q_CLASSINFO("range:PaperSize", "-1 32767")
    Q_CLASSINFO("range:PaperWidth", "0 20000000")
    Q_CLASSINFO("range:PaperHeight", "0 20000000")
    Q_CLASSINFO("range:LeftMargin", "0 20000000")
    Q_CLASSINFO("range:RightMargin", "0 20000000")
    Q_CLASSINFO("range:TopMargin", "0 20000000")
    Q_CLASSINFO("range:BottomMargin", "0 20000000")
    Q_CLASSINFO("range:Gutter", "0 20000000")
    Q_CLASSINFO("range:Orientation", "-1 2")

public:
    using ModelObject::ModelObject;

    static constexpr int DefaultPaper = -1;
    static constexpr int CustomPaper = 256;

    ORV_VALUE(int, paperSize, setPaperSize, DefaultPaper)
    ORV_VALUE(double, paperWidth, setPaperWidth, 12240.0)
    ORV_VALUE(double, paperHeight, setPaperHeight, 15840.0)
    ORV_VALUE(double, leftMargin, setLeftMargin, 1440.0)
    ORV_VALUE(double, rightMargin, setRightMargin, 1440.0)
    ORV_VALUE(double, topMargin, setTopMargin, 1440.0)
    ORV_VALUE(double, bottomMargin, setBottomMargin, 1440.0)
    ORV_VALUE(double, gutter, setGutter, 0.0)
    ORV_VALUE(bool, mirrorMargins, setMirrorMargins, false)
    ORV_VALUE(int, orientation, setOrientation, -1)
};

} // namespace Orv
