// Charts in a run: where their values come from (ChartData set by a
// script, the chart's own statement, or the report's rows grouped), and
// their drawing as band items that move and break across pages as one.
#include "engine/run/producer.h"

#include "engine/chart/chartrenderer.h"
#include "engine/data/connection.h"
#include "engine/data/recordset.h"
#include "engine/data/reportdata.h"
#include "engine/model/chart.h"
#include "engine/run/sqlparams.h"

#include <QLocale>

namespace Orv::RunInternal {

namespace {

// Bounds the pass over the rows keeps, whatever the report's size.
constexpr qint64 MaxChartCells = 200000;

// Equal group values give equal keys: numbers by value, Null apart.
QString keyText(const QVariant &v)
{
    if (isNullValue(v))
        return QStringLiteral("\x01");
    if (isNumeric(v))
        return QStringLiteral("n") + QString::number(v.toDouble(), 'g', 17);
    return QStringLiteral("s") + v.toString();
}

QString categoryLabel(const QVariant &v)
{
    if (isNullValue(v))
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    if (v.typeId() == QMetaType::QDateTime)
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    return v.toString();
}

} // namespace

QString Producer::chartScopeKey(int level, const std::function<QVariant(int)> &keyOf) const
{
    QString key;
    for (int l = 0; l <= level; ++l)
        key += keyText(keyOf(l)) + QChar(0x1f);
    return key;
}

void Producer::gatherChartRows()
{
    std::vector<ControlPlan *> charts;
    for (auto &section : m_plan->sections) {
        for (ControlPlan &c : section->controls) {
            if (c.kind == ControlPlan::Chart && c.chart) {
                c.chart->scopes.clear();
                c.chart->cells = 0;
                c.chart->full = false;
                charts.push_back(&c);
            }
        }
    }
    if (charts.empty() || !m_connection)
        return;
    Status status;
    std::unique_ptr<Data::Recordset> rs = m_connection->Execute(m_dataSql, &status);
    if (!rs) {
        m_shared.error(Status::failure(status.number(), status.description(), charts.front()->name));
        return;
    }
    std::vector<QVariant> row(size_t(m_row.columnCount()));
    const std::vector<QVariant> *current = m_row.row();
    m_row.setRow(&row);
    for (; !rs->atEnd(); rs->MoveNext()) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = rs->value(int(i));
        for (ControlPlan *c : charts) {
            ChartPlan &plan = *c->chart;
            if (plan.full)
                continue;
            const QVariant group = evaluate(plan.group, c->name);
            ChartPlan::Scope &scope = plan.scopes[chartScopeKey(plan.scopeLevel, [this](int l) { return groupKey(l); })];
            const QString key = keyText(group);
            auto it = scope.index.constFind(key);
            if (it == scope.index.cend()) {
                if (scope.categories.size() >= Charts::MaxCategories || plan.cells >= MaxChartCells) {
                    plan.full = true;
                    m_shared.error(Status::failure(ErrInvalidCall, QStringLiteral("The chart has more categories than it can show; later ones are left out"), c->name));
                    continue;
                }
                it = scope.index.insert(key, int(scope.categories.size()));
                scope.categories << categoryLabel(group);
                const size_t width = std::max<size_t>(1, plan.values.size());
                scope.cells.emplace_back(width, Accumulator(plan.values.empty() ? 2 : plan.function));
                plan.cells += qint64(width);
            }
            std::vector<Accumulator> &cells = scope.cells[size_t(*it)];
            if (plan.values.empty()) {
                cells[0].add(1);
            } else {
                for (size_t v = 0; v < plan.values.size(); ++v)
                    cells[v].add(evaluate(plan.values[v], c->name));
            }
        }
    }
    if (!rs->lastError().ok())
        m_shared.error(Status::failure(rs->lastError().number(), rs->lastError().description(), charts.front()->name));
    m_row.setRow(current);
}

Charts::ChartValues Producer::rowSourceValues(const ControlPlan &c, const QString &rowSource)
{
    if (!m_connection) {
        m_shared.error(Status::failure(ErrConnectionUnusable, QStringLiteral("The chart's RowSource needs the report's data control"), c.name));
        return {};
    }
    const ParameterLookup lookup = [&](const QString &name) -> std::optional<QVariant> {
        const int slot = m_row.slotOf(name);
        if (slot >= 0)
            return m_row.value(slot);
        return std::nullopt;
    };
    const QString sql = substituteParameters(Data::statementFor(rowSource.trimmed()), lookup);
    Status status;
    std::unique_ptr<Data::Recordset> rs = m_connection->Execute(sql, &status);
    if (!rs) {
        m_shared.error(Status::failure(status.number(), status.description(), c.name));
        return {};
    }
    QStringList names;
    for (int i = 0; i < rs->fields()->count(); ++i)
        names << rs->fields()->at(i)->name();
    const std::vector<QVariantList> rows = rs->getRows(Charts::MaxCategories);
    if (!rs->lastError().ok())
        m_shared.error(Status::failure(rs->lastError().number(), rs->lastError().description(), c.name));
    return Charts::valuesFromRows(rows, names);
}

Charts::ChartValues Producer::chartValues(const ControlPlan &c)
{
    const auto *chart = static_cast<const Chart *>(c.control);
    const QVariant data = chart->chartData();
    if (data.isValid())
        return Charts::valuesFromRecords(data);
    if (!chart->rowSource().trimmed().isEmpty())
        return rowSourceValues(c, chart->rowSource());
    if (!c.chart)
        return {};
    const ChartPlan &plan = *c.chart;
    const auto scope = plan.scopes.constFind(chartScopeKey(plan.scopeLevel, [this](int l) {
        return l < int(m_openKeys.size()) ? m_openKeys[size_t(l)] : QVariant();
    }));
    Charts::ChartValues values;
    if (scope == plan.scopes.cend())
        return values;
    values.categories = scope->categories;
    const size_t width = std::max<size_t>(1, plan.values.size());
    for (size_t v = 0; v < width; ++v) {
        values.seriesNames << (plan.values.empty() ? QStringLiteral("Count") : plan.valueNames.value(qsizetype(v)));
        std::vector<double> series;
        series.reserve(scope->cells.size());
        for (const std::vector<Accumulator> &cells : scope->cells)
            series.push_back(Charts::numberOf(cells[v].result()));
        values.series.push_back(std::move(series));
    }
    return values;
}

void Producer::addChartItems(ControlPlan &c, LaidBand &band)
{
    const QRectF rect(c.left, c.top, c.width, c.height);
    Page drawing;
    // The first item spans the chart: it carries the border and shadow.
    ShapeOp frame;
    frame.rect = rect;
    frame.pen.style = Qt::NoPen;
    drawing.ops.push_back(frame);
    Charts::renderChart(*static_cast<const Chart *>(c.control), chartValues(c), rect, &drawing);
    std::vector<int> fonts;
    for (const PageFont &f : drawing.fonts)
        fonts.push_back(fontId(m_shared.fonts, f));
    for (size_t i = 0; i < drawing.ops.size(); ++i) {
        Item item;
        item.plan = &c;
        item.decorate = i == 0;
        // Every part spans the whole chart, so that a page break never
        // goes through it.
        item.top = rect.top();
        item.bottom = rect.bottom();
        if (auto *text = std::get_if<TextOp>(&drawing.ops[i]))
            text->font = fonts[size_t(text->font)];
        item.op = std::move(drawing.ops[i]);
        band.items.push_back(std::move(item));
    }
}

} // namespace Orv::RunInternal
