#pragma once
// What each export filter's settings are: name, type, range or choices and
// default, in one list per format. The filters read their settings through
// it, the export dialog takes its defaults from it, orvreport-cli checks
// --option against it and prints it, and docs/export.md shows it.
#include "engine/core/status.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <initializer_list>

namespace Orv {

enum class SettingType { Text, Boolean, Integer, Choice };

struct ExportSetting
{
    QString name;
    SettingType type = SettingType::Text;
    int minimum = 0;     // Integer: the range
    int maximum = 0;
    QList<int> allowed;  // Integer: only these values, when given
    QStringList choices; // Choice: the names, stored as their index
    QVariant defaultValue; // used when the setting is not given; invalid: see defaultNote
    QString defaultNote;   // what leaving it out means when no value stands for that
    QString summary;       // one line for lists

    // "text", "boolean", "72-9600", "2, 3, 4, 5, 7, 8", "None, LZW... or 0-4".
    QString typeText() const;
    QString valuesText() const;
    QString defaultText() const;
};

// Reads typed settings by case-insensitive name, checking each against its
// description; the first bad value sets an error (13 for the wrong type,
// 380 for a value out of range) and later reads are skipped. A setting not
// given takes the description's default, or leaves the target as it is
// when it has none.
class SettingReader
{
public:
    SettingReader(const QString &format, const QList<ExportSetting> &list, const QVariantMap &settings);

    void text(const QString &name, QString *out);
    void boolean(const QString &name, bool *out);
    void integer(const QString &name, int *out);
    void choice(const QString &name, int *out);
    bool has(const QString &name) const { return value(name).isValid(); }

    const Status &status() const { return m_status; }
    bool ok() const { return m_status.ok(); }

private:
    QVariant value(const QString &name) const;
    const ExportSetting &describe(const QString &name) const;
    void fail(int number, const QString &description);

    QString m_format;
    QList<ExportSetting> m_list; // a copy: filters pass the list they make
    const QVariantMap &m_settings;
    Status m_status;
};

// The setting of that name (case-insensitive), or null.
const ExportSetting *findSetting(const QList<ExportSetting> &list, const QString &name);

// Checks names and values of settings against list without writing
// anything: the first unknown name fails with 438, a bad value with 13 or 380.
Status checkSettings(const QString &format, const QList<ExportSetting> &list, const QVariantMap &settings);

// The list as a Markdown table (Setting, Type, Values, Default).
QString settingsTable(const QList<ExportSetting> &list);

} // namespace Orv
