#include "accessimport/graphchart.h"

#include <QtEndian>

#include <map>
#include <vector>

namespace Orv::AccessImport {

namespace {

const QByteArray Signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FreeSector = 0xFFFFFFFF;
constexpr int MaxDirectoryEntries = 4096;

Status damaged(const QString &what)
{
    return Status::failure(ErrBadFileFormat, QStringLiteral("The chart's OLE data cannot be read: ") + what);
}

// Bounds-checked little-endian reads from a byte array.
struct Bytes
{
    const QByteArray &b;
    bool has(qsizetype at, qsizetype n) const { return at >= 0 && n >= 0 && at <= b.size() - n; }
    quint8 u8(qsizetype at) const { return has(at, 1) ? quint8(b[at]) : 0; }
    quint16 u16(qsizetype at) const { return has(at, 2) ? qFromLittleEndian<quint16>(b.constData() + at) : 0; }
    quint32 u32(qsizetype at) const { return has(at, 4) ? qFromLittleEndian<quint32>(b.constData() + at) : 0; }
};

class CompoundFile
{
public:
    explicit CompoundFile(const QByteArray &data) : m_data(data), m_b{m_data} {}

    Status open()
    {
        if (!m_data.startsWith(Signature) || m_data.size() < 512)
            return damaged(QStringLiteral("not a compound file"));
        const int sectorShift = m_b.u16(0x1E);
        const int miniShift = m_b.u16(0x20);
        if ((sectorShift != 9 && sectorShift != 12) || miniShift != 6)
            return damaged(QStringLiteral("unknown sector size"));
        m_sector = 1 << sectorShift;
        m_miniSector = 1 << miniShift;
        m_miniCutoff = m_b.u32(0x38);
        const quint32 fatSectors = m_b.u32(0x2C);
        if (fatSectors > quint32(m_data.size() / m_sector))
            return damaged(QStringLiteral("bad allocation table size"));
        // The allocation table's sectors: 109 in the header, more in a chain.
        std::vector<quint32> fatList;
        for (int i = 0; i < 109 && fatList.size() < fatSectors; ++i)
            fatList.push_back(m_b.u32(0x4C + 4 * i));
        quint32 difat = m_b.u32(0x44);
        for (int guard = 0; fatList.size() < fatSectors && difat < EndOfChain && guard < 1 << 16; ++guard) {
            const qsizetype at = offset(difat);
            if (at < 0)
                return damaged(QStringLiteral("bad allocation table chain"));
            for (int i = 0; i < m_sector / 4 - 1 && fatList.size() < fatSectors; ++i)
                fatList.push_back(m_b.u32(at + 4 * i));
            difat = m_b.u32(at + m_sector - 4);
        }
        for (quint32 s : fatList) {
            const qsizetype at = offset(s);
            if (at < 0)
                return damaged(QStringLiteral("bad allocation table sector"));
            for (int i = 0; i < m_sector / 4; ++i)
                m_fat.push_back(m_b.u32(at + 4 * i));
        }
        QByteArray directory;
        if (Status s = chain(m_b.u32(0x30), &directory); !s)
            return s;
        for (qsizetype at = 0; at + 128 <= directory.size() && m_entries.size() < MaxDirectoryEntries; at += 128) {
            const Bytes d{directory};
            Entry e;
            const int nameBytes = std::min<int>(d.u16(at + 64), 64);
            e.name = QString::fromUtf16(reinterpret_cast<const char16_t *>(directory.constData() + at),
                                        std::max(0, nameBytes / 2 - 1));
            e.type = d.u8(at + 66);
            e.start = d.u32(at + 116);
            e.size = d.u32(at + 120);
            m_entries.push_back(e);
        }
        if (m_entries.empty() || m_entries.front().type != 5)
            return damaged(QStringLiteral("no root entry"));
        if (Status s = chain(m_entries.front().start, &m_ministream); !s)
            return s;
        QByteArray miniFat;
        if (m_b.u32(0x3C) < EndOfChain) {
            if (Status s = chain(m_b.u32(0x3C), &miniFat); !s)
                return s;
        }
        for (qsizetype at = 0; at + 4 <= miniFat.size(); at += 4)
            m_miniFat.push_back(qFromLittleEndian<quint32>(miniFat.constData() + at));
        return {};
    }

