#include "engine/export/exportsettings.h"

#include <cmath>

namespace Orv {

QString ExportSetting::typeText() const
{
    switch (type) {
    case SettingType::Text: return QStringLiteral("text");
    case SettingType::Boolean: return QStringLiteral("boolean");
    case SettingType::Integer: return QStringLiteral("integer");
    case SettingType::Choice: return QStringLiteral("choice");
    }
    return QString();
}

QString ExportSetting::valuesText() const
{
    switch (type) {
    case SettingType::Text: return QStringLiteral("any text");
    case SettingType::Boolean: return QStringLiteral("true, false");
    case SettingType::Integer: {
        if (allowed.isEmpty())
            return QStringLiteral("%1-%2").arg(minimum).arg(maximum);
        QStringList values;
        for (int v : allowed)
            values << QString::number(v);
        return values.join(QStringLiteral(", "));
    }
    case SettingType::Choice:
        return choices.join(QStringLiteral(", ")) + QStringLiteral(", or 0-%1").arg(choices.size() - 1);
    }
    return QString();
}

QString ExportSetting::defaultText() const
{
    if (!defaultValue.isValid())
        return defaultNote;
    if (type == SettingType::Boolean)
        return defaultValue.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (type == SettingType::Choice) {
        const int i = defaultValue.toInt();
        return i >= 0 && i < choices.size() ? choices[i] : QString();
    }
    const QString text = defaultValue.toString();
    if (type == SettingType::Text) {
        if (text.isEmpty())
            return QStringLiteral("empty");
        if (text == QLatin1String("\f"))
            return QStringLiteral("form feed");
    }
    return text;
}

const ExportSetting *findSetting(const QList<ExportSetting> &list, const QString &name)
{
    for (const ExportSetting &s : list) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

SettingReader::SettingReader(const QString &format, const QList<ExportSetting> &list, const QVariantMap &settings)
    : m_format(format), m_list(list), m_settings(settings)
{
}

QVariant SettingReader::value(const QString &name) const
{
    for (auto it = m_settings.cbegin(); it != m_settings.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return {};
}

const ExportSetting &SettingReader::describe(const QString &name) const
{
    static const ExportSetting none;
    const ExportSetting *s = findSetting(m_list, name);
    Q_ASSERT_X(s, "SettingReader", "a filter reads a setting its list does not describe");
    return s ? *s : none;
}

void SettingReader::fail(int number, const QString &description)
{
    if (m_status.ok())
        m_status = Status::failure(number, description, m_format + QStringLiteral(" export"));
}

void SettingReader::text(const QString &name, QString *out)
{
    const ExportSetting &d = describe(name);
    const QVariant v = value(name);
    if (!ok())
        return;
    if (!v.isValid()) {
        if (d.defaultValue.isValid())
            *out = d.defaultValue.toString();
        return;
    }
    if (v.typeId() == QMetaType::QVariantList || v.typeId() == QMetaType::QVariantMap || !v.canConvert<QString>())
        return fail(ErrTypeMismatch, QStringLiteral("%1 setting %2 must be text").arg(m_format, d.name));
    *out = v.toString();
}

void SettingReader::boolean(const QString &name, bool *out)
{
    const ExportSetting &d = describe(name);
    const QVariant v = value(name);
    if (!ok())
        return;
    if (!v.isValid()) {
        if (d.defaultValue.isValid())
            *out = d.defaultValue.toBool();
        return;
    }
    if (v.typeId() == QMetaType::Bool) {
        *out = v.toBool();
        return;
    }
    const QString t = v.toString().trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("-1")
        || t == QLatin1String("yes") || t == QLatin1String("on"))
        *out = true;
    else if (t == QLatin1String("false") || t == QLatin1String("0") || t == QLatin1String("no")
             || t == QLatin1String("off"))
        *out = false;
    else
        fail(ErrTypeMismatch,
             QStringLiteral("%1 setting %2 must be True or False, not \"%3\"").arg(m_format, d.name, v.toString()));
}

void SettingReader::integer(const QString &name, int *out)
{
    const ExportSetting &d = describe(name);
    const QVariant v = value(name);
    if (!ok())
        return;
    if (!v.isValid()) {
        if (d.defaultValue.isValid())
            *out = d.defaultValue.toInt();
        return;
    }
    bool isNumber = false;
    const double n = v.toString().trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(n))
        return fail(ErrTypeMismatch,
                    QStringLiteral("%1 setting %2 must be a number, not \"%3\"").arg(m_format, d.name, v.toString()));
    const double rounded = std::nearbyint(n); // ties to even, as Visual Basic converts
    if (!d.allowed.isEmpty()) {
        if (!d.allowed.contains(int(rounded)))
            return fail(ErrInvalidPropertyValue, QStringLiteral("%1 setting %2 is %3, not one of %4")
                                                     .arg(m_format, d.name, v.toString(), d.valuesText()));
    } else if (rounded < d.minimum || rounded > d.maximum) {
        return fail(ErrInvalidPropertyValue, QStringLiteral("%1 setting %2 is %3, outside %4 to %5")
                                                 .arg(m_format, d.name, v.toString())
                                                 .arg(d.minimum)
                                                 .arg(d.maximum));
    }
    *out = int(rounded);
}

void SettingReader::choice(const QString &name, int *out)
{
    const ExportSetting &d = describe(name);
    const QVariant v = value(name);
    if (!ok())
        return;
    if (!v.isValid()) {
        if (d.defaultValue.isValid())
            *out = d.defaultValue.toInt();
        return;
    }
    const QString t = v.toString().trimmed();
    for (qsizetype i = 0; i < d.choices.size(); ++i) {
        if (d.choices[i].compare(t, Qt::CaseInsensitive) == 0) {
            *out = int(i);
            return;
        }
    }
    bool isNumber = false;
    const int n = t.toInt(&isNumber);
    if (!isNumber || n < 0 || n >= d.choices.size())
        return fail(ErrInvalidPropertyValue,
                    QStringLiteral("%1 setting %2 is \"%3\", not one of %4").arg(m_format, d.name, t, d.valuesText()));
    *out = n;
}

Status checkSettings(const QString &format, const QList<ExportSetting> &list, const QVariantMap &settings)
{
    SettingReader r(format, list, settings);
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        const ExportSetting *d = findSetting(list, it.key());
        if (!d) {
            QStringList names;
            for (const ExportSetting &s : list)
                names << s.name;
            return Status::failure(ErrNoSuchMember,
                                   names.isEmpty()
                                       ? QStringLiteral("%1 export has no settings, not \"%2\"").arg(format, it.key())
                                       : QStringLiteral("%1 export has no setting \"%2\" (it has %3)")
                                             .arg(format, it.key(), names.join(QStringLiteral(", "))),
                                   format + QStringLiteral(" export"));
        }
        QString text;
        bool flag = false;
        int number = 0;
        switch (d->type) {
        case SettingType::Text: r.text(d->name, &text); break;
        case SettingType::Boolean: r.boolean(d->name, &flag); break;
        case SettingType::Integer: r.integer(d->name, &number); break;
        case SettingType::Choice: r.choice(d->name, &number); break;
        }
        if (!r.ok())
            return r.status();
    }
    return {};
}

QString settingsTable(const QList<ExportSetting> &list)
{
    QString out = QStringLiteral("| Setting | Type | Values | Default |\n|---|---|---|---|\n");
    for (const ExportSetting &s : list)
        out += QStringLiteral("| `%1` | %2 | %3 | %4 |\n").arg(s.name, s.typeText(), s.valuesText(), s.defaultText());
    return out;
}

} // namespace Orv
