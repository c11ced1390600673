#include "engine/data/recordset.h"

namespace Orv::Data {

Field::Field(Recordset *recordset, int index)
    : QObject(recordset)
    , m_recordset(recordset)
    , m_index(index)
{
}

QString Field::name() const { return m_recordset->column(m_index).name; }
QVariant Field::value() const { return m_recordset->value(m_index); }
int Field::type() const { return m_recordset->column(m_index).type; }
int Field::definedSize() const { return m_recordset->column(m_index).size; }

Fields::Fields(Recordset *recordset)
    : QObject(recordset)
{
}

int Fields::indexOf(const QString &name) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->name().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

Field *Fields::Item(const QVariant &index) const
{
    int i = -1;
    if (index.metaType().id() == QMetaType::QString)
        i = indexOf(index.toString());
    else if (index.canConvert<int>())
        i = index.toInt();
    return i >= 0 && i < count() ? m_items[size_t(i)] : nullptr;
}

Recordset::Recordset(std::unique_ptr<Cursor> cursor, Reopen reopen, QObject *parent)
    : QObject(parent)
    , m_cursor(std::move(cursor))
    , m_reopen(std::move(reopen))
    , m_fields(new Fields(this))
{
    if (m_cursor) {
        for (int i = 0; i < m_cursor->fieldCount(); ++i)
            m_columns.push_back(m_cursor->field(i));
    }
    for (int i = 0; i < int(m_columns.size()); ++i)
        m_fields->m_items.push_back(new Field(this, i));
    fetch();
    // Types of untyped columns settle with the first row.
    if (m_cursor && !m_eof) {
        for (int i = 0; i < int(m_columns.size()); ++i)
            m_columns[size_t(i)] = m_cursor->field(i);
    }
}

Recordset::~Recordset() = default;

void Recordset::fetch()
{
    if (!m_cursor) {
        m_eof = true;
        return;
    }
    m_error = Status();
    m_eof = !m_cursor->next(&m_error);
}

QVariant Recordset::value(int index) const
{
    if (m_eof || !m_cursor || index < 0 || index >= int(m_columns.size()))
        return QVariant();
    return m_cursor->value(index);
}

void Recordset::MoveNext()
{
    if (m_eof) {
        m_error = Status::failure(ErrNoCurrentRecord, errorDescription(ErrNoCurrentRecord));
        return;
    }
    ++m_position;
    fetch();
}

void Recordset::MoveFirst()
{
    if (m_position == 0 && m_cursor)
        return; // still on the first row
    if (!m_reopen) {
        m_error = Status::failure(ErrNotAllowedInContext, errorDescription(ErrNotAllowedInContext));
        return;
    }
    Status status;
    m_cursor = m_reopen(&status);
    if (!m_cursor) {
        m_error = status;
        m_eof = true;
        return;
    }
    m_position = 0;
    fetch();
}

void Recordset::Close()
{
    m_cursor.reset();
    m_eof = true;
}

std::vector<QVariantList> Recordset::getRows(int rows)
{
    std::vector<QVariantList> out;
    const int n = int(m_columns.size());
    while (!m_eof && (rows < 0 || int(out.size()) < rows)) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row.append(m_cursor->value(i));
        out.push_back(std::move(row));
        ++m_position;
        fetch();
    }
    return out;
}

QVariantList Recordset::GetRows(int rows)
{
    QVariantList out;
    for (QVariantList &row : getRows(rows))
        out.append(QVariant(std::move(row)));
    return out;
}

} // namespace Orv::Data
