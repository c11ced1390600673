#pragma once

#include "engine/core/status.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace Orv::AccessImport {

// One value of a property line of an Access report text export.
struct ExportValue
{
    enum Kind {
        Integer,    // Width =7469
        Float,      // ForeTint =75.0
        String,     // Caption ="Total", continuation lines joined, escapes decoded
        Word,       // an unquoted word other than NotDefault
        NotDefault, // Visible = NotDefault: the opposite of the default
        Blob,       // PrtMip = Begin / 0x... / End
        Macro,      // OnClickEmMacro = Begin ... End: the raw lines between
    };
    Kind kind = Integer;
    qint64 integer = 0;
    double number = 0;
    QString text;
    QByteArray bytes;
};

struct ExportProperty
{
    QString name;
    ExportValue value;
    int line = 0;
};

// A Begin <Kind> ... End block. Anonymous child lists ("Begin" alone) are
// folded into the block that holds them, so children are the blocks the
// lists held, in file order.
struct ExportNode
{
    QString kind;
    int line = 0;
    std::vector<ExportProperty> properties;
    std::vector<std::unique_ptr<ExportNode>> children;

    // The property of that name (compared without regard to case); the last
    // one wins when a name repeats. Null when absent.
    const ExportValue *property(QStringView name) const;
};

// A whole export: the header lines (Version, VersionRequired, Checksum...),
// the report block and the code after CodeBehindForm.
struct ExportFile
{
    std::vector<ExportProperty> header;
    std::unique_ptr<ExportNode> report;
    bool hasCode = false;
    QString code;       // lines joined with CR LF, as Access's module holds them
    QString encoding;   // "UTF-16LE", "UTF-8" or the 8-bit code page used
    int version = 0;    // the Version header, 0 when absent
};

// Bounds that keep damaged or hostile input from using unbounded memory.
constexpr qint64 MaxExportSize = 128 * 1024 * 1024;
constexpr int MaxExportDepth = 64;

// Text of an export in any of the encodings Access writes: UTF-16LE (with or
// without BOM), UTF-8 with or without BOM, else the 8-bit code page named
// (Windows-1252 when empty or unknown). *encoding names what was used.
QString decodeExport(const QByteArray &bytes, const QString &codePage, QString *encoding);

// Parses an export. On damage the status is 321 (invalid file format) and
// its description names the line; *file is then left empty.
Status parseExport(const QByteArray &bytes, ExportFile *file, const QString &sourceName = QString(),
                   const QString &codePage = QString());
Status readExportFile(const QString &path, ExportFile *file, const QString &codePage = QString());

} // namespace Orv::AccessImport
