// CreateReportDesigner: the banded layout of the wizard's choices. Sizes
// come from the width of "M" in the style's fonts and from each field's
// type; positions and sizes are twips.

#include "wizard/styles.h"
#include "wizard/wizardmodel.h"

#include "engine/model/control.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/textmeasure.h"
#include "ui/uiseam.h"

#include <QGuiApplication>

namespace Orv::Wizard {

namespace {

// Width of "M" in a font, in twips, as the engine measures text.
float widthOfM(const QString &name, double size, bool bold, bool italic)
{
    PageFont font;
    font.family = name;
    font.pointSize = size;
    font.bold = bold;
    font.italic = italic;
    return float(measureText(font, 1.0e7, false, QStringLiteral("M")).width);
}

float widthOfM(const StyleFont &f)
{
    return widthOfM(f.name, f.size, f.bold, f.italic);
}

// Table + "_" + field, reduced to A-Z, a-z, 0-9 and "_".
QString controlKey(const SelectedField &f)
{
    const QString full = f.TableName + QLatin1Char('_') + f.FieldName;
    QString key;
    key.reserve(full.size());
    for (const QChar c : full) {
        const char16_t u = c.unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_')
            key += c;
    }
    return key;
}

class Generator
{
public:
    Generator(Wizard::Report &model, Orv::Report &report, const StyleType &style)
        : m_model(model)
        , m_report(report)
        , m_style(style)
        , m_printWidth(float(report.printWidth()))
    {
    }

    Status run()
    {
        Sections *sections = m_report.sections();
        Section *detail = sections->firstOfType(Section::Detail);
        Section *pageHeader = sections->firstOfType(Section::PageHeader);
        if (!detail || !pageHeader)
            return Status::failure(ErrInvalidCall, QStringLiteral("The report has no page header or no detail section"));

        m_md = widthOfM(m_style.detailFont);
        m_mg = widthOfM(m_style.detailFont.name, 12, true, false);
        m_mc = widthOfM(m_style.captionFont);

        if (Control *dc = add(detail, "OrvEngine.DataControl")) {
            set(dc, "Name", QStringLiteral("dcRptData"));
            set(dc, "Top", 0.0);
            set(dc, "ConnectionString", m_model.DataSource().ConnectionString);
            set(dc, "Source", m_model.BuildQuery());
        }
        if (!m_status.ok())
            return m_status;
        detailControls(detail);
        if (!m_status.ok())
            return m_status;

        const auto &groups = m_model.GroupFields();
        for (int g = 0; g < groups.Count() && m_status.ok(); ++g)
            groupLevel(g, *groups.Item(g + 1)->ReportField, g == groups.Count() - 1);
        if (!m_status.ok())
            return m_status;
        if (groups.Count() == 0)
            pageHeaderCaptions(pageHeader);
        if (!m_status.ok())
            return m_status;

        Section *header = addSection(QStringLiteral("ReportHeader"), 0, Section::ReportHeader);
        addSection(QStringLiteral("ReportFooter"), sections->Count(), Section::ReportFooter);
        if (header)
            titleBand(header);
        return m_status;
    }

private:
    // Engine calls: the first refusal is kept and every later call does nothing.
    void set(QObject *object, const char *path, const QVariant &value)
    {
        if (!m_status.ok())
            return;
        const Status s = Reflection::setValue(object, QString::fromLatin1(path), value);
        if (!s.ok())
            m_status = Status::failure(s.number(), s.description(), object->property("Name").toString());
    }

    Control *add(Section *section, const char *typeId)
    {
        if (!m_status.ok())
            return nullptr;
        Status s;
        Control *c = section->controls()->Add(QString::fromLatin1(typeId), &s);
        if (!c)
            m_status = s.ok() ? Status::failure(ErrCannotCreateObject, QStringLiteral("ActiveX component can't create object"),
                                                QString::fromLatin1(typeId))
                              : s;
        return c;
    }

    Section *addSection(const QString &name, int position, Section::Type type)
    {
        if (!m_status.ok())
            return nullptr;
        Status s;
        Section *section = m_report.sections()->Add(name, position, type, 200, &s);
        if (!section)
            m_status = s.ok() ? Status::failure(ErrInvalidCall, QStringLiteral("Invalid procedure call or argument"), name) : s;
        return section;
    }

    void setFont(QObject *control, const StyleFont &font)
    {
        set(control, "Font.Name", font.name);
        set(control, "Font.Size", double(font.size));
        set(control, "Font.Bold", font.bold);
        set(control, "Font.Italic", font.italic);
    }