    Status stream(const QString &name, QByteArray *out) const
    {
        for (const Entry &e : m_entries) {
            if (e.type != 2 || e.name.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            Status s = e.size < m_miniCutoff ? miniChain(e.start, out) : chain(e.start, out);
            if (!s)
                return s;
            if (out->size() < qsizetype(e.size))
                return damaged(QStringLiteral("stream \"%1\" is truncated").arg(name));
            out->truncate(qsizetype(e.size));
            return {};
        }
        return damaged(QStringLiteral("no stream \"%1\"").arg(name));
    }

private:
    struct Entry
    {
        QString name;
        int type = 0;
        quint32 start = 0;
        quint32 size = 0;
    };

    qsizetype offset(quint32 sector) const
    {
        const qint64 at = (qint64(sector) + 1) * m_sector;
        return sector < EndOfChain && at + m_sector <= m_data.size() ? qsizetype(at) : -1;
    }

    // A chain of sectors; a loop or a sector outside the file is damage.
    Status chain(quint32 start, QByteArray *out) const
    {
        out->clear();
        for (quint32 s = start, steps = 0; s != EndOfChain; ++steps) {
            const qsizetype at = offset(s);
            if (at < 0 || s >= m_fat.size() || steps > m_fat.size())
                return damaged(QStringLiteral("bad sector chain"));
            out->append(m_data.constData() + at, m_sector);
            s = m_fat[s];
            if (s == FreeSector)
                break;
        }
        return {};
    }

    Status miniChain(quint32 start, QByteArray *out) const
    {
        out->clear();
        for (quint32 s = start, steps = 0; s != EndOfChain; ++steps) {
            const qint64 at = qint64(s) * m_miniSector;
            if (s >= m_miniFat.size() || steps > m_miniFat.size() || at + m_miniSector > m_ministream.size())
                return damaged(QStringLiteral("bad mini sector chain"));
            out->append(m_ministream.constData() + at, m_miniSector);
            s = m_miniFat[s];
            if (s == FreeSector)
                break;
        }
        return {};
    }

    const QByteArray &m_data;
    Bytes m_b;
    int m_sector = 512;
    int m_miniSector = 64;
    quint32 m_miniCutoff = 4096;
    std::vector<quint32> m_fat;
    std::vector<quint32> m_miniFat;
    std::vector<Entry> m_entries;
    QByteArray m_ministream;
};

// BIFF record types read here.
enum : quint16 {
    RtBof = 0x0809, RtEof = 0x000A, RtFont = 0x0031, RtSeriesText = 0x100D, RtChartFormat = 0x1014,
    RtLegend = 0x1015, RtBar = 0x1017, RtLine = 0x1018, RtPie = 0x1019, RtArea = 0x101A, RtScatter = 0x101B,
    RtAreaFormat = 0x100A, RtText = 0x1025, RtFontX = 0x1026, RtObjectLink = 0x1027, RtBegin = 0x1033,
    RtEnd = 0x1034, RtChart3d = 0x103A, RtRadar = 0x103E, RtSurf = 0x103F, RtRadarArea = 0x1040,
    RtBopPop = 0x1061, RtSeries = 0x1003, RtDefaultText = 0x1024, RtContinue = 0x003C,
};

struct Record
{
    quint16 type = 0;
    QByteArray data;
    std::vector<Record> children; // the records between a following Begin and its End
};

struct FontInfo
{
    QString name;
    double size = 10;
};

// A string of a chart record: BIFF8's count, flags and 8- or 16-bit
// characters, or BIFF5's count and 8-bit characters.
QString shortString(const QByteArray &data, qsizetype at, bool biff8)
{
    const Bytes b{data};
    const int count = b.u8(at);
    if (!biff8)
        return QString::fromLatin1(data.mid(at + 1, count));
    const bool wide = b.u8(at + 1) & 1;
    if (wide) {
        const QByteArray chars = data.mid(at + 2, qsizetype(count) * 2);
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(chars.constData()), chars.size() / 2);
    }
    return QString::fromLatin1(data.mid(at + 2, count));
}

const Record *child(const Record &r, quint16 type)
{
    for (const Record &c : r.children)
        if (c.type == type)
            return &c;
    return nullptr;
}

class ChartReader
{
public:
    ChartReader(bool biff8) : m_biff8(biff8) {}

