#pragma once

#include "engine/script/scriptsupport.h"

#include <QString>

#include <memory>

class QSettings;

namespace Orv {

// The program's per-user settings: a QSettings INI file, organisation
// "Orv", application "OrvReport", every value under the group
// "2/Tesserane Reports Sample". ORVREPORT_CONFIG_DIR, when set, replaces
// the user's configuration folder (tests point it at a temporary folder).
//
// Read-only install paths come from the system INI file (the same names
// under the system configuration folder, or ORVREPORT_SYSTEM_CONFIG_DIR).
class SettingsStore
{
public:
    static constexpr const char *ConfigDirVariable = "ORVREPORT_CONFIG_DIR";
    static constexpr const char *SystemConfigDirVariable = "ORVREPORT_SYSTEM_CONFIG_DIR";
    static constexpr int TextBufferSize = 255;

    // Value names the program uses.
    static QString showFileDialogOnStartup() { return QStringLiteral("ShowFileDialogOnStartup"); }
    static QString recentPath(int i) { return QStringLiteral("MRU") + QString::number(i); }
    static QString recentDate(int i) { return QStringLiteral("MRU") + QString::number(i) + QStringLiteral("DATE"); }

    // Binds to the user's store and creates it when missing.
    SettingsStore();
    // Binds to the INI file at path (tests, portable installs).
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();

    QString fileName() const;
    // What is wrong with the file, or empty: it cannot be read, or it is
    // damaged. Its values then read as their defaults and writes leave the
    // file as it is.
    QString problem() const;

    // A 32-bit number; the default when the value is missing or is not a
    // number that fits.
    int readNumber(const QString &name, int defaultValue) const;
    // Texts are read as into a 255-character buffer: at most 255
    // characters, and only those before an embedded NUL.
    QString readText(const QString &name, const QString &defaultValue) const;

    // Writes return 0, or an error code when the store cannot be written
    // (the old values then stay).
    int writeNumber(const QString &name, int value);
    int writeText(const QString &name, const QString &value);

    // The two read-only install paths: the Visual Basic install folder,
    // then the Visual Studio product folder. Usually empty.
    static QString installDir();
    static QString productDir();
    // Both, as a report script's vbo.VBPath asks for them.
    static Script::InstallKeys installKeys();

private:
    static QString userIniPath();
    static QString systemIniPath();
    static QString systemValue(const QString &group, const QString &name);
    static bool systemKeyExists(const QString &group);
    int flush();

    std::unique_ptr<QSettings> m_settings;
};

} // namespace Orv