    void detailControls(Section *detail)
    {
        const auto &fields = m_model.SelectedFields();
        float y = 315, x = 0, rowTop = 0;
        for (const auto &f : fields) {
            if (!m_status.ok())
                return;
            if (f->FieldWidth == 0)
                f->FieldWidth = 25;
            const QString key = controlKey(*f);
            Control *c = nullptr;
            if (f->FieldType == 11) {
                c = add(detail, "OrvEngine.CheckBox");
                set(c, "Name", QStringLiteral("chk") + key);
                set(c, "Caption", QString());
            } else if (f->FieldType == 128) {
                c = add(detail, "OrvEngine.OLE");
                set(c, "Name", QStringLiteral("ole") + key);
            } else {
                c = add(detail, "OrvEngine.Field");
                set(c, "Name", QStringLiteral("txt") + key);
                set(c, "Text", f->FieldName);
            }
            if (!c)
                return;
            if (f->FieldType != 128)
                setFont(c, m_style.detailFont);

            int sameName = 0;
            for (const auto &other : fields)
                sameName += other->FieldName == f->FieldName ? 1 : 0;
            set(c, "DataField", sameName == 1 ? f->FieldName : f->TableName + QLatin1Char('.') + f->FieldName);

            switch (f->FieldType) {
            case 3: case 131:
                sizeAs(c, 1, 7 * m_md, 300);
                break;
            case 4: case 5: case 6: case 14:
                sizeAs(c, 1, 8 * m_md, 300);
                if (f->FieldType == 6)
                    set(c, "OutputFormat", QStringLiteral("$###,##0.00"));
                break;
            case 7: case 134:
                sizeAs(c, 1, 6 * m_md, 300);
                break;
            case 11:
                sizeAs(c, -1, 3 * m_md, 300);
                break;
            case 128:
                sizeAs(c, -1, 25 * m_md, 1800);
                break;
            case 202:
                if (f->FieldWidth < 51) {
                    sizeAs(c, -1, float(f->FieldWidth) * m_md, 300);
                } else {
                    sizeAs(c, -1, 40 * m_md, 300);
                    set(c, "CanGrow", true);
                }
                break;
            case 203:
                sizeAs(c, -1, 40 * m_md, 300);
                set(c, "CanGrow", true);
                break;
            default:
                break;
            }
            if (!m_status.ok())
                return;

            const float w = float(c->width());
            const float h = float(c->height());
            if (x + w > m_printWidth) {
                rowTop = y;
                set(c, "Top", double(y));
                set(c, "Left", 0.0);
                x = w + 100;
                y = y + h + 15;
            } else {
                set(c, "Top", double(rowTop));
                if (rowTop + h + 15 > y)
                    y = rowTop + h + 15;
                set(c, "Left", double(x));
                x = x + w + 100;
            }
        }
        set(detail, "Height", double(y - 15));
        set(detail, "CanGrow", true);
    }

    // Alignment -1 leaves the engine's.
    void sizeAs(Control *c, int alignment, float width, double height)
    {
        if (alignment >= 0)
            set(c, "Alignment", alignment);
        set(c, "Width", double(width));
        set(c, "Height", height);
    }

    void groupLevel(int g, const SelectedField &f, bool last)
    {
        const QString name = QString(f.FieldName).remove(QLatin1Char(' '));
        Section *header = addSection(QStringLiteral("gh") + name, g + 1, Section::GroupHeader);
        if (!header)
            return;
        set(header, "DataField", name);
        Control *c = add(header, "OrvEngine.Field");
        if (!c)
            return;
        set(c, "Name", QStringLiteral("txtGV") + name);
        set(c, "Text", name);
        set(c, "Font.Size", 12.0);
        set(c, "Font.Bold", true);
        set(c, "DataField", name);
        set(c, "Top", 0.0);
        set(c, "Left", 0.0);
        set(c, "Height", 450.0);
        float width = -1;
        switch (f.FieldType) {
        case 3: case 131: width = 7 * m_mg; break;
        case 4: case 5: case 6: case 14: width = 8 * m_mg; break;
        case 7: case 134: width = 6 * m_mg; break;
        case 128: width = 25 * m_mg; break;
        case 129: case 202: width = f.FieldWidth < 51 ? float(f.FieldWidth) * m_mg : 40 * m_mg; break;
        case 203: width = 40 * m_mg; break;
        default: break;
        }
        if (width >= 0)
            set(c, "Width", double(width));
        Control *lastControl = c;
        if (last)
            lastControl = groupHeaderCaptions(header, c);
        if (!m_status.ok())
            return;
        set(header, "Height", lastControl->top() + lastControl->height());
        addSection(QStringLiteral("gf") + name, g + 3, Section::GroupFooter);
    }

    Control *addCaption(Section *section, const SelectedField &f)
    {
        Control *label = add(section, "OrvEngine.Label");
        set(label, "Name", QStringLiteral("lbl") + controlKey(f));
        set(label, "Caption", f.FieldName);
        return label;
    }

