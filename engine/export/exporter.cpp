#include "engine/export/exporter.h"

#include "engine/export/excelexporter.h"
#include "engine/export/htmlexporter.h"
#include "engine/export/pdfexporter.h"
#include "engine/export/rtfexporter.h"
#include "engine/export/textexporter.h"
#include "engine/export/tiffexporter.h"
#include "engine/pages/pagecollection.h"

#include <QFileInfo>
#include <QUuid>

namespace Orv {

QStringList Exporter::settingNames() const
{
    QStringList names;
    for (const ExportSetting &s : settings())
        names << s.name;
    return names;
}

Status Exporter::checkSettingNames(const QVariantMap &settings) const
{
    return checkSettings(format(), this->settings(), settings);
}

QVariant Exporter::setting(const QVariantMap &settings, const QString &name, const QVariant &fallback)
{
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return fallback;
}

Status Exporter::failure(int number, const QString &description) const
{
    return Status::failure(number, description, format() + QStringLiteral(" export"));
}

Status Exporter::checkStart(const Status &settingsStatus, const PageCollection &pages) const
{
    if (!settingsStatus.ok())
        return settingsStatus;
    if (pages.Count() == 0)
        return failure(ErrInvalidCall, QStringLiteral("There are no pages to export"));
    return {};
}

ExporterRegistry &ExporterRegistry::instance()
{
    static ExporterRegistry registry = [] {
        ExporterRegistry r;
        r.add(QStringLiteral("RTF"), {QStringLiteral("rtf")}, [] { return std::make_unique<RtfExporter>(); });
        r.add(QStringLiteral("PDF"), {QStringLiteral("pdf")}, [] { return std::make_unique<PdfExporter>(); });
        r.add(QStringLiteral("Excel"), {QStringLiteral("xlsx"), QStringLiteral("xls")},
              [] { return std::make_unique<ExcelExporter>(); });
        r.add(QStringLiteral("HTML"), {QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("mht")},
              [] { return std::make_unique<HtmlExporter>(); });
        r.add(QStringLiteral("TIFF"), {QStringLiteral("tif"), QStringLiteral("tiff")},
              [] { return std::make_unique<TiffExporter>(); });
        r.add(QStringLiteral("Text"), {QStringLiteral("txt")}, [] { return std::make_unique<TextExporter>(); });
        return r;
    }();
    return registry;
}

void ExporterRegistry::add(const QString &format, const QStringList &extensions, Factory factory)
{
    QStringList lower;
    for (const QString &e : extensions)
        lower << e.toLower();
    for (Entry &entry : m_entries) {
        if (entry.format.compare(format, Qt::CaseInsensitive) == 0) {
            entry = Entry{format, lower, std::move(factory)};
            return;
        }
    }
    m_entries.push_back(Entry{format, lower, std::move(factory)});
}

std::unique_ptr<Exporter> ExporterRegistry::create(const QString &formatOrExtension) const
{
    QString key = formatOrExtension.trimmed();
    if (key.startsWith(QLatin1Char('.')))
        key.remove(0, 1);
    for (const Entry &entry : m_entries) {
        if (entry.format.compare(key, Qt::CaseInsensitive) == 0 || entry.extensions.contains(key.toLower()))
            return entry.factory();
    }
    return nullptr;
}

std::unique_ptr<Exporter> ExporterRegistry::createForPath(const QString &path) const
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? nullptr : create(suffix);
}

QStringList ExporterRegistry::formats() const
{
    QStringList names;
    for (const Entry &entry : m_entries)
        names << entry.format;
    return names;
}

Status exportPages(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                   const ExportProgress &progress)
{
    std::unique_ptr<Exporter> exporter = ExporterRegistry::instance().createForPath(path);
    if (!exporter)
        return Status::failure(ErrInvalidCall, QStringLiteral("No export format for the file name %1").arg(path),
                               QStringLiteral("Export"));
    return exporter->write(pages, path, settings, progress);
}

AtomicFolder::AtomicFolder(const QString &target) : m_target(QDir::cleanPath(target)) {}

AtomicFolder::~AtomicFolder()
{
    if (!m_committed && !m_temp.isEmpty())
        QDir(m_temp).removeRecursively();
}

Status AtomicFolder::open()
{
    const QFileInfo info(m_target);
    m_temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".")
             + QUuid::createUuid().toString(QUuid::Id128).left(12) + QStringLiteral(".tmp");
    if (!QDir().mkpath(m_temp)) {
        m_temp.clear();
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot create a folder beside %1").arg(m_target),
                               QStringLiteral("Export"));
    }
    return {};
}

Status AtomicFolder::commit()
{
    const auto fail = [this] {
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot replace the folder %1").arg(m_target),
                               QStringLiteral("Export"));
    };
    if (m_temp.isEmpty())
        return fail();
    // The old folder moves aside first, so a failure leaves it in place.
    const QString old = m_temp + QStringLiteral(".old");
    const bool hadTarget = QFileInfo::exists(m_target);
    if (hadTarget && !QDir().rename(m_target, old))
        return fail();
    if (!QDir().rename(m_temp, m_target)) {
        if (hadTarget)
            QDir().rename(old, m_target);
        return fail();
    }
    m_committed = true;
    if (hadTarget)
        QDir(old).removeRecursively();
    return {};
}

} // namespace Orv
