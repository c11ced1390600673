#pragma once

#include "accessimport/accessexport.h"

#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

namespace Orv::AccessImport {

class AccessReport;

// One object of Access's report model as the converter reads it: the
// report, a section, a group level or a control. Properties are read by
// name (without regard to case) in Access's order of precedence: the
// object's own line, then for a control the default-control block of its
// kind, then Access's documented default. A name the object does not have
// is error 438.
class AccessObject
{
public:
    enum Class { ReportObject, SectionObject, GroupLevelObject, ControlObject };

    AccessObject(Class cls, const ExportNode *node, AccessReport *report);

    Class objectClass() const { return m_class; }
    // The block kind as exported ("TextBox", "BreakHeader", "Section").
    QString kind() const { return m_node ? m_node->kind : QString(); }
    // The automation type name Access gives the object ("TextBox",
    // "ObjectFrame", "SubForm", "Section", "GroupLevel", "Report").
    QString typeName() const;
    int line() const { return m_node ? m_node->line : 0; }

    QVariant value(const QString &name, Status *status = nullptr) const;
    bool has(const QString &name) const;

    // Section: its controls in file order, each control followed by the
    // controls it holds (attached labels, option group members).
    const std::vector<std::unique_ptr<AccessObject>> &controls() const { return m_controls; }
    AccessReport *report() const { return m_report; }

private:
    friend class AccessReport;
    bool lookup(const QString &name, QVariant *value) const;
    QString lookupName() const;
    QVariant convert(const ExportValue &v, const QVariant &fallback) const;

    Class m_class;
    const ExportNode *m_node;
    const ExportNode *m_defaults = nullptr; // the default-control block of the kind
    AccessReport *m_report;
    std::vector<std::unique_ptr<AccessObject>> m_controls;
};

// An Access report read from its text export, offering what the converter
// reads of Access's object model: Section(index) with Access's numbering
// (0 detail, 1 report header, 2 report footer, 3 page header, 4 page
// footer, 5 + 2k and 6 + 2k the header and footer of group level k),
// GroupLevel(k), the report's properties (PrtMip included) and its module.
class AccessReport
{
public:
    // Builds the model; a second section for the same index is damage (321).
    static Status fromExport(ExportFile file, const QString &name, std::unique_ptr<AccessReport> *out);
    // Reads the export at path; the report is named after the file unless
    // name is given. A module kept beside the export (<name>.cls) and print
    // settings kept beside it (<name>.json) are read as well.
    static Status load(const QString &path, std::unique_ptr<AccessReport> *out, const QString &name = QString(),
                       const QString &codePage = QString());

    QString name() const { return m_name; }
    int version() const { return m_file.version; }
    const ExportFile &file() const { return m_file; }

    AccessObject *object() { return m_reportObject.get(); }
    const AccessObject *object() const { return m_reportObject.get(); }
    QVariant value(const QString &name, Status *status = nullptr) const { return m_reportObject->value(name, status); }

    // Null with error 2462 when the report has no such section.
    AccessObject *section(int index, Status *status = nullptr) const;
    AccessObject *groupLevel(int index, Status *status = nullptr) const;
    int groupLevelCount() const { return int(m_groupLevels.size()); }

    // The module text (the CodeBehindForm code, or the .cls beside the
    // export) without the Attribute lines Access's editor does not show.
    bool hasModule() const { return !m_module.isEmpty(); }
    QString moduleText() const { return m_module; }

    // The 56 bytes of PrtMip: the export's blob, else one built from print
    // settings kept beside the export, else Access's defaults (one-inch
    // margins, one column, across then down).
    QByteArray prtMip() const;

    // The default-control block of a kind, or null.
    const ExportNode *defaultsFor(const QString &kind) const;

    void setModuleText(const QString &text);
    void setPrintSettings(const QByteArray &prtMip) { m_sidecarMip = prtMip; }

private:
    AccessReport() = default;
    Status build();

    ExportFile m_file;
    QString m_name;
    QString m_module;
    QByteArray m_sidecarMip;
    std::unique_ptr<AccessObject> m_reportObject;
    std::map<int, std::unique_ptr<AccessObject>> m_sections;
    std::vector<std::unique_ptr<AccessObject>> m_groupLevels;
    std::map<QString, const ExportNode *> m_defaults; // kind lower-cased
};

// PrtMip built from margins and layout values (twips).
QByteArray makePrtMip(int left, int top, int right, int bottom, int width, int height, int columns,
                      int columnSpacing, int rowSpacing, int itemLayout, bool defaultSize = true);

} // namespace Orv::AccessImport
