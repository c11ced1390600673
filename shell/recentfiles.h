#pragma once

#include <QList>
#include <QString>

#include <array>

namespace Orv {

class SettingsStore;

struct RecentFile
{
    QString path;
    QString date; // the day it was last saved, in the locale's short date format
};

// The five most recently saved layouts, most recent first. An empty path
// ends the list.
class RecentFiles
{
public:
    static constexpr int Size = 5;

    // Puts path at the front: a path already listed moves there (exact,
    // case-sensitive match), a new one pushes the oldest out.
    void add(const QString &path, const QString &date);
    const RecentFile &at(int index) const { return m_entries[size_t(index)]; }
    // The entries before the first empty path.
    QList<RecentFile> list() const;

    // MRU1..MRU5 and MRU1DATE..MRU5DATE; missing values read as empty.
    void load(const SettingsStore &store);
    // Writes all ten values, the empty ones too.
    void save(SettingsStore &store) const;

    // Today in the locale's short date format, as add() is given it.
    static QString today();

private:
    std::array<RecentFile, Size> m_entries;
};

} // namespace Orv
