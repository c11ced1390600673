#pragma once
// Binary form of a page, shared by the page collection's spill file and by
// archives. Little-endian, doubles as IEEE 754, strings as a 32-bit byte
// count and UTF-8. Every read is checked against the bytes that remain, so
// a damaged or hostile buffer gives an error text, never an over-read or an
// allocation larger than the buffer.
#include "engine/pages/page.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace Orv::PageIO {

// Version of the page encoding; archives record it in their header.
// Version 2 added polygons and pies; version 1 pages read unchanged.
constexpr quint16 PageFormatVersion = 2;
constexpr quint16 OldestPageFormatVersion = 1;

class Writer
{
public:
    explicit Writer(QByteArray &buffer) : m_buffer(buffer) {}
    void u8(quint8 v) { m_buffer.append(char(v)); }
    void u16(quint16 v);
    void u32(quint32 v);
    void i32(qint32 v) { u32(quint32(v)); }
    void f64(double v);
    void str(const QString &s);
    void bytes(const QByteArray &b);
    void rect(const QRectF &r);
    void point(const QPointF &p);

private:
    QByteArray &m_buffer;
};

class Reader
{
public:
    Reader(const char *data, qsizetype size) : m_pos(data), m_end(data + size) {}
    explicit Reader(const QByteArray &b) : Reader(b.constData(), b.size()) {}

    quint8 u8();
    quint16 u16();
    quint32 u32();
    qint32 i32() { return qint32(u32()); }
    double f64();
    // A coordinate in twips: finite and within the model's range.
    double twips();
    QString str();
    QByteArray bytes();
    QRectF rect();
    QPointF point();
    // A count of items each at least minItemSize bytes long: refused when
    // the remaining bytes cannot hold that many.
    quint32 count(qsizetype minItemSize, const char *what);

    qsizetype remaining() const { return m_end - m_pos; }
    bool ok() const { return m_error.isEmpty(); }
    bool atEnd() const { return m_pos == m_end; }
    const QString &error() const { return m_error; }
    void fail(const QString &error);
    // Puts a place in front of the error text ("operation 4: truncated").
    void locate(const QString &where) { m_error = where + QStringLiteral(": ") + m_error; }

private:
    bool need(qsizetype n);
    const char *m_pos;
    const char *m_end;
    QString m_error;
};

// Where a page's fonts go: inline with the page (spill file), or as indexes
// into a table shared by every page (archives).
struct FontTable
{
    std::vector<PageFont> fonts;
    int index(const PageFont &font);
};

void writeFont(Writer &w, const PageFont &font);
bool readFont(Reader &r, PageFont *font);

// Writes a page; with a table its fonts are written as table indexes.
void writePage(Writer &w, const Page &page, FontTable *table = nullptr);
// Reads a page written by writePage. imageCount bounds image indexes; a
// table must be given when the page was written with one, and only its
// first tableLimit fonts may be referred to. On failure the reader's error
// says what is wrong (op number included).
bool readPage(Reader &r, Page *page, int imageCount, const std::vector<PageFont> *table = nullptr,
              size_t tableLimit = size_t(-1));

QByteArray pageBytes(const Page &page);
bool pageFromBytes(const QByteArray &bytes, Page *page, int imageCount, QString *error);

} // namespace Orv::PageIO
