#include "shell/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <limits>

namespace Orv {

namespace {

const QString Group = QStringLiteral("2/Tesserane Reports Sample");

QString configDir(const char *variable, QStandardPaths::StandardLocation location)
{
    const QString overridden = qEnvironmentVariable(variable);
    if (!overridden.isEmpty())
        return overridden;
    if (location == QStandardPaths::GenericConfigLocation)
        return QStandardPaths::writableLocation(location);
    return QStringLiteral("/etc/xdg");
}

} // namespace

QString SettingsStore::userIniPath()
{
    return QDir(configDir(ConfigDirVariable, QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Orv/OrvReport.ini"));
}

QString SettingsStore::systemIniPath()
{
    return QDir(configDir(SystemConfigDirVariable, QStandardPaths::ConfigLocation)).filePath(QStringLiteral("Orv/OrvReport.ini"));
}

SettingsStore::SettingsStore()
    : SettingsStore(userIniPath())
{
}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    // The store exists from the first start on, even before a value is written.
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    if (!QFileInfo::exists(iniPath)) {
        QFile file(iniPath);
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
    m_settings->beginGroup(Group);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

QString SettingsStore::problem() const
{
    const QString path = m_settings->fileName();
    if (QFileInfo::exists(path) && !QFileInfo(path).isReadable())
        return QCoreApplication::translate("Orv::SettingsStore", "无法读取设置文件 %1，使用默认设置。").arg(path);
    if (m_settings->status() == QSettings::FormatError)
        return QCoreApplication::translate("Orv::SettingsStore", "设置文件 %1 已损坏，使用默认设置，该文件保持原样。").arg(path);
    if (m_settings->status() == QSettings::AccessError)
        return QCoreApplication::translate("Orv::SettingsStore", "无法写入设置文件 %1。").arg(path);
    return QString();
}

int SettingsStore::readNumber(const QString &name, int defaultValue) const
{
    const QVariant v = m_settings->value(name);
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return defaultValue;
    return int(n);
}

QString SettingsStore::readText(const QString &name, const QString &defaultValue) const
{
    const QVariant v = m_settings->value(name);
    if (!v.isValid())
        return defaultValue;
    QString text = v.toString();
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text.left(TextBufferSize);
}

int SettingsStore::writeNumber(const QString &name, int value)
{
    m_settings->setValue(name, QString::number(value));
    return flush();
}

int SettingsStore::writeText(const QString &name, const QString &value)
{
    m_settings->setValue(name, value);
    return flush();
}

int SettingsStore::flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError ? 0 : int(m_settings->status());
}

QString SettingsStore::systemValue(const QString &group, const QString &name)
{
    const QString path = systemIniPath();
    if (!QFileInfo::exists(path))
        return QString();
    QSettings system(path, QSettings::IniFormat);
    system.beginGroup(group);
    return system.value(name).toString();
}

bool SettingsStore::systemKeyExists(const QString &group)
{
    const QString path = systemIniPath();
    if (!QFileInfo::exists(path))
        return false;
    QSettings system(path, QSettings::IniFormat);
    system.beginGroup(group);
    if (!system.childKeys().isEmpty() || !system.childGroups().isEmpty())
        return true;
    // A key with no values is a section header alone, which QSettings drops.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            QString name = line.mid(1, line.size() - 2);
            name.replace(QLatin1String("%20"), QLatin1String(" ")).replace(QLatin1Char('\\'), QLatin1Char('/'));
            if (name.compare(group, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

QString SettingsStore::installDir()
{
    return systemValue(QStringLiteral("SOFTWARE/Microsoft/Visual Basic/5.0"), QStringLiteral("InstallDir"));
}

QString SettingsStore::productDir()
{
    return systemValue(QStringLiteral("Software/Microsoft/VisualStudio/6.0/Setup/Microsoft Visual Basic"),
                       QStringLiteral("ProductDir"));
}

} // namespace Orv

namespace Orv {

Script::InstallKeys SettingsStore::installKeys()
{
    Script::InstallKeys keys;
    keys.installDir = installDir();
    // The product key may exist without its value: VBPath then asks.
    keys.productKeyExists = systemKeyExists(QStringLiteral("Software/Microsoft/VisualStudio/6.0/Setup/Microsoft Visual Basic"));
    const QString product = productDir();
    if (!product.isEmpty())
        keys.productDir = product;
    return keys;
}

} // namespace Orv
