#include "shell/recentfiles.h"

#include "shell/settingsstore.h"

#include <QDate>
#include <QLocale>

namespace Orv {

void RecentFiles::add(const QString &path, const QString &date)
{
    int index = Size - 1;
    for (int i = 0; i < Size; ++i) {
        if (m_entries[size_t(i)].path == path) {
            index = i;
            break;
        }
    }
    for (int i = index; i >= 1; --i)
        m_entries[size_t(i)] = m_entries[size_t(i - 1)];
    m_entries[0] = {path, date};
}

QList<RecentFile> RecentFiles::list() const
{
    QList<RecentFile> out;
    for (const RecentFile &entry : m_entries) {
        if (entry.path.isEmpty())
            break;
        out.append(entry);
    }
    return out;
}

void RecentFiles::load(const SettingsStore &store)
{
    for (int i = 1; i <= Size; ++i) {
        m_entries[size_t(i - 1)].path = store.readText(SettingsStore::recentPath(i), QString());
        m_entries[size_t(i - 1)].date = store.readText(SettingsStore::recentDate(i), QString());
    }
}

void RecentFiles::save(SettingsStore &store) const
{
    for (int i = 1; i <= Size; ++i) {
        store.writeText(SettingsStore::recentPath(i), m_entries[size_t(i - 1)].path);
        store.writeText(SettingsStore::recentDate(i), m_entries[size_t(i - 1)].date);
    }
}

QString RecentFiles::today()
{
    return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace Orv
