#pragma once

#include "engine/core/status.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace Orv {

// What Add does with a key that is already in the collection.
enum class DuplicateKeys {
    Error,  // Add fails with error 457 and the collection is unchanged
    Ignore, // Add succeeds without adding anything
};

// A collection of shared records reached by 1-based position or by key, the
// way Visual Basic's Collection works: keys are optional, compared without
// regard to letter case, and each collection chooses its duplicate policy.
template<typename T>
class KeyedCollection
{
public:
    using Pointer = std::shared_ptr<T>;

private:
    struct Entry {
        QString key;
        Pointer item;
    };

public:

    explicit KeyedCollection(DuplicateKeys policy = DuplicateKeys::Error)
        : m_policy(policy)
    {
    }

    DuplicateKeys duplicatePolicy() const { return m_policy; }

    // Adds item under key; an empty key adds it without one.
    Status Add(Pointer item, const QString &key = QString())
    {
        if (!item)
            return Status::failure(ErrInvalidCall, errorDescription(ErrInvalidCall));
        if (!key.isEmpty()) {
            const QString folded = fold(key);
            if (m_index.contains(folded)) {
                if (m_policy == DuplicateKeys::Ignore)
                    return {};
                return Status::failure(ErrKeyExists,
                                       QStringLiteral("This key is already associated with an element of this collection"));
            }
            m_index.insert(folded, int(m_entries.size()));
        }
        m_entries.push_back({key, std::move(item)});
        return {};
    }

    int Count() const { return int(m_entries.size()); }

    // 1-based; null when the position is out of range.
    Pointer Item(int position) const
    {
        if (position < 1 || position > Count())
            return nullptr;
        return m_entries[size_t(position - 1)].item;
    }

    Pointer Item(const QString &key) const
    {
        const auto it = m_index.constFind(fold(key));
        return it == m_index.cend() ? nullptr : m_entries[size_t(*it)].item;
    }

    bool Contains(const QString &key) const { return m_index.contains(fold(key)); }

    // The key an entry was added with (empty when it has none).
    QString keyAt(int position) const
    {
        if (position < 1 || position > Count())
            return QString();
        return m_entries[size_t(position - 1)].key;
    }

    Status Remove(int position)
    {
        if (position < 1 || position > Count())
            return Status::failure(ErrSubscript, errorDescription(ErrSubscript));
        m_entries.erase(m_entries.begin() + (position - 1));
        reindex();
        return {};
    }

    Status Remove(const QString &key)
    {
        const auto it = m_index.constFind(fold(key));
        if (it == m_index.cend())
            return Status::failure(ErrInvalidCall, errorDescription(ErrInvalidCall));
        return Remove(*it + 1);
    }

    void Clear()
    {
        m_entries.clear();
        m_index.clear();
    }

    class const_iterator
    {
    public:
        using difference_type = std::ptrdiff_t;
        using value_type = Pointer;
        const_iterator() = default;
        explicit const_iterator(typename std::vector<Entry>::const_iterator it) : m_it(it) {}
        const Pointer &operator*() const { return m_it->item; }
        const_iterator &operator++() { ++m_it; return *this; }
        const_iterator operator++(int) { auto old = *this; ++m_it; return old; }
        bool operator==(const const_iterator &other) const { return m_it == other.m_it; }
    private:
        typename std::vector<Entry>::const_iterator m_it;
    };

    const_iterator begin() const { return const_iterator(m_entries.cbegin()); }
    const_iterator end() const { return const_iterator(m_entries.cend()); }

private:
    static QString fold(const QString &key) { return key.toCaseFolded(); }

    void reindex()
    {
        m_index.clear();
        for (int i = 0; i < Count(); ++i) {
            if (!m_entries[size_t(i)].key.isEmpty())
                m_index.insert(fold(m_entries[size_t(i)].key), i);
        }
    }

    DuplicateKeys m_policy;
    std::vector<Entry> m_entries;
    QHash<QString, int> m_index;
};

} // namespace Orv
