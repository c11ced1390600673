#pragma once
// The fonts of a PDF: one Type0 font (Identity-H, the glyph's index as its
// code) for each installed face the texts draw with, whatever its size.
// Pages record the glyphs they show and the text each stands for; at the
// end each face is embedded as a subset made by HarfBuzz that keeps the
// glyph numbers (so the codes written into the pages stay right), with its
// widths and a ToUnicode map that gives text extraction the characters.
// TrueType outlines become CIDFontType2, CFF outlines (the CJK faces)
// CIDFontType0 with a bare CFF program.
#include <QRawFont>
#include <QString>

#include <memory>
#include <vector>

namespace Orv::Pdf {

class FileWriter;

class FontSet
{
public:
    struct Face;

    FontSet();
    ~FontSet();
    FontSet(const FontSet &) = delete;
    FontSet &operator=(const FontSet &) = delete;

    // The face of a glyph run's font, made on first use; null when the
    // font has no outlines to embed. Safe to call from several threads at
    // once (texts are laid out on worker threads); the face keeps nothing
    // of the font itself, so it outlives the thread's font engines.
    Face *face(const QRawFont &font);
    // The face's font object number, reserved the first time it is asked.
    // Like use() and width(), safe on any thread.
    static int objectId(Face *face, FileWriter &writer);
    // Marks glyphs as used; the text they were shaped from gives each its
    // characters the first time it is seen.
    void use(Face *face, const quint32 *glyphs, int count, const QString &text);
    // Advance of a glyph in thousandths of an em, as the font's widths declare it.
    static int width(Face *face, quint32 glyph);

    // Embeds every face's subset with its font dictionaries.
    void write(FileWriter &writer);

private:
    std::vector<std::unique_ptr<Face>> m_faces;
    struct Cache; // and the lock face() takes
    std::unique_ptr<Cache> m_cache;
};

} // namespace Orv::Pdf
