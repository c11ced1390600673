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
    // Headings are bold and larger; all start black on white, left and top.
    const struct
    {
        const char *name;
        double size;
        bool bold;
    } defaults[] = {{"Normal", 10, false}, {"Heading 1", 16, true}, {"Heading 2", 14, true}, {"Heading 3", 12, true}};
    for (const auto &d : defaults) {
        auto style = std::make_unique<TextStyle>(QString::fromLatin1(d.name));
        style->font()->setSize(d.size);
        style->font()->setBold(d.bold);
        m_styles.push_back(std::move(style));
    }
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
        return Status::failure(380, QCoreApplication::translate("frmOptions", "\"%1\" is not a number of rows: type a "
                                                                              "whole number from 1 to 100.")
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

Status OptionsModel::accept()
{
    if (Status s = rowsProblem(); !s.ok())
        return s;
    applyGrid();
    m_done = true;
    return {};
}

void OptionsModel::reject()
{
    m_done = true;
    if (!m_designer)
        return;
    m_designer->setShowGrid(m_oldShow);
    m_designer->setSnapToGrid(m_oldSnap);
    m_designer->setMetricGrid(m_oldMetric);
    m_designer->setGridRows(m_oldRows);
}

} // namespace Orv
