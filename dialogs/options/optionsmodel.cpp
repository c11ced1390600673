#include "dialogs/options/optionsmodel.h"

#include "engine/model/parts.h"
#include "engine/widgets/designer/designercore.h"

#include <QCoreApplication>

namespace Orv {

TextStyle::TextStyle(const QString &name, QObject *parent) : QObject(parent), m_font(new Orv::Font(this))
{
    setObjectName(name);
}

TextStyle::~TextStyle() = default;

OptionsModel::OptionsModel(DesignerCore *designer) : m_designer(designer)
{
    m_rows[0] = m_rows[1] = QString::number(DefaultRows);
    if (designer) {
        m_oldShow = m_showGrid = designer->ShowGrid();
        m_oldSnap = m_snap = designer->snapToGrid();
        m_oldMetric = designer->metricGrid();
        m_oldRows = designer->gridRows();
        m_ruler = m_oldMetric ? Metric : Inches;
        m_rows[m_ruler] = QString::number(m_oldRows);
    }
    // The styles as the designer has them (its first looks without one);
    // the designer follows them from now until OK or Cancel.
    const DesignerStyles defaults;
    const DesignerStyles &table = designer ? designer->textStyles() : defaults;
    const char *const captions[] = {"Normal", "Heading 1", "Heading 2", "Heading 3"};
    const QStringList names = DesignerCore::styleNames();
    for (int i = 0; i < 4; ++i) {
        auto style = std::make_unique<TextStyle>(QString::fromLatin1(captions[i]));
        if (const DesignerStyles::Style *s = table.find(names[i]))
            setLook(*style, s->look);
        m_styles.push_back(std::move(style));
    }
    if (designer)
        designer->beginStyleChange();
}

OptionsModel::~OptionsModel()
{
    if (!m_done)
        reject();
}

void OptionsModel::setShowGrid(bool show)
{
    m_showGrid = show;
    applyGrid();
}

void OptionsModel::setSnapToGrid(bool snap)
{
    m_snap = snap;
    applyGrid();
}

void OptionsModel::setRuler(int ruler)
{
    m_ruler = ruler == Metric ? Metric : Inches;
    applyGrid();
}

void OptionsModel::setRowsText(int ruler, const QString &text)
{
    m_rows[ruler == Metric ? 1 : 0] = text;
    applyGrid();
}

Status OptionsModel::parseRows(const QString &text, int *rows)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 100)
        return Status::failure(ErrInvalidPropertyValue, QCoreApplication::translate("frmOptions", "“%1”不是行数：请输入 1 到 100 的整数。")
                                        .arg(text));
    *rows = n;
    return {};
}

Status OptionsModel::rowsProblem() const
{
    int rows = 0;
    return parseRows(rowsText(m_ruler), &rows);
}

void OptionsModel::applyGrid()
{
    if (!m_designer)
        return;
    m_designer->setShowGrid(m_showGrid);
    m_designer->setSnapToGrid(m_snap);
    m_designer->setMetricGrid(m_ruler == Metric);
    // Rows being typed apply once they make a number.
    if (int rows = 0; parseRows(rowsText(m_ruler), &rows).ok())
        m_designer->setGridRows(rows);
}

TextLook OptionsModel::lookOf(const TextStyle &style)
{
    TextLook look;
    look.readFont(style.font());
    look.foreColor = style.foreColor();
    look.backColor = style.backColor();
    look.alignment = style.horizontal();
    look.verticalAlignment = style.vertical();
    return look;
}

void OptionsModel::setLook(TextStyle &style, const TextLook &look)
{
    look.writeFont(style.font());
    style.setForeColor(look.foreColor);
    style.setBackColor(look.backColor);
    style.setHorizontal(look.alignment);
    style.setVertical(look.verticalAlignment);
}

void OptionsModel::stylesEdited()
{
    if (!m_designer || m_done)
        return;
    const QStringList names = DesignerCore::styleNames();
    for (size_t i = 0; i < m_styles.size() && int(i) < names.size(); ++i)
        m_designer->setTextStyle(names[int(i)], lookOf(*m_styles[i]));
}

Status OptionsModel::accept()
{
    if (Status s = rowsProblem(); !s.ok())
        return s;
    applyGrid();
    stylesEdited();
    m_done = true;
    if (m_designer)
        m_designer->endStyleChange(true);
    return {};
}

void OptionsModel::reject()
{
    m_done = true;
    if (!m_designer)
        return;
    m_designer->endStyleChange(false);
    m_designer->setShowGrid(m_oldShow);
    m_designer->setSnapToGrid(m_oldSnap);
    m_designer->setMetricGrid(m_oldMetric);
    m_designer->setGridRows(m_oldRows);
}

} // namespace Orv