    Status read(const QByteArray &book, GraphChart *out)
    {
        // Records in order; Begin and End nest them.
        std::vector<Record> top;
        std::vector<std::vector<Record> *> stack{&top};
        bool inChart = false;
        int substreams = 0;
        for (qsizetype at = 0; at + 4 <= book.size();) {
            const Bytes b{book};
            Record r;
            r.type = b.u16(at);
            const quint16 length = b.u16(at + 2);
            if (!b.has(at + 4, length))
                return damaged(QStringLiteral("truncated chart record"));
            r.data = book.mid(at + 4, length);
            at += 4 + length;
            if (r.type == RtBof) {
                // The workbook globals (with the font table) come first; the
                // sheet after them is the chart (Graph marks it 0x8000, Excel 0x0020).
                ++substreams;
                inChart = Bytes{r.data}.u16(2) != 0x0005;
                continue;
            }
            if (r.type == RtFont && !inChart) {
                const Bytes f{r.data};
                m_fonts.push_back(FontInfo{shortString(r.data, 14, m_biff8), f.u16(0) / 20.0});
                continue;
            }
            if (!inChart)
                continue;
            if (r.type == RtEof)
                break;
            if (r.type == RtBegin) {
                if (stack.back()->empty() || stack.size() > 64)
                    return damaged(QStringLiteral("unbalanced chart records"));
                stack.push_back(&stack.back()->back().children);
                continue;
            }
            if (r.type == RtEnd) {
                if (stack.size() < 2)
                    return damaged(QStringLiteral("unbalanced chart records"));
                stack.pop_back();
                continue;
            }
            stack.back()->push_back(std::move(r));
        }
        if (substreams < 2 || top.empty())
            return damaged(QStringLiteral("no chart sheet"));
        // The chart record holds everything else.
        const Record *chart = nullptr;
        for (const Record &r : top)
            if (r.type == 0x1002)
                chart = &r;
        if (!chart)
            return damaged(QStringLiteral("no chart"));
        interpret(*chart, out);
        return {};
    }

private:
    // The font a FontX picks (index 4 is never stored, so later ones shift).
    std::optional<FontInfo> fontOf(const Record &block) const
    {
        const Record *fx = child(block, RtFontX);
        if (!fx)
            return m_defaultFont;
        int index = Bytes{fx->data}.u16(0);
        if (index > 4)
            --index;
        if (index >= 0 && index < int(m_fonts.size()))
            return m_fonts[size_t(index)];
        return m_defaultFont;
    }

    static int horizontal(int at)
    {
        switch (at) {
        case 1: return -4131; // xlLeft
        case 3: return -4152; // xlRight
        case 4: return -4130; // xlJustify
        case 7: return -4117; // xlDistributed
        default: return -4108; // xlCenter
        }
    }

    static int vertical(int vat)
    {
        switch (vat) {
        case 1: return -4160; // xlTop
        case 3: return -4107; // xlBottom
        case 4: return -4130;
        case 7: return -4117;
        default: return -4108;
        }
    }

    // Graph's Orientation: the constants for the four usual ones, else degrees.
    static int orientation(int trot)
    {
        if (trot == 0)
            return -4128; // xlHorizontal
        if (trot == 255)
            return -4166; // xlVertical
        if (trot == 90)
            return -4171; // xlUpward
        if (trot == 180)
            return -4170; // xlDownward
        return trot <= 90 ? trot : -(trot - 90);
    }

    static int chartTypeOf(const Record &format)
    {
        const bool threeD = child(format, RtChart3d) != nullptr;
        for (const Record &r : format.children) {
            const Bytes b{r.data};
            switch (r.type) {
            case RtBar: {
                const quint16 flags = b.u16(4);
                const bool bar = flags & 1, stacked = flags & 2, full = flags & 4;
                if (threeD) {
                    const bool cluster = Bytes{child(format, RtChart3d)->data}.u16(12) & 2;
                    if (full)
                        return bar ? 62 : 56;
                    if (stacked)
                        return bar ? 61 : 55;
                    return cluster || bar ? (bar ? 60 : 54) : -4100;
                }
                if (full)
                    return bar ? 59 : 53;
                if (stacked)
                    return bar ? 58 : 52;
                return bar ? 57 : 51;
            }
            case RtLine: {
                const quint16 flags = b.u16(0);
                if (threeD)
                    return -4101;
                return flags & 2 ? 64 : flags & 1 ? 63 : 4;
            }
            case RtArea: {
                const quint16 flags = b.u16(0);
                if (flags & 2)
                    return threeD ? 79 : 77;
                if (flags & 1)
                    return threeD ? 78 : 76;
                return threeD ? -4098 : 1;
            }
            case RtPie:
                if (b.u16(2) > 0)
                    return -4120; // doughnut
                return threeD ? -4102 : 5;
            case RtBopPop:
                return b.u8(0) == 2 ? 71 : 68; // bar of pie, pie of pie
            case RtScatter:
                return b.u16(4) & 1 ? 15 : -4169; // bubble, XY scatter
            case RtRadar: return -4151;
            case RtRadarArea: return 82;
            case RtSurf: return threeD ? 83 : 85;
            default: break;
            }
        }
        return 51;
    }

