#pragma once
// The run's view of "the current row" for expressions and data fields:
// recordset columns, run parameters, field controls and page numbers,
// each reached through a slot.
#include "engine/run/runscripting.h"

#include <QHash>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <vector>

namespace Orv::RunInternal {

class RunRow : public RowAccess
{
public:
    enum Kind { Column = 0, Parameter = 1, Control = 2, Special = 3 };
    enum SpecialSlot { PageNumberSlot = 0, PageCountSlot = 1 };
    static constexpr int KindShift = 24;
    static constexpr int IndexMask = (1 << KindShift) - 1;

    static int makeSlot(Kind kind, int index) { return (int(kind) << KindShift) | index; }
    static Kind kindOf(int slot) { return Kind(slot >> KindShift); }
    static int indexOf(int slot) { return slot & IndexMask; }
    static int pageNumberSlot() { return makeSlot(Special, PageNumberSlot); }
    static int pageCountSlot() { return makeSlot(Special, PageCountSlot); }

    void setColumns(const QStringList &names);
    void setParameters(const QVariantMap &parameters);
    // Field controls reachable by name; their values come from controlValue.
    void setControlNames(const QStringList &names);
    std::function<QVariant(int)> controlValue;

    int slotOf(const QString &name) override;
    QVariant value(int slot) const override;

    // The current row's values, by column position.
    void setRow(const std::vector<QVariant> *row) { m_row = row; }
    const std::vector<QVariant> *row() const { return m_row; }
    int columnCount() const { return int(m_columns.size()); }
    const QStringList &columnNames() const { return m_columns; }

    int pageNumber = 0;
    int pageCount = 0;

    // Slots asked for between begin and end (what an expression reads).
    void beginRecording();
    std::vector<int> endRecording();

    // While set, the overlay's slots read from it (a band laid out earlier).
    void setOverlay(const std::vector<std::pair<int, QVariant>> *overlay) { m_overlay = overlay; }

private:
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    QStringList m_parameterNames;
    QVariantList m_parameterValues;
    QHash<QString, int> m_parameterIndex;
    QHash<QString, int> m_controlIndex;
    const std::vector<QVariant> *m_row = nullptr;
    const std::vector<std::pair<int, QVariant>> *m_overlay = nullptr;
    bool m_recording = false;
    std::vector<int> m_recorded;
};

} // namespace Orv::RunInternal
