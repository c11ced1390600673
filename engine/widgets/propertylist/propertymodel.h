#pragma once

#include "engine/core/status.h"
#include "engine/widgets/propertylist/propertyset.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

namespace Orv {

// The item model the property list's tree shows: two columns, the
// property's name and its value. Grouped, the top rows are the categories;
// sorted alphabetically, the properties themselves. Parts are rows with
// their properties below them.
class PropertyModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ValueColumn = 1 };
    enum Role {
        KindRole = Qt::UserRole + 1, // PropertyKind as int
        PathRole,                    // "Font.Size"; empty for a category
        MixedRole,                   // bool
        ValueRole,                   // the raw common value
        ChoicesRole,                 // Enumeration: QStringList of names
        ChoiceValuesRole,            // Enumeration: QVariantList of numbers
        OpenChoicesRole,             // Enumeration: other numbers allowed
        CategoryRole,                // bool: a category row
    };

    explicit PropertyModel(PropertySet *set, QObject *parent = nullptr);
    ~PropertyModel() override;

    PropertySet *propertySet() const { return m_set; }

    void setAlphabetic(bool alphabetic);
    bool alphabetic() const { return m_alphabetic; }
    void setUnit(LengthUnit unit);
    LengthUnit unit() const { return m_set->unit(); }

    // The row of a property by path, column 0 (invalid when not shown).
    QModelIndex indexOf(const QString &path, int column = NameColumn) const;
    const PropertyNode *nodeAt(const QModelIndex &index) const;

    // The outcome of the last edit made through setData.
    Status lastStatus() const { return m_lastStatus; }

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // An edit was refused; the value stays as it was.
    void editFailed(const Orv::Status &status);

private:
    struct Row;
    void rebuildRows();
    void addRows(Row *parent, const std::vector<std::unique_ptr<PropertyNode>> &nodes);
    void valuesChanged();
    void announceValues(const QModelIndex &parent);
    Row *rowAt(const QModelIndex &index) const;
    QString displayText(const PropertyNode &node) const;

    PropertySet *m_set;
    std::unique_ptr<Row> m_root;
    bool m_alphabetic = false;
    Status m_lastStatus;
};

} // namespace Orv