    void interpret(const Record &chart, GraphChart *out)
    {
        // The chart's default text font (DefaultText 2: all texts).
        for (size_t i = 0; i + 1 < chart.children.size(); ++i) {
            const Record &r = chart.children[i];
            if (r.type == RtDefaultText && Bytes{r.data}.u16(0) == 2 && chart.children[i + 1].type == RtText)
                m_defaultFont = fontOf(chart.children[i + 1]);
        }
        if (!m_defaultFont && !m_fonts.empty())
            m_defaultFont = m_fonts.front();
        QString firstSeries;
        for (const Record &r : chart.children) {
            if (r.type == RtSeries && firstSeries.isEmpty())
                if (const Record *t = child(r, RtSeriesText))
                    firstSeries = shortString(t->data, 2, m_biff8);
        }
        for (const Record &r : chart.children) {
            if (r.type == RtText) {
                const Record *link = child(r, RtObjectLink);
                if (!link || Bytes{link->data}.u16(0) != 1)
                    continue;
                out->hasTitle = true;
                const Bytes t{r.data};
                GraphText &title = out->title;
                const Record *text = child(r, RtSeriesText);
                // Without its own text the title repeats the series name.
                title.caption = text ? shortString(text->data, 2, m_biff8) : firstSeries;
                if (const auto font = fontOf(r)) {
                    title.fontName = font->name;
                    title.fontSize = font->size;
                }
                title.horizontalAlignment = horizontal(t.u8(0));
                title.verticalAlignment = vertical(t.u8(1));
                title.orientation = orientation(t.u16(30));
                for (const Record &part : r.children) {
                    if (part.type != 0x1032) // Frame
                        continue;
                    if (const Record *area = child(part, RtAreaFormat)) {
                        const Bytes a{area->data};
                        title.backColor = int(a.u8(4) | (a.u8(5) << 8) | (a.u8(6) << 16));
                    }
                }
            }
        }
        // The first chart group (ChartFormat) of the primary axes gives the
        // kind; the legend is one of its records.
        for (const Record &r : chart.children) {
            if (r.type != 0x1041) // AxisParent
                continue;
            for (const Record &format : r.children) {
                if (format.type != RtChartFormat)
                    continue;
                out->chartType = chartTypeOf(format);
                for (size_t i = 0; i < format.children.size(); ++i) {
                    const Record &legend = format.children[i];
                    if (legend.type != RtLegend)
                        continue;
                    out->hasLegend = true;
                    switch (Bytes{legend.data}.u8(16)) {
                    case 0: out->legendPosition = -4107; break; // bottom
                    case 1: out->legendPosition = 2; break;     // corner
                    case 2: out->legendPosition = -4160; break; // top
                    case 4: out->legendPosition = -4131; break; // left
                    case 7: out->legendPosition = -4161; break; // custom
                    default: out->legendPosition = -4152; break; // right
                    }
                    const Record *text = child(legend, RtText);
                    if (const auto font = text ? fontOf(*text) : m_defaultFont) {
                        out->legendFontName = font->name;
                        out->legendFontSize = font->size;
                    }
                }
                break;
            }
            if (out->chartType)
                break;
        }
    }

    bool m_biff8;
    std::vector<FontInfo> m_fonts;
    std::optional<FontInfo> m_defaultFont;
};

} // namespace

Status compoundFileStream(const QByteArray &file, const QString &name, QByteArray *stream)
{
    CompoundFile cf(file);
    if (Status s = cf.open(); !s)
        return s;
    return cf.stream(name, stream);
}

Status readGraphChart(const QByteArray &oleData, GraphChart *chart)
{
    // Access keeps a few bytes of its own in front of the compound file.
    const qsizetype at = oleData.indexOf(Signature);
    if (at < 0 || at > 4096)
        return damaged(QStringLiteral("no compound file"));
    const QByteArray file = oleData.mid(at);
    CompoundFile cf(file);
    if (Status s = cf.open(); !s)
        return s;
    QByteArray book;
    bool biff8 = true;
    if (!cf.stream(QStringLiteral("Workbook"), &book)) {
        biff8 = false;
        if (Status s = cf.stream(QStringLiteral("Book"), &book); !s)
            return damaged(QStringLiteral("no chart workbook"));
    }
    GraphChart result;
    if (Status s = ChartReader(biff8).read(book, &result); !s)
        return s;
    *chart = result;
    return {};
}

} // namespace Orv::AccessImport
