#include "engine/export/pdffonts.h"

#include "engine/export/pdfobjects.h"

#include <QHash>

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <cmath>
#include <map>
#include <mutex>

namespace Orv::Pdf {

namespace {

constexpr int UnknownWidth = INT_MIN;

// The face's tables a PDF font needs, gathered into a font file of their
// own from Qt's font engine, which has the face open already (also a face
// inside a collection file).
QByteArray fontFile(const QRawFont &font, bool cff)
{
    static const char *const tags[] = {"CFF ", "OS/2", "cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name", "post"};
    std::vector<std::pair<const char *, QByteArray>> tables;
    for (const char *tag : tags) {
        QByteArray data = font.fontTable(tag);
        if (!data.isEmpty())
            tables.emplace_back(tag, std::move(data));
    }
    const auto put16 = [](QByteArray &out, quint32 v) {
        out += char(v >> 8);
        out += char(v);
    };
    const auto put32 = [&](QByteArray &out, quint32 v) {
        put16(out, v >> 16);
        put16(out, v & 0xffff);
    };
    const quint32 count = quint32(tables.size());
    quint32 power = 1, log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    QByteArray out;
    put32(out, cff ? 0x4F54544Fu : 0x00010000u);
    put16(out, count);
    put16(out, power * 16);
    put16(out, log);
    put16(out, count * 16 - power * 16);
    quint32 offset = 12 + 16 * count;
    for (const auto &[tag, data] : tables) {
        out.append(tag, 4);
        quint32 sum = 0;
        for (qsizetype i = 0; i < data.size(); i += 4) {
            quint32 word = 0;
            for (int k = 0; k < 4; ++k)
                word = (word << 8) | (i + k < data.size() ? uchar(data[i + k]) : 0);
            sum += word;
        }
        put32(out, sum);
        put32(out, offset);
        put32(out, quint32(data.size()));
        offset += (quint32(data.size()) + 3) & ~3u;
    }
    for (const auto &table : tables) {
        out += table.second;
        while (out.size() % 4)
            out += '\0';
    }
    return out;
}

QByteArray blobBytes(hb_blob_t *blob)
{
    unsigned length = 0;
    const char *data = hb_blob_get_data(blob, &length);
    return QByteArray(data, qsizetype(length));
}

// A PostScript name may hold neither blanks nor delimiters.
std::string postScriptName(hb_face_t *face, const QString &family, const QString &style)
{
    char buffer[128];
    unsigned size = sizeof buffer;
    std::string name;
    if (hb_ot_name_get_utf8(face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, buffer) > 0)
        name.assign(buffer, size);
    if (name.empty()) {
        name = (family + QLatin1Char('-') + style).toStdString();
    }
    std::string clean;
    for (char c : name) {
        if (c > 32 && c < 127 && !std::strchr("()<>[]{}/%#", c))
            clean += c;
    }
    return clean.empty() ? std::string("Font") : clean;
}

qint16 be16(const QByteArray &table, int at)
{
    if (table.size() < at + 2)
        return 0;
    return qint16((uchar(table[at]) << 8) | uchar(table[at + 1]));
}

} // namespace

struct FontSet::Face
{
    // What the font dictionaries need of the font, taken when the face is made.
    QString family, style;
    bool italic = false;
    double ascent = 0, descent = 0, capHeight = 0; // thousandths of an em
    QByteArray head, post;
    QByteArray file; // the tables HarfBuzz reads
    hb_face_t *hb = nullptr;
    hb_font_t *hbFont = nullptr;
    unsigned glyphCount = 0;
    double unitsPerEm = 1000;
    bool cff = false;
    std::atomic<int> id{0};
    // By glyph, in thousandths of an em; read and filled on any thread.
    std::unique_ptr<std::atomic<int>[]> widths;
    std::mutex lock; // pages drawn on several threads mark their glyphs
    std::vector<bool> used;
    std::vector<bool> mapped;     // glyph has its characters
    std::map<quint32, QString> unicode;

