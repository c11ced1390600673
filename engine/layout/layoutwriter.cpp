#include "engine/layout/layoutfile.h"

#include "engine/model/control.h"
#include "engine/model/controlregistry.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <memory>

namespace Orv {

namespace {

// Characters XML 1.0 cannot carry, even escaped.
bool isXmlSafe(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return false;
        if (c == 0xFFFE || c == 0xFFFF)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

QByteArray utf16Base64(const QString &text)
{
    QByteArray raw;
    raw.reserve(text.size() * 2);
    for (const QChar c : text) {
        raw.append(char(c.unicode() & 0xFF));
        raw.append(char(c.unicode() >> 8));
    }
    return raw.toBase64();
}

// A connection string as saved: with "Persist Security Info=False" its
// password (Password, PWD) is left out, as OLE DB has it; the rest stays
// as typed. Values may be quoted with " or ' or braced.
QString persistedConnectionString(const QString &text)
{
    QStringList entries;
    qsizetype start = 0;
    QChar quote;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const QChar c = i < text.size() ? text.at(i) : QChar(u';');
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'{') {
            quote = u'}';
        } else if (c == u';') {
            entries << text.mid(start, i - start);
            start = i + 1;
        }
    }
    const auto keyOf = [](const QString &entry) { return entry.section(u'=', 0, 0).trimmed().toLower(); };
    bool persist = true;
    for (const QString &e : entries) {
        if (keyOf(e) == QLatin1String("persist security info")) {
            const QString v = e.section(u'=', 1).trimmed().toLower();
            persist = !(v == QLatin1String("false") || v == QLatin1String("no") || v == QLatin1String("0"));
        }
    }
    if (persist)
        return text;
    QStringList kept;
    for (const QString &e : entries) {
        const QString key = keyOf(e);
        if (key != QLatin1String("password") && key != QLatin1String("pwd"))
            kept << e;
    }
    return kept.join(u';');
}

bool differs(const QObject *object, const QObject *reference);

bool differs(const QObject *object, const QObject *reference)
{
    for (const QMetaProperty &p : Reflection::properties(object->metaObject())) {
        if (Reflection::isPart(p)) {
            const QObject *part = Reflection::partOf(object, p);
            const QObject *defaultPart = Reflection::partOf(reference, p);
            if (part && defaultPart && differs(part, defaultPart))
                return true;
        } else if (p.isStored() && p.isWritable() && p.read(object) != p.read(reference)) {
            return true;
        }
    }
    return false;
}

class Writer
{
public:
    explicit Writer(QByteArray *out) : m_xml(out)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(2);
    }

    void write(const Report &report)
    {
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("OrvReportLayout"));
        m_xml.writeAttribute(QStringLiteral("version"), QString::number(LayoutFile::FormatVersion));
        m_xml.writeStartElement(QStringLiteral("Report"));
        const Report defaults;
        writeContent(&report, &defaults);
        for (const Section *section : *report.sections()) {
            m_xml.writeStartElement(QStringLiteral("Section"));
            m_xml.writeAttribute(QStringLiteral("Type"), QString::number(section->typeCode()));
            const Section sectionDefaults(section->type());
            writeContent(section, &sectionDefaults);
            for (const Control *control : *section->controls())
                writeControl(control);
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

    void writeFragment(const std::vector<const Control *> &controls)
    {
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("OrvReportFragment"));
        m_xml.writeAttribute(QStringLiteral("version"), QString::number(LayoutFile::FormatVersion));
        for (const Control *control : controls)
            writeControl(control);
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void writeControl(const Control *control)
    {
        m_xml.writeStartElement(QStringLiteral("Control"));
        m_xml.writeAttribute(QStringLiteral("Type"), control->typeId());
        const std::unique_ptr<Control> controlDefaults(ControlRegistry::builtIn().create(control->typeId()));
        writeContent(control, controlDefaults.get());
        m_xml.writeEndElement();
    }

    // Attributes for the values that differ from a new object's, then
    // Value elements for texts XML cannot hold, then the changed parts.
    // Leaves the element open for the caller's children.
    void writeContent(const QObject *object, const QObject *reference)
    {
        const QList<QMetaProperty> props = Reflection::properties(object->metaObject());
        QList<QMetaProperty> unsafe;
        for (const QMetaProperty &p : props) {
            if (Reflection::isPart(p) || !p.isStored() || !p.isWritable())
                continue;
            const QVariant value = p.read(object);
            if (value == p.read(reference))
                continue;
            QString text = Reflection::toText(value);
            if (qstrcmp(p.name(), "ConnectionString") == 0)
                text = persistedConnectionString(text);
            if (!isXmlSafe(text)) {
                unsafe.append(p);
                continue;
            }
            m_xml.writeAttribute(QString::fromLatin1(p.name()), text);
        }
        for (const QMetaProperty &p : unsafe) {
            m_xml.writeEmptyElement(QStringLiteral("Value"));
            m_xml.writeAttribute(QStringLiteral("Name"), QString::fromLatin1(p.name()));
            m_xml.writeAttribute(QStringLiteral("Utf16"), QString::fromLatin1(utf16Base64(p.read(object).toString())));
        }
        for (const QMetaProperty &p : props) {
            if (!Reflection::isPart(p))
                continue;
            const QObject *part = Reflection::partOf(object, p);
            const QObject *defaultPart = Reflection::partOf(reference, p);
            if (!part || !defaultPart || !differs(part, defaultPart))
                continue;
            m_xml.writeStartElement(QString::fromLatin1(p.name()));
            writeContent(part, defaultPart);
            m_xml.writeEndElement();
        }
    }

    QXmlStreamWriter m_xml;
};

} // namespace

QByteArray layoutBytes(const Report &report)
{
    QByteArray out;
    Writer(&out).write(report);
    return out;
}

QByteArray layoutFragmentBytes(const std::vector<const Control *> &controls)
{
    QByteArray out;
    Writer(&out).writeFragment(controls);
    return out;
}

Status SaveLayout(Report &report, const QString &path, LayoutFile::SaveKind kind, QByteArray *bytes)
{
    if (kind == LayoutFile::ToBytes) {
        if (!bytes)
            return Status::failure(ErrInvalidCall, errorDescription(ErrInvalidCall));
        *bytes = layoutBytes(report);
        return {};
    }
    if (kind != LayoutFile::ToFile || path.isEmpty())
        return Status::failure(ErrInvalidCall, errorDescription(ErrInvalidCall));

    // Written beside the target and renamed over it, so a failed save never
    // leaves a half-written layout behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(ErrPathAccess, QStringLiteral("%1: cannot write the file (%2)").arg(path, file.errorString()));
    const QByteArray data = layoutBytes(report);
    if (file.write(data) != data.size() || !file.commit())
        return Status::failure(ErrPathAccess, QStringLiteral("%1: cannot write the file (%2)").arg(path, file.errorString()));
    report.setIsDirty(false);
    return {};
}

} // namespace Orv
