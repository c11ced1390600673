#include "dialogs/reportwizard/wizardflow.h"

#include "ui/uiseam.h"

#include <QCoreApplication>

namespace Orv {

namespace {

// The context lupdate gives the texts in WizardFlow's members.
QString tr(const char *text)
{
    return QCoreApplication::translate("Orv::WizardFlow", text);
}

QString fieldKey(const Wizard::SelectedField &f)
{
    return f.TableName + QLatin1Char('.') + f.FieldName;
}

// Binary columns other than pictures (128) have nothing a report can show.
bool showable(int adoType)
{
    return adoType != 204 && adoType != 205;
}

// Group levels need values that compare: not GUIDs or binary data.
bool groupable(int adoType)
{
    return adoType != 72 && adoType != 128 && adoType != 204;
}

} // namespace

WizardFlow::WizardFlow(Ui *ui, SortMemory *sortMemory)
    : m_ui(ui)
    , m_model(ui)
    , m_sort(sortMemory ? sortMemory : &m_ownSortMemory)
{
    m_opener = [](Wizard::CDataSource &ds) { return ds.OpenDataSource(); };
}

void WizardFlow::showPage(int page)
{
    if (page >= 0 && page < PageCount)
        m_page = page;
}

bool WizardFlow::next()
{
    if (!nextEnabled() || !validate(m_page))
        return false;
    prepare(m_page + 1);
    showPage(m_page + 1);
    return true;
}

void WizardFlow::back()
{
    if (backEnabled())
        showPage(m_page - 1);
}

bool WizardFlow::finish()
{
    m_model.Title = title;
    summary = m_model.GetSummary();
    return m_model.CreateReportDesigner().ok();
}

bool WizardFlow::validate(int page)
{
    switch (page) {
    case 1: {
        const QString text = connectString.trimmed();
        if (text.isEmpty())
            return false;
        m_model.DataSource().ConnectionString = text;
        // The opener may put another data source in the model's place.
        if (!m_opener(m_model.DataSource()))
            return false;
        if (m_model.DataSource().tableDefs().Count() == 0) {
            if (m_ui)
                m_ui->messageBox(tr("数据库已打开，但其中没有可用于报表的表。"), tr("向导"),
                                 MessageButtons::Ok, MessageIcon::Exclamation);
            return false;
        }
        return true;
    }
    case 2:
        if (selFields.items.isEmpty())
            return false;
        if (m_model.SelectedTables().Count() >= 2 && m_relate)
            m_relate(m_model);
        return true;
    case 4:
        for (int i = 0; i < SortLevels; ++i) {
            if (sortCombos[size_t(i)].current < 1)
                continue;
            const auto field = m_model.SelectedFields().Item(sortCombos[size_t(i)].items.value(sortCombos[size_t(i)].current));
            if (field)
                std::ignore = m_model.SortFields().Add(field, sortAscending[size_t(i)] ? 0 : 1); // SortFields shows its own errors
        }
        return true;
    case 6:
        m_model.Style = qint16(style);
        return true;
    default:
        return true;
    }
}

void WizardFlow::prepare(int page)
{
    switch (page) {
    case 2:
        m_model.FillTablesCombo(tables, showSystem);
        refreshFields();
        break;
    case 3: {
        availableGroupFields.clear();
        QStringList all;
        for (const auto &f : m_model.SelectedFields()) {
            const QString key = fieldKey(*f);
            all << key;
            if (groupable(f->FieldType) && !m_model.GroupFields().Contains(key))
                availableGroupFields.items << key;
        }
        reportFields = all.join(QStringLiteral(", "));
        break;
    }
    case 4:
        sortAscending.fill(true);
        for (auto &combo : sortCombos) {
            combo.items = QStringList{tr("(None)")} + selFields.items;
            combo.current = 0;
        }
        applySortMemory();
        break;
    case 5:
        style = 0;
        break;
    case 6:
        title.clear();
        break;
    case 7:
        m_model.Title = title;
        summary = m_model.GetSummary();
        break;
    default:
        break;
    }
}

// ---- fields ----

QString WizardFlow::currentTable() const
{
    const QString entry = tables.items.value(tables.current);
    return entry.startsWith(QLatin1String("Table")) ? entry.mid(7) : QString();
}

void WizardFlow::refreshFields()
{
    fields.clear();
    if (tables.current >= 0)
        m_model.RefreshFieldsList(tables.items.value(tables.current), fields);
    if (!fields.items.isEmpty())
        fields.current = 0;
}

void WizardFlow::setShowSystem(bool show)
{
    showSystem = show;
    m_model.FillTablesCombo(tables, showSystem);
    refreshFields();
}

void WizardFlow::chooseTable(int index)
{
    if (index < 0 || index >= tables.items.size())
        return;
    tables.current = index;
    refreshFields();
}

bool WizardFlow::addField(const QString &table, const QString &field, QStringList *skipped)
{
    const auto def = m_model.DataSource().tableDefs().Item(table);
    const auto info = def ? def->Fields.Item(field) : nullptr;
    if (info && !showable(info->TypeOfField)) {
        skipped->append(table + QLatin1Char('.') + field);
        return false;
    }
    const QString key = table + QLatin1Char('.') + field;
    if (selFields.items.contains(key, Qt::CaseInsensitive))
        return false;
    const Status status = m_model.AddSelectedField(field, table, Wizard::SourceTable);
    if (!status.ok()) {
        if (m_ui)
            m_ui->showError(status, tr("错误: AddSelectedField"));
        return false;
    }
    selFields.items << key;
    return true;
}

void WizardFlow::moveFields(int button)
{
    QStringList skipped;
    switch (button) {
    case 0:
    case 1: {
        const QString table = currentTable();
        if (table.isEmpty())
            return;
        if (button == 0) {
            if (fields.current < 0 || fields.current >= fields.items.size())
                return;
            addField(table, fields.items[fields.current], &skipped);
        } else {
            for (const QString &field : QStringList(fields.items))
                addField(table, field, &skipped);
        }
        refreshFields();
        break;
    }
    case 2: {
        if (selFields.current < 0 || selFields.current >= selFields.items.size())
            return;
        std::ignore = m_model.SelectedFields().Remove(selFields.items[selFields.current]); // an item of the list
        relistSelected();
        refreshFields();
        selFields.current = selFields.items.isEmpty() ? -1 : 0;
        break;
    }
    case 3:
        while (m_model.SelectedFields().Count() > 0)
            std::ignore = m_model.SelectedFields().Remove(1); // in range: the loop checks the count
        selFields.clear();
        refreshFields();
        break;
    default:
        break;
    }
    if (!skipped.isEmpty() && m_ui)
        m_ui->messageBox(tr("以下字段存放的是报表无法显示的二进制数据，已被略去:\n%1")
                             .arg(skipped.join(QLatin1Char('\n'))),
                         tr("向导"), MessageButtons::Ok, MessageIcon::Information);
}

void WizardFlow::relistSelected()
{
    selFields.items.clear();
    for (const auto &f : m_model.SelectedFields())
        selFields.items << fieldKey(*f);
    selFields.current = -1;
}

// ---- group levels ----

void WizardFlow::addGroupLevel()
{
    const int at = availableGroupFields.current;
    if (at < 0 || at >= availableGroupFields.items.size() || usedSlots >= GroupSlots)
        return;
    const QString key = availableGroupFields.items[at];
    const auto field = m_model.SelectedFields().Item(key);
    if (!field)
        return;
    const Status status = m_model.GroupFields().Add(field, 0);
    if (!status.ok()) {
        if (m_ui)
            m_ui->showError(status, tr("错误: GroupFields.Add"));
        return;
    }
    int slot = 0;
    while (slot < GroupSlots && slots[size_t(slot)].visible)
        ++slot;
    slots[size_t(slot)] = {key, true};
    availableGroupFields.items.removeAt(at);
    availableGroupFields.current = availableGroupFields.items.isEmpty() ? -1 : qMin(at, int(availableGroupFields.items.size()) - 1);
    ++usedSlots;
    selectSlot(slot);
}

void WizardFlow::removeGroupLevel()
{
    if (selectedSlot < 0 || selectedSlot >= usedSlots)
        return;
    const QString key = slots[size_t(selectedSlot)].caption;
    availableGroupFields.items << key;
    std::ignore = m_model.GroupFields().Remove(key); // a level in use
    for (int i = selectedSlot; i + 1 < usedSlots; ++i)
        slots[size_t(i)].caption = slots[size_t(i + 1)].caption;
    --usedSlots;
    slots[size_t(usedSlots)] = {};
    selectedSlot = usedSlots > 0 ? qMin(selectedSlot, usedSlots - 1) : -1;
}

void WizardFlow::selectSlot(int slot)
{
    if (slot >= 0 && slot < usedSlots)
        selectedSlot = slot;
}

bool WizardFlow::canMoveSlotUp() const
{
    return selectedSlot > 0;
}

bool WizardFlow::canMoveSlotDown() const
{
    return selectedSlot >= 0 && selectedSlot + 1 < usedSlots;
}

void WizardFlow::moveSlot(bool up)
{
    if (up ? !canMoveSlotUp() : !canMoveSlotDown())
        return;
    const int other = selectedSlot + (up ? -1 : 1);
    std::swap(slots[size_t(selectedSlot)].caption, slots[size_t(other)].caption);
    selectedSlot = other;
}

// ---- sort levels ----

void WizardFlow::applySortMemory()
{
    for (int i = 0; i < SortLevels; ++i) {
        auto &combo = sortCombos[size_t(i)];
        const SortMemory::Level &level = m_sort->levels[size_t(i)];
        int position = level.position;
        // The list may have changed since: the remembered field wins.
        if (position >= combo.items.size() || combo.items.value(position) != level.text)
            position = level.position > 0 ? int(combo.items.indexOf(level.text)) : 0;
        combo.current = qMax(0, position);
        sortAscending[size_t(i)] = level.ascending;
        sortEnabled[size_t(i)] = i == 0 || sortCombos[size_t(i - 1)].current >= 1;
    }
}

void WizardFlow::chooseSort(int level, int position)
{
    if (level < 0 || level >= SortLevels)
        return;
    auto &levels = m_sort->levels;
    const auto &combo = sortCombos[size_t(level)];
    if (position >= 1 && position < combo.items.size()) {
        levels[size_t(level)] = {combo.items[position], position, sortAscending[size_t(level)]};
    } else {
        for (int i = level; i + 1 < SortLevels; ++i)
            levels[size_t(i)] = levels[size_t(i + 1)];
        levels[SortLevels - 1] = {};
    }
    applySortMemory();
}

void WizardFlow::setSortAscending(int level, bool ascending)
{
    if (level < 0 || level >= SortLevels)
        return;
    sortAscending[size_t(level)] = ascending;
    m_sort->levels[size_t(level)].ascending = ascending;
}

void WizardFlow::titleEdited(const QString &text)
{
    title = text;
    m_model.Title = text;
}

// ---- frmGroupOptions ----

GroupOptionsModel::GroupOptionsModel(Wizard::Report &model)
    : m_model(model)
{
    for (const auto &g : m_model.GroupFields()) {
        Level level;
        level.caption = fieldKey(*g->ReportField);
        level.entries = Wizard::groupIntervals(g->ReportField->FieldType);
        level.current = level.entries.isEmpty() ? -1 : 0;
        level.enabled = !level.entries.isEmpty();
        levels.push_back(level);
    }
}

void GroupOptionsModel::apply()
{
    if (cancelled)
        return;
    int i = 0;
    for (const auto &g : m_model.GroupFields()) {
        if (size_t(i) < levels.size())
            g->GroupOption = qint16(levels[size_t(i)].entries.isEmpty() ? -1 : levels[size_t(i)].current);
        ++i;
    }
}

// ---- frmRelateTables ----

RelateTablesModel::RelateTablesModel(Wizard::Report &model, Ui *ui)
    : m_model(model)
    , m_ui(ui)
{
    for (const auto &f : m_model.SelectedFields()) {
        const QString text = QLatin1Char('[') + f->TableName + QStringLiteral("].[") + f->FieldName + QLatin1Char(']');
        pkFields << text;
        fkFields << text;
    }
    m_model.FillSelectedRelations();
    relist();
}

void RelateTablesModel::relist()
{
    relations.clear();
    for (const auto &r : m_model.SelectedRelations())
        relations << r->RelationshipName;
}

bool RelateTablesModel::add(const QString &pk, const QString &fk)
{
    if (pk.isEmpty() || fk.isEmpty())
        return false;
    const QString text = pk + QStringLiteral(" = ") + fk;
    if (m_model.SelectedRelations().Contains(text)) {
        if (m_ui)
            m_ui->messageBox(QCoreApplication::translate("Orv::RelateTablesModel", "此关联已在列表中。"),
                             QCoreApplication::translate("Orv::RelateTablesModel", "表关系"), MessageButtons::Ok,
                             MessageIcon::Information);
        return false;
    }
    const Status status = m_model.AddRelationText(text);
    if (!status.ok()) {
        if (m_ui)
            m_ui->showError(status, QCoreApplication::translate("Orv::RelateTablesModel", "表关系"));
        return false;
    }
    relist();
    return true;
}

void RelateTablesModel::remove(int index)
{
    if (index < 0 || index >= m_model.SelectedRelations().Count())
        return;
    std::ignore = m_model.SelectedRelations().Remove(index + 1); // checked above
    relist();
}

} // namespace Orv
