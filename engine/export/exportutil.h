#pragma once
// Helpers shared by the export filters: reading typed settings, staged
// output files (stagedfiles.h), and the page text grouped into lines in
// reading order.
#include "engine/core/status.h"
#include "engine/pages/page.h"
#include "engine/pages/stagedfiles.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace Orv {

class PageCollection;

// Reads settings by case-insensitive name; the first bad value sets an error
// (13 for the wrong type, 380 for a value out of range) and later reads are
// skipped. Absent settings leave the target untouched.
class SettingReader
{
public:
    SettingReader(const QString &format, const QVariantMap &settings) : m_format(format), m_settings(settings) {}

    void text(const QString &name, QString *out);
    void boolean(const QString &name, bool *out);
    void integer(const QString &name, int *out, int min, int max);
    // A number out of a fixed set.
    void oneOf(const QString &name, int *out, std::initializer_list<int> allowed);
    // A list index or one of the names (case-insensitive), stored as its index.
    void choice(const QString &name, int *out, const QStringList &names);
    bool has(const QString &name) const { return value(name).isValid(); }

    const Status &status() const { return m_status; }
    bool ok() const { return m_status.ok(); }

private:
    QVariant value(const QString &name) const;
    void fail(int number, const QString &description);

    QString m_format;
    const QVariantMap &m_settings;
    Status m_status;
};

// One line of page text: the texts whose boxes share a top edge (within a
// tolerance), left to right. Wrapped and multi-line texts give one line per
// text line, the lower lines placed under the first.
struct TextLine
{
    double top = 0;
    double height = 0;
    struct Piece
    {
        double left = 0;
        double width = 0;
        QString text;
        Qt::Alignment alignment;
    };
    std::vector<Piece> pieces;
};

// The plain texts of a page (rich text reduced to its plain text, barcode
// data as shown under the bars), grouped into lines from top to bottom.
std::vector<TextLine> pageLines(const Page &page, double tolerance = 60);

// The plain text of a text operation.
QString plainText(const TextOp &op);

// Escapes &, <, > and quotes for HTML and XML.
QString escapeXml(const QString &text);

} // namespace Orv
