#pragma once
// Export filters: each writes a page collection to one file (or a folder)
// in its format, configured by a map of setting names to values. Filters
// write atomically: the output appears complete or not at all. Errors come
// back as a Status, never as exceptions.
#include "engine/core/status.h"
#include "engine/export/exportsettings.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <atomic>
#include <functional>
#include <memory>

namespace Orv {

class PageCollection;

// Progress reports and cancellation of one export.
struct ExportProgress
{
    std::function<void(int done, int total)> onProgress; // pages done of total
    const std::atomic_bool *cancel = nullptr;            // set to stop the export

    void report(int done, int total) const
    {
        if (onProgress)
            onProgress(done, total);
    }
    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

// A cancelled export returns Visual Basic's "User interrupt occurred".
constexpr ErrorNumber ErrExportCancelled = ErrInterrupted;

class Exporter
{
public:
    virtual ~Exporter() = default;

    virtual QString format() const = 0;          // e.g. "PDF"
    virtual QStringList extensions() const = 0;  // lower case, without dot
    virtual bool writesFolder() const { return false; }
    // The settings the filter accepts, described; names compare without
    // regard to case.
    virtual QList<ExportSetting> settings() const = 0;
    QStringList settingNames() const;

    // Writes pages to path. Unknown setting names are refused (438), values
    // of the wrong type or out of range too (13, 380); nothing is written then.
    virtual Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                         const ExportProgress &progress = {}) = 0;

protected:
    // Checks names and values against settings(): the first problem fails.
    Status checkSettingNames(const QVariantMap &settings) const;
    // The value of a setting by case-insensitive name, or fallback.
    static QVariant setting(const QVariantMap &settings, const QString &name, const QVariant &fallback = {});
    Status failure(int number, const QString &description) const;
    // The common start of write(): the outcome of reading the settings, then
    // an empty collection is refused. Nothing has been written when it fails.
    Status checkStart(const Status &settingsStatus, const PageCollection &pages) const;
};

// Filters by format name and file extension.
class ExporterRegistry
{
public:
    using Factory = std::function<std::unique_ptr<Exporter>()>;

    // The registry with the built-in filters.
    static ExporterRegistry &instance();

    // Adds or replaces a filter; extensions without dot.
    void add(const QString &format, const QStringList &extensions, Factory factory);
    // A new filter by format name or extension ("PDF", "pdf", ".pdf"), or null.
    std::unique_ptr<Exporter> create(const QString &formatOrExtension) const;
    // A new filter for the path's extension, or null.
    std::unique_ptr<Exporter> createForPath(const QString &path) const;
    QStringList formats() const;

private:
    struct Entry
    {
        QString format;
        QStringList extensions;
        Factory factory;
    };
    std::vector<Entry> m_entries;
};

// Exports with the filter the path's extension names.
Status exportPages(const PageCollection &pages, const QString &path, const QVariantMap &settings = {},
                   const ExportProgress &progress = {});

// A folder written under a temporary name beside its target and renamed
// into place by commit; removed again when not committed.
class AtomicFolder
{
public:
    explicit AtomicFolder(const QString &target);
    ~AtomicFolder();
    AtomicFolder(const AtomicFolder &) = delete;
    AtomicFolder &operator=(const AtomicFolder &) = delete;

    Status open();                     // creates the temporary folder
    QString path() const { return m_temp; } // write the files here
    Status commit();                   // replaces the target with it

private:
    QString m_target;
    QString m_temp;
    bool m_committed = false;
};

} // namespace Orv