    ~Face()
    {
        if (hbFont)
            hb_font_destroy(hbFont);
        if (hb)
            hb_face_destroy(hb);
    }
};

struct FontSet::Cache
{
    std::mutex lock;
    QHash<QRawFont, Face *> byFont;     // every size of a face
    QHash<QString, Face *> byName;      // family, style, weight and slant
};

FontSet::FontSet() : m_cache(std::make_unique<Cache>()) {}

FontSet::~FontSet() = default;

FontSet::Face *FontSet::face(const QRawFont &font)
{
    const std::lock_guard<std::mutex> locked(m_cache->lock);
    const auto known = m_cache->byFont.constFind(font);
    if (known != m_cache->byFont.cend())
        return *known;
    if (m_cache->byFont.size() > 512)
        m_cache->byFont.clear();
    const QString key = font.familyName() + QLatin1Char('\n') + font.styleName() + QLatin1Char('\n')
                        + QString::number(font.weight()) + QLatin1Char('\n') + QString::number(int(font.style()));
    Face *&named = m_cache->byName[key];
    if (!named) {
        auto face = std::make_unique<Face>();
        face->family = font.familyName();
        face->style = font.styleName();
        face->italic = font.style() != QFont::StyleNormal;
        const double pixel = font.pixelSize() > 0 ? font.pixelSize() : 1;
        face->ascent = font.ascent() / pixel * 1000;
        face->descent = font.descent() / pixel * 1000;
        face->capHeight = font.capHeight() / pixel * 1000;
        face->head = font.fontTable("head");
        face->post = font.fontTable("post");
        face->cff = font.fontTable("glyf").isEmpty();
        if (face->cff && font.fontTable("CFF ").isEmpty()) {
            m_cache->byFont.insert(font, nullptr);
            return nullptr;
        }
        face->file = fontFile(font, face->cff);
        hb_blob_t *blob = hb_blob_create(face->file.constData(), unsigned(face->file.size()), HB_MEMORY_MODE_READONLY,
                                         nullptr, nullptr);
        face->hb = hb_face_create(blob, 0);
        hb_blob_destroy(blob);
        face->glyphCount = hb_face_get_glyph_count(face->hb);
        face->unitsPerEm = std::max(16u, hb_face_get_upem(face->hb));
        face->hbFont = hb_font_create(face->hb);
        face->widths = std::make_unique<std::atomic<int>[]>(face->glyphCount);
        for (unsigned g = 0; g < face->glyphCount; ++g)
            face->widths[g].store(UnknownWidth, std::memory_order_relaxed);
        face->used.assign(face->glyphCount, false);
        face->mapped.assign(face->glyphCount, false);
        named = face.get();
        m_faces.push_back(std::move(face));
    }
    m_cache->byFont.insert(font, named);
    return named;
}

int FontSet::objectId(Face *face, FileWriter &writer)
{
    if (const int id = face->id.load(std::memory_order_acquire))
        return id;
    const std::lock_guard<std::mutex> locked(face->lock);
    if (!face->id.load(std::memory_order_relaxed))
        face->id.store(writer.reserve(), std::memory_order_release);
    return face->id.load(std::memory_order_relaxed);
}

int FontSet::width(Face *face, quint32 glyph)
{
    if (glyph >= face->glyphCount)
        return 0;
    std::atomic<int> &known = face->widths[glyph];
    int w = known.load(std::memory_order_relaxed);
    if (w == UnknownWidth) {
        // Threads that meet an unknown width at once work out the same value.
        w = int(std::lround(hb_font_get_glyph_h_advance(face->hbFont, glyph) * 1000.0 / face->unitsPerEm));
        known.store(w, std::memory_order_relaxed);
    }
    return w;
}

void FontSet::use(Face *face, const quint32 *glyphs, int count, const QString &text)
{
    const std::lock_guard<std::mutex> locked(face->lock);
    bool missing = false;
    for (int i = 0; i < count; ++i) {
        const quint32 g = glyphs[i];
        if (g >= face->glyphCount)
            continue;
        face->used[g] = true;
        missing |= !face->mapped[g];
    }
    if (!missing)
        return;
    // The glyph each character maps to by itself; glyphs found there take
    // that character.
    std::vector<quint32> nominal(size_t(text.size()), 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int units = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        const char32_t code = units == 2 ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        hb_codepoint_t g = 0;
        if (hb_font_get_nominal_glyph(face->hbFont, code, &g))
            nominal[size_t(i)] = g;
        if (g < face->glyphCount && g != 0 && face->used[g] && !face->mapped[g]) {
            face->mapped[g] = true;
            face->unicode[g] = text.mid(i, units);
        }
        i += units - 1;
    }
    // Glyphs that stand for several characters (ligatures) or none of them
    // alone take the characters between their neighbours.
    qsizetype at = 0;
    int pending = -1;
    qsizetype pendingFrom = 0;
    const auto settle = [&](qsizetype end) {
        if (pending < 0)
            return;
        const quint32 g = glyphs[pending];
        if (g < face->glyphCount && !face->mapped[g] && end > pendingFrom) {
            face->mapped[g] = true;
            face->unicode[g] = text.mid(pendingFrom, end - pendingFrom);
        }
        pending = -1;
    };
    for (int i = 0; i < count; ++i) {
        const quint32 g = glyphs[i];
        qsizetype found = -1;
        for (qsizetype p = at; p < text.size(); ++p) {
            if (nominal[size_t(p)] == g && g != 0) {
                found = p;
                break;
            }
        }
        if (found >= 0) {
            settle(found);
            at = found + 1;
            if (found + 1 < text.size() && text.at(found).isHighSurrogate())
                ++at;
        } else if (pending < 0) {
            pending = i;
            pendingFrom = at;
        }
    }
    settle(text.size());
}

void FontSet::write(FileWriter &writer)
{
    for (const std::unique_ptr<Face> &f : m_faces) {
        Face &face = *f;
        hb_subset_input_t *input = hb_subset_input_create_or_fail();
        if (!input)
            continue;
        hb_set_t *glyphs = hb_subset_input_glyph_set(input);
        hb_set_add(glyphs, 0);
        std::vector<quint32> used;
        for (quint32 g = 0; g < face.glyphCount; ++g) {
            if (face.used[g]) {
                hb_set_add(glyphs, g);
                used.push_back(g);
            }
        }
        hb_set_t *unicodes = hb_subset_input_unicode_set(input);
        for (const auto &[g, s] : face.unicode) {
            const QList<uint> codes = s.toUcs4();
            if (codes.size() == 1)
                hb_set_add(unicodes, codes.first());
        }
        // Glyph numbers stay as the pages wrote them; hinting and layout
        // tables are of no use to a viewer drawing placed glyphs.
        hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
        hb_set_t *dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
        for (const char *tag : {"GSUB", "GPOS", "GDEF", "BASE", "JSTF", "MATH", "kern", "morx", "kerx", "DSIG", "vhea",
                                "vmtx", "VORG"})
            hb_set_add(dropped, hb_tag_from_string(tag, 4));
        hb_face_t *subset = hb_subset_or_fail(face.hb, input);
        hb_subset_input_destroy(input);
        QByteArray program;
        if (subset) {
            hb_blob_t *blob = face.cff ? hb_face_reference_table(subset, HB_TAG('C', 'F', 'F', ' ')) : hb_face_reference_blob(subset);
            program = blobBytes(blob);
            hb_blob_destroy(blob);
            hb_face_destroy(subset);
        }

        // A subset tag from the glyphs kept, so two subsets of a face differ.
        quint32 hash = 2166136261u;
        for (quint32 g : used)
            hash = (hash ^ g) * 16777619u;
        std::string name;
        for (int i = 0; i < 6; ++i) {
            name += char('A' + hash % 26);
            hash /= 26;
        }
        name += '+';
        name += postScriptName(face.hb, face.family, face.style);

        const double scale = 1000.0 / face.unitsPerEm;
        const QByteArray &head = face.head;
        const QByteArray &post = face.post;
        objectId(&face, writer);
        const int fileId = program.isEmpty() ? 0 : writer.reserve();
        const int descriptorId = writer.reserve();
        const int cidId = writer.reserve();
        const int mapId = writer.reserve();

        if (fileId) {
            std::string dict = face.cff ? " /Subtype /CIDFontType0C" : " /Length1 ";
            if (!face.cff)
                appendInt(dict, program.size());
            writer.flateStream(fileId, dict, std::string_view(program.constData(), size_t(program.size())));
        }

        std::string d = "<< /Type /FontDescriptor /FontName /" + name + " /Flags ";
        appendInt(d, 4 | (face.italic ? 64 : 0));
        d += " /FontBBox [";
        for (int at : {36, 38, 40, 42}) {
            appendInt(d, std::lround(be16(head, at) * scale));
            d += ' ';
        }
        d += "] /ItalicAngle ";
        appendNumber(d, be16(post, 4) + (quint16(be16(post, 6)) / 65536.0));
        d += " /Ascent ";
        appendInt(d, std::lround(face.ascent));
        d += " /Descent ";
        appendInt(d, -std::lround(face.descent));
        d += " /CapHeight ";
        appendInt(d, std::lround(face.capHeight));
        d += " /StemV 80";
        if (fileId) {
            d += face.cff ? " /FontFile3 " : " /FontFile2 ";
            appendInt(d, fileId);
            d += " 0 R";
        }
        d += " >>";
        writer.object(descriptorId, d);

        std::string c = "<< /Type /Font /Subtype ";
        c += face.cff ? "/CIDFontType0" : "/CIDFontType2";
        c += " /BaseFont /" + name + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>";
        c += " /FontDescriptor ";
        appendInt(c, descriptorId);
        c += " 0 R";
        if (!face.cff)
            c += " /CIDToGIDMap /Identity";
        c += " /DW 0 /W [";
        for (size_t i = 0; i < used.size();) {
            size_t j = i;
            while (j + 1 < used.size() && used[j + 1] == used[j] + 1)
                ++j;
            appendInt(c, used[i]);
            c += " [";
            for (size_t k = i; k <= j; ++k) {
                appendInt(c, width(&face, used[k]));
                c += ' ';
            }
            c += "] ";
            i = j + 1;
        }
        c += "] >>";
        writer.object(cidId, c);

        std::string map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                          "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                          "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                          "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
        std::vector<std::pair<quint32, const QString *>> entries;
        for (const auto &[g, s] : face.unicode) {
            if (g <= 0xffff && face.used[g])
                entries.emplace_back(g, &s);
        }
        for (size_t i = 0; i < entries.size(); i += 100) {
            const size_t n = std::min<size_t>(100, entries.size() - i);
            appendInt(map, qint64(n));
            map += " beginbfchar\n";
            for (size_t k = i; k < i + n; ++k) {
                map += '<';
                appendHex4(map, entries[k].first);
                map += "> <";
                for (const QChar ch : *entries[k].second)
                    appendHex4(map, ch.unicode());
                map += ">\n";
            }
            map += "endbfchar\n";
        }
        map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
        writer.flateStream(mapId, "", map);

        std::string t = "<< /Type /Font /Subtype /Type0 /BaseFont /" + name + " /Encoding /Identity-H /DescendantFonts [";
        appendInt(t, cidId);
        t += " 0 R] /ToUnicode ";
        appendInt(t, mapId);
        t += " 0 R >>";
        writer.object(face.id, t);
    }
}

} // namespace Orv::Pdf