    // The column captions under the group value of the innermost group;
    // returns the last control added.
    Control *groupHeaderCaptions(Section *header, Control *lastControl)
    {
        float x = 0, y = 315;
        for (const auto &f : m_model.SelectedFields()) {
            Control *label = addCaption(header, *f);
            if (!label)
                return lastControl;
            float width = -1;
            switch (f->FieldType) {
            case 3: case 131: width = 12 * m_mc; break;
            case 4: case 5: case 6: case 14: width = 16 * m_mc; break;
            case 7: case 134: width = 10 * m_mc; break;
            case 11: width = float(f->FieldName.size()) * m_mc; break;
            case 128: case 203: width = 50 * m_mc; break;
            case 129: case 202: width = float(f->FieldWidth) * m_mc; break;
            default: break;
            }
            if (width >= 0)
                set(label, "Width", double(width));
            const float w = float(label->width());
            if (x + w > m_printWidth) {
                x = 0;
                y += 315;
            }
            set(label, "Top", double(y));
            set(label, "Height", 300.0);
            set(label, "Left", double(x + 100));
            setFont(label, m_style.captionFont);
            x = float(label->left()) + w;
            lastControl = label;
        }
        return lastControl;
    }

    // The column captions in the page header, when there are no groups.
    void pageHeaderCaptions(Section *pageHeader)
    {
        float x = 0, y = 0;
        int rows = 1;
        for (const auto &f : m_model.SelectedFields()) {
            Control *label = addCaption(pageHeader, *f);
            if (!label)
                return;
            float width = -1;
            switch (f->FieldType) {
            case 3: case 131: width = 12 * m_mg; break;
            case 4: case 5: case 6: case 14: width = 16 * m_mg; break;
            case 7: case 134: width = 10 * m_mg; break;
            case 11: width = 3 * m_mg; break;
            case 128: case 203: width = 50 * m_mg; rows = 6; break;
            case 129: case 202: width = float(f->FieldWidth) * m_mg; break;
            default: break;
            }
            if (width >= 0)
                set(label, "Width", double(width));
            const float w = float(label->width());
            if (x + w > m_printWidth) {
                y = y + float(rows * 300 + 15);
                rows = 1;
                x = 0;
            }
            set(label, "Top", double(y));
            set(label, "Height", 300.0);
            set(label, "Left", double(x + 100));
            setFont(label, m_style.captionFont);
            x = float(label->left()) + w;
        }
        set(pageHeader, "Height", double(y + float(rows * 300 + 15)));
    }

    void titleBand(Section *header)
    {
        if (m_style.titleBackColor != -1) {
            set(header, "BackColor", m_style.titleBackColor);
            set(header, "BackStyle", int(BackStyle::Opaque));
        }
        for (int i = 0; i <= m_style.lastRuleIndex; ++i) {
            Control *line = add(header, "OrvEngine.Line");
            if (!line)
                return;
            set(line, "LineWeight", 1.0);
            set(line, "LineStyle", m_style.ruleStyle);
            set(line, "LineColor", m_style.ruleColor);
            set(line, "X1", 0.0);
            set(line, "X2", double(m_printWidth));
            set(line, "Y1", double(i));
            set(line, "Y2", double(i));
        }
        if (Control *title = add(header, "OrvEngine.Label")) {
            set(title, "Name", QStringLiteral("lblReportTitle"));
            set(title, "Caption", m_model.Title);
            set(title, "Top", 5.0);
            set(title, "Height", m_style.titleFont.size / 8.0 * 300.0);
            set(title, "Left", 0.0);
            set(title, "Width", double(m_printWidth));
            set(title, "Alignment", 2);
            setFont(title, m_style.titleFont);
        }
        set(header, "Height", 750.0);
    }

    Wizard::Report &m_model;
    Orv::Report &m_report;
    const StyleType &m_style;
    float m_printWidth;
    float m_md = 0, m_mg = 0, m_mc = 0;
    Status m_status;
};

} // namespace

Status Report::CreateReportDesigner()
{
    Status status;
    const auto styles = buildStyleTable();
    if (!m_report) {
        status = Status::failure(ErrObjectNotSet, errorDescription(ErrObjectNotSet));
    } else if (Style < 0 || Style >= StyleCount) {
        status = Status::failure(ErrSubscript, QStringLiteral("Subscript out of range"), QString::number(Style));
    } else if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        status = Status::failure(ErrInvalidCall, QStringLiteral("Measuring text needs a GUI application"));
    } else {
        Generator generator(*this, *m_report, styles[size_t(Style)]);
        status = generator.run();
    }
    if (!status.ok() && m_ui)
        m_ui->messageBox(status.description(), QStringLiteral("CreateReportDesigner"));
    return status;
}

} // namespace Orv::Wizard
