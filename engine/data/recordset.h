#pragma once

#include "engine/core/status.h"
#include "engine/data/driver.h"

#include <QObject>
#include <QVariant>

#include <memory>
#include <vector>

namespace Orv::Data {

class Recordset;

// One column of a recordset; Value is the current row's.
class Field : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name)
    Q_PROPERTY(QVariant Value READ value)
    Q_PROPERTY(int Type READ type)
    Q_PROPERTY(int DefinedSize READ definedSize)
    Q_CLASSINFO("DefaultMember", "Value")

public:
    Field(Recordset *recordset, int index);
    QString name() const;
    QVariant value() const;
    int type() const;
    int definedSize() const;
    int index() const { return m_index; }

private:
    Recordset *m_recordset;
    int m_index;
};

class Fields : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Count READ count)
    Q_CLASSINFO("DefaultMember", "Item")

public:
    explicit Fields(Recordset *recordset);
    int count() const { return int(m_items.size()); }
    // By 0-based position or by name (without regard to case); null when
    // there is no such field.
    Q_INVOKABLE Orv::Data::Field *Item(const QVariant &index) const;
    Field *at(int index) const { return m_items.at(size_t(index)); }
    int indexOf(const QString &name) const;

private:
    friend class Recordset;
    std::vector<Field *> m_items;
};

// A forward-only recordset over a cursor: rows are read front to back and
// only the current one is held. EOF is true before the first MoveNext when
// there are no rows, and after the last row.
class Recordset : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Eof READ atEnd) // EOF to scripts, which ignore case; EOF itself is a C macro
    Q_PROPERTY(bool Bof READ atStart)
    Q_PROPERTY(int State READ state)
    Q_PROPERTY(Orv::Data::Fields *Fields READ fields)
    Q_PROPERTY(int RecordCount READ recordCount)

public:
    // Re-runs the statement (for MoveFirst); null for fixed rows.
    using Reopen = std::function<std::unique_ptr<Cursor>(Status *)>;

    Recordset(std::unique_ptr<Cursor> cursor, Reopen reopen = {}, QObject *parent = nullptr);
    ~Recordset() override;

    bool atEnd() const { return m_eof; }
    bool atStart() const { return m_position == 0; }
    int state() const { return m_cursor ? 1 : 0; }
    Orv::Data::Fields *fields() const { return m_fields; }
    // -1: a forward-only recordset does not know its count.
    int recordCount() const { return -1; }

    const Column &column(int index) const { return m_columns.at(size_t(index)); }
    QVariant value(int index) const;

    Q_INVOKABLE void MoveNext();
    // Back to the first row: runs the statement again.
    Q_INVOKABLE void MoveFirst();
    Q_INVOKABLE void Close();
    // Up to rows records from the current one (-1: all that remain), each
    // as a list of its field values; the recordset ends after them.
    std::vector<QVariantList> getRows(int rows = -1);
    Q_INVOKABLE QVariantList GetRows(int rows = -1);

    // The last error of a move; cleared by the next good move.
    const Status &lastError() const { return m_error; }

private:
    void fetch();

    std::unique_ptr<Cursor> m_cursor;
    Reopen m_reopen;
    std::vector<Column> m_columns;
    Fields *m_fields;
    Status m_error;
    bool m_eof = true;
    qint64 m_position = 0;
};

// A cursor over rows held in memory (schema rowsets, small results).
class MemoryCursor : public Cursor
{
public:
    MemoryCursor(std::vector<Column> columns, std::vector<QVariantList> rows)
        : m_columns(std::move(columns))
        , m_rows(std::move(rows))
    {
    }
    int fieldCount() const override { return int(m_columns.size()); }
    Column field(int index) const override { return m_columns.at(size_t(index)); }
    bool next(Status *) override { return ++m_row < qsizetype(m_rows.size()); }
    QVariant value(int index) const override { return m_rows[size_t(m_row)].value(index); }

private:
    std::vector<Column> m_columns;
    std::vector<QVariantList> m_rows;
    qsizetype m_row = -1;
};

} // namespace Orv::Data
