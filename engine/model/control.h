#pragma once

#include "engine/model/backstyle.h"
#include "engine/model/modelobject.h"
#include "engine/model/parts.h"

#include <QString>

namespace Orv {

class Section;

// A control placed on a section. Positions and sizes are twips from the
// section's top left corner.
class Control : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name WRITE setName)
    Q_PROPERTY(QString Tag READ tag WRITE setTag)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
    Q_PROPERTY(double Left READ left WRITE setLeft)
    Q_PROPERTY(double Top READ top WRITE setTop)
    Q_PROPERTY(double Width READ width WRITE setWidth)
    Q_PROPERTY(double Height READ height WRITE setHeight)
    Q_CLASSINFO("range:Width", "0 20000000")
    Q_CLASSINFO("range:Height", "0 20000000")

public:
    // The identifier the control was created by ("OrvEngine.Label").
    virtual QString typeId() const = 0;
    // The kind without its "OrvEngine." prefix ("Label").
    QString typeName() const;

    // The section holding the control, or null while it is detached.
    Section *section() const;

    // Left, top, width and height are virtual so that a line can keep them
    // in step with its end points.
    virtual double left() const { return m_left; }
    virtual void setLeft(double value);
    virtual double top() const { return m_top; }
    virtual void setTop(double value);
    virtual double width() const { return m_width; }
    virtual void setWidth(double value);
    virtual double height() const { return m_height; }
    virtual void setHeight(double value);

    ORV_VALUE(QString, name, setName, QString())
    ORV_VALUE(QString, tag, setTag, QString())
    ORV_VALUE(bool, visible, setVisible, true)

protected:
    Control(double width, double height, QObject *parent);

private:
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
};

// Declares a control kind's identifier; every kind has one.
#define ORV_CONTROL_TYPE(identifier)                                               \
public:                                                                            \
    static QString staticTypeId() { return QStringLiteral(identifier); }           \
    QString typeId() const override { return staticTypeId(); }

// A control with a background and a border.
class BoxControl : public Control
{
    Q_OBJECT
    Q_PROPERTY(int BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(int BackStyle READ backStyleCode WRITE setBackStyleCode)
    Q_PROPERTY(Orv::Border *Border READ border)
    Q_CLASSINFO("range:BackStyle", "0 1")

public:
    ORV_VALUE(int, backColor, setBackColor, 0xFFFFFF)
    ORV_CODED(Orv::BackStyle, backStyle, setBackStyle, backStyleCode, setBackStyleCode, Orv::BackStyle::Transparent)
    ORV_PART(Orv::Border, border)

protected:
    using Control::Control;
};

// A control that shows text in a font. Alignment: 0 left, 1 right,
// 2 centre, 3 justify; vertical alignment: 0 top, 1 middle, 2 bottom.
// ClassName is the name of the text style ("Normal", "Heading1", ...).
class TextControl : public BoxControl
{
    Q_OBJECT
    Q_PROPERTY(int ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(Orv::Font *Font READ font)
    Q_PROPERTY(int Alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(int VerticalAlignment READ verticalAlignment WRITE setVerticalAlignment)
    Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)
    Q_PROPERTY(QString ClassName READ className WRITE setClassName)
    Q_CLASSINFO("range:Alignment", "0 3")
    Q_CLASSINFO("range:VerticalAlignment", "0 2")

public:
    ORV_VALUE(int, foreColor, setForeColor, 0)
    ORV_PART(Orv::Font, font)
    ORV_VALUE(int, alignment, setAlignment, 0)
    ORV_VALUE(int, verticalAlignment, setVerticalAlignment, 0)
    ORV_VALUE(bool, wordWrap, setWordWrap, true)
    ORV_VALUE(QString, className, setClassName, QStringLiteral("Normal"))

protected:
    using BoxControl::BoxControl;
};

} // namespace Orv
