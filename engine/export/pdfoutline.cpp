#include "engine/export/pdfoutline.h"

#include <QFile>
#include <QRegularExpression>

#include <limits>

namespace Orv::PdfOutline {

namespace {

constexpr qint64 TailSize = 2048;
constexpr qint64 MaxObjectSize = 64 * 1024 * 1024; // the page list of a very long report

struct Trailer
{
    qint64 xref = -1;
    qint64 size = 0;
    qint64 root = -1;
    qint64 info = -1;
};

qint64 number(const QRegularExpressionMatch &m, int group)
{
    bool ok = false;
    const qint64 v = m.captured(group).toLongLong(&ok);
    return ok ? v : -1;
}

bool readTrailer(QFile &file, Trailer *t)
{
    const qint64 size = file.size();
    if (!file.seek(std::max<qint64>(0, size - TailSize)))
        return false;
    const QByteArray tail = file.read(TailSize);
    const qsizetype at = tail.lastIndexOf("trailer");
    if (at < 0)
        return false;
    const QString text = QString::fromLatin1(tail.mid(at));
    static const QRegularExpression sizeKey(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression rootKey(QStringLiteral("/Root\\s+(\\d+)\\s+0\\s+R"));
    static const QRegularExpression infoKey(QStringLiteral("/Info\\s+(\\d+)\\s+0\\s+R"));
    static const QRegularExpression start(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    t->size = number(sizeKey.match(text), 1);
    t->root = number(rootKey.match(text), 1);
    const QRegularExpressionMatch info = infoKey.match(text);
    t->info = info.hasMatch() ? number(info, 1) : -1;
    t->xref = number(start.match(text), 1);
    return t->size > 0 && t->root > 0 && t->root < t->size && t->xref > 0 && t->xref < size;
}

// The offset of object n from a classic cross-reference table with one
// subsection starting at 0, as QPdfWriter writes it.
qint64 objectOffset(QFile &file, const Trailer &t, qint64 n)
{
    if (!file.seek(t.xref))
        return -1;
    const QByteArray head = file.read(64);
    static const QRegularExpression header(QStringLiteral("^xref\\s*\\n0 (\\d+)\\s*\\n"));
    const QRegularExpressionMatch m = header.match(QString::fromLatin1(head));
    if (!m.hasMatch() || number(m, 1) != t.size || n >= t.size)
        return -1;
    if (!file.seek(t.xref + m.capturedLength(0) + 20 * n))
        return -1;
    const QByteArray entry = file.read(20);
    if (entry.size() != 20 || entry.at(17) != 'n')
        return -1;
    bool ok = false;
    const qint64 offset = entry.left(10).toLongLong(&ok);
    return ok ? offset : -1;
}

// The text of object n between "n 0 obj" and "endobj".
QByteArray objectText(QFile &file, const Trailer &t, qint64 n)
{
    const qint64 offset = objectOffset(file, t, n);
    if (offset < 0 || !file.seek(offset))
        return {};
    QByteArray text;
    const QByteArray start = QByteArray::number(n) + " 0 obj";
    while (text.size() < MaxObjectSize) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty())
            return {};
        text += chunk;
        const qsizetype end = text.indexOf("endobj");
        if (end >= 0) {
            if (!text.startsWith(start))
                return {};
            return text.mid(start.size(), end - start.size()).trimmed();
        }
    }
    return {};
}

QByteArray pdfString(const QString &s)
{
    QByteArray out = "<FEFF";
    for (const QChar c : s)
        out += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return out + '>';
}

// 28 bytes an item: a long report has hundreds of thousands.
struct Node
{
    qint32 parent = -1, first = -1, last = -1, prev = -1, next = -1;
    qint32 count = 0;
    qint32 item = -1;
};

} // namespace

void Items::append(const Item &item)
{
    m_titles += item.title.toStdString();
    m_entries.push_back({item.page, item.level, item.y, m_titles.size()});
}

Item Items::at(size_t index) const
{
    const Entry &e = m_entries[index];
    const size_t begin = index > 0 ? m_entries[index - 1].end : 0;
    return {e.page, e.level, QString::fromUtf8(m_titles.data() + begin, qsizetype(e.end - begin)), e.y};
}

qint64 objects(const Items &items, const std::vector<qint64> &pages, qint64 firstId,
               const std::function<void(qint64, const QByteArray &)> &write)
{
    std::vector<Node> nodes(1);
    nodes.reserve(std::min<size_t>(items.size(), std::numeric_limits<qint32>::max() - 1) + 1);
    std::vector<qint32> stack{0}; // stack[k]: latest node at depth k (0 the root)
    for (size_t index = 0; index < items.size() && nodes.size() < size_t(std::numeric_limits<qint32>::max()); ++index) {
        // Titles are read only when the objects are written.
        const int page = items.page(index);
        if (page < 0 || size_t(page) >= pages.size())
            continue;
        const size_t depth = size_t(std::clamp(items.level(index), 0, int(stack.size()) - 1));
        stack.resize(depth + 1);
        const qint32 parent = stack.back();
        const qint32 id = qint32(nodes.size());
        nodes.push_back(Node());
        nodes[size_t(id)].parent = parent;
        nodes[size_t(id)].item = qint32(index);
        Node &p = nodes[size_t(parent)];
        if (p.last >= 0) {
            nodes[size_t(p.last)].next = id;
            nodes[size_t(id)].prev = p.last;
        } else {
            p.first = id;
        }
        p.last = id;
        for (qint32 a = parent; a >= 0; a = nodes[size_t(a)].parent)
            ++nodes[size_t(a)].count; // every item open: ancestors count all below them
        stack.push_back(id);
    }
    if (nodes.size() == 1)
        return 0;
    const auto refTo = [firstId](qint64 node) { return QByteArray::number(firstId + node) + " 0 R"; };
    for (size_t i = 0; i < nodes.size(); ++i) {
        const Node &n = nodes[i];
        QByteArray body = "<<\n";
        if (i == 0) {
            body += "/Type /Outlines\n";
        } else {
            const Item item = items.at(size_t(n.item));
            body += "/Title " + pdfString(item.title) + "\n/Parent " + refTo(n.parent) + "\n/Dest [" +
                    QByteArray::number(pages[size_t(item.page)]) + " 0 R /XYZ 0 " + QByteArray::number(item.y, 'f', 2) +
                    " null]\n";
            if (n.prev >= 0)
                body += "/Prev " + refTo(n.prev) + '\n';
            if (n.next >= 0)
                body += "/Next " + refTo(n.next) + '\n';
        }
        if (n.first >= 0)
            body += "/First " + refTo(n.first) + "\n/Last " + refTo(n.last) + '\n';
        if (n.count > 0)
            body += "/Count " + QByteArray::number(n.count) + '\n';
        body += ">>";
        write(qint64(i), body);
    }
    return qint64(nodes.size());
}

Result append(QFile &file, const Items &items, QString *error)
{
    const auto unknown = [error](const QString &what) {
        *error = what;
        return Result::NotRecognised;
    };
    const auto fail = [error](const QString &what) {
        *error = what;
        return Result::WriteFailed;
    };
    Trailer t;
    if (!readTrailer(file, &t))
        return unknown(QStringLiteral("the file has no trailer this writer knows"));
    const QByteArray catalog = objectText(file, t, t.root);
    static const QRegularExpression pagesKey(QStringLiteral("/Pages\\s+(\\d+)\\s+0\\s+R"));
    const qint64 pagesObject = number(pagesKey.match(QString::fromLatin1(catalog)), 1);
    if (!catalog.startsWith("<<") || !catalog.endsWith(">>") || catalog.contains("/Outlines") || pagesObject <= 0)
        return unknown(QStringLiteral("the document catalog is not as expected"));
    const QByteArray pageTree = objectText(file, t, pagesObject);
    const qsizetype kidsAt = pageTree.indexOf("/Kids");
    const qsizetype open = pageTree.indexOf('[', kidsAt);
    const qsizetype close = pageTree.indexOf(']', open);
    if (kidsAt < 0 || open < 0 || close < 0)
        return unknown(QStringLiteral("the page list is not as expected"));
    std::vector<qint64> pages;
    static const QRegularExpression ref(QStringLiteral("(\\d+)\\s+0\\s+R"));
    for (auto it = ref.globalMatch(QString::fromLatin1(pageTree.mid(open + 1, close - open - 1))); it.hasNext();)
        pages.push_back(number(it.next(), 1));

    // Object t.size is the outline's root, items follow in order.
    const qint64 rootId = t.size;
    const auto refTo = [&](qint64 node) { return QByteArray::number(rootId + node) + " 0 R"; };
    if (!file.seek(file.size()))
        return fail(file.errorString());
    std::vector<qint64> offsets;
    QByteArray out;
    qint64 position = file.size();
    bool written = true;
    const auto flush = [&]() {
        if (file.write(out) != out.size())
            return false;
        position += out.size();
        out.clear();
        return true;
    };
    out += '\n';
    const qint64 count = objects(items, pages, rootId, [&](qint64 index, const QByteArray &body) {
        if (!written)
            return;
        offsets.push_back(position + out.size());
        out += QByteArray::number(rootId + index) + " 0 obj\n" + body + "\nendobj\n";
        if (out.size() > 256 * 1024)
            written = flush();
    });
    if (!written)
        return fail(file.errorString());
    if (count == 0) {
        // No item on a page: the file stays as it was.
        return Result::Done;
    }
    const qint64 catalogOffset = position + out.size();
    out += QByteArray::number(t.root) + " 0 obj\n" + catalog.chopped(2).trimmed() + "\n/Outlines " + refTo(0) +
           "\n/PageMode /UseOutlines\n>>\nendobj\n";
    const qint64 xref = position + out.size();
    const auto entry = [](qint64 offset) { return QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n"; };
    out += "xref\n0 1\n0000000000 65535 f \n" + QByteArray::number(t.root) + " 1\n" + entry(catalogOffset) +
           QByteArray::number(rootId) + ' ' + QByteArray::number(count) + '\n';
    for (qint64 offset : offsets) {
        out += entry(offset);
        if (out.size() > 256 * 1024 && !flush())
            return fail(file.errorString());
    }
    out += "trailer\n<<\n/Size " + QByteArray::number(rootId + count) + "\n/Root " +
           QByteArray::number(t.root) + " 0 R\n";
    if (t.info > 0)
        out += "/Info " + QByteArray::number(t.info) + " 0 R\n";
    out += "/Prev " + QByteArray::number(t.xref) + "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    if (!flush() || !file.flush())
        return fail(file.errorString());
    return Result::Done;
}

} // namespace Orv::PdfOutline
