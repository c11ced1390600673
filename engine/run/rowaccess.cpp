#include "engine/run/rowaccess.h"

#include <algorithm>

namespace Orv::RunInternal {

namespace {

QString key(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

} // namespace

void RunRow::setColumns(const QStringList &names)
{
    m_columns = names;
    m_columnIndex.clear();
    // The first column of a name wins, as Fields("name") has it.
    for (int i = int(names.size()) - 1; i >= 0; --i)
        m_columnIndex.insert(key(names[i]), i);
}

void RunRow::setParameters(const QVariantMap &parameters)
{
    m_parameterNames.clear();
    m_parameterValues.clear();
    m_parameterIndex.clear();
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        m_parameterIndex.insert(key(it.key()), int(m_parameterNames.size()));
        m_parameterNames << it.key();
        m_parameterValues << it.value();
    }
}

void RunRow::setControlNames(const QStringList &names)
{
    m_controlIndex.clear();
    for (int i = int(names.size()) - 1; i >= 0; --i)
        m_controlIndex.insert(key(names[i]), i);
}

int RunRow::slotOf(const QString &name)
{
    const QString k = key(name);
    int slot = -1;
    if (auto it = m_columnIndex.constFind(k); it != m_columnIndex.cend())
        slot = makeSlot(Column, *it);
    else if (auto p = m_parameterIndex.constFind(k); p != m_parameterIndex.cend())
        slot = makeSlot(Parameter, *p);
    else if (auto c = m_controlIndex.constFind(k); c != m_controlIndex.cend())
        slot = makeSlot(Control, *c);
    else if (k == QLatin1String("pagenumber") || k == QLatin1String("rpt.pagenumber"))
        slot = pageNumberSlot();
    else if (k == QLatin1String("pagecount") || k == QLatin1String("rpt.pagecount"))
        slot = pageCountSlot();
    if (slot >= 0 && m_recording && std::find(m_recorded.begin(), m_recorded.end(), slot) == m_recorded.end())
        m_recorded.push_back(slot);
    return slot;
}

QVariant RunRow::value(int slot) const
{
    if (m_overlay) {
        for (const auto &[s, v] : *m_overlay) {
            if (s == slot)
                return v;
        }
    }
    const int index = indexOf(slot);
    switch (kindOf(slot)) {
    case Column:
        return m_row && index < int(m_row->size()) ? (*m_row)[size_t(index)] : QVariant();
    case Parameter:
        return m_parameterValues.value(index);
    case Control:
        return controlValue ? controlValue(index) : QVariant();
    case Special:
        return index == PageNumberSlot ? QVariant(pageNumber) : QVariant(pageCount);
    }
    return QVariant();
}

void RunRow::beginRecording()
{
    m_recording = true;
    m_recorded.clear();
}

std::vector<int> RunRow::endRecording()
{
    m_recording = false;
    return std::exchange(m_recorded, {});
}

} // namespace Orv::RunInternal
