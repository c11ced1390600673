#include "engine/export/pdfobjects.h"

#include <QIODevice>

#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace Orv::Pdf {

namespace {

constexpr size_t FlushSize = 256 * 1024;

void appendDigits(std::string &out, unsigned long long v)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    while (n)
        out += digits[--n];
}

constexpr long long Powers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

} // namespace

void appendInt(std::string &out, long long value)
{
    if (value < 0) {
        out += '-';
        appendDigits(out, static_cast<unsigned long long>(-(value + 1)) + 1);
    } else {
        appendDigits(out, static_cast<unsigned long long>(value));
    }
}

void appendNumber(std::string &out, double value, int decimals)
{
    if (!std::isfinite(value) || std::fabs(value) > 1e15) {
        out += '0';
        return;
    }
    decimals = decimals < 0 ? 0 : decimals > 6 ? 6 : decimals;
    const long long scale = Powers[decimals];
    long long scaled = std::llround(value * double(scale));
    if (scaled < 0) {
        out += '-';
        scaled = -scaled;
    }
    appendDigits(out, static_cast<unsigned long long>(scaled / scale));
    long long fraction = scaled % scale;
    if (fraction == 0)
        return;
    int width = decimals;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --width;
    }
    out += '.';
    char digits[8];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = char('0' + fraction % 10);
        fraction /= 10;
    }
    out.append(digits, size_t(width));
}

void appendNumber(std::string &out, double value)
{
    appendNumber(out, value, 2);
}

void appendHex4(std::string &out, unsigned value)
{
    static const char hex[] = "0123456789ABCDEF";
    const char digits[4] = {hex[(value >> 12) & 15], hex[(value >> 8) & 15], hex[(value >> 4) & 15], hex[value & 15]};
    out.append(digits, 4);
}

std::string textString(const QString &text)
{
    std::string out = "<FEFF";
    for (const QChar c : text)
        appendHex4(out, c.unicode());
    out += '>';
    return out;
}

std::string deflate(std::string_view data, int level)
{
    // One stream a thread, reset for each use: initialising zlib costs more
    // than compressing a small page.
    struct Stream
    {
        z_stream z{};
        bool ready = false;
        ~Stream()
        {
            if (ready)
                deflateEnd(&z);
        }
    };
    thread_local Stream s;
    thread_local int streamLevel = -1;
    if (s.ready && streamLevel != level) {
        deflateEnd(&s.z);
        s.ready = false;
    }
    if (!s.ready) {
        s.z = z_stream{};
        if (deflateInit(&s.z, level) != Z_OK)
            return {};
        s.ready = true;
        streamLevel = level;
    } else {
        deflateReset(&s.z);
    }
    std::string out;
    out.resize(deflateBound(&s.z, uLong(data.size())));
    s.z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    s.z.avail_in = uInt(data.size());
    s.z.next_out = reinterpret_cast<Bytef *>(out.data());
    s.z.avail_out = uInt(out.size());
    const int result = ::deflate(&s.z, Z_FINISH);
    if (result != Z_STREAM_END)
        return {};
    out.resize(s.z.total_out);
    return out;
}

FileWriter::FileWriter(QIODevice *device) : m_device(device)
{
    m_offsets.push_back(0); // object 0 heads the free list
    m_buffer.reserve(FlushSize + 64 * 1024);
    // The binary comment tells transfer programs the file is not text.
    raw("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

int FileWriter::reserve()
{
    return m_next.fetch_add(1, std::memory_order_relaxed);
}

void FileWriter::begin(int id)
{
    if (id <= 0 || id >= m_next.load(std::memory_order_relaxed))
        return;
    if (size_t(id) >= m_offsets.size())
        m_offsets.resize(size_t(id) + 1, -1);
    m_offsets[size_t(id)] = position();
    std::string head;
    appendInt(head, id);
    head += " 0 obj\n";
    raw(head);
}

void FileWriter::object(int id, std::string_view body)
{
    begin(id);
    raw(body);
    raw("\nendobj\n");
}

void FileWriter::stream(int id, std::string_view dictionary, std::string_view data)
{
    begin(id);
    std::string head = "<<";
    head += dictionary;
    head += " /Length ";
    appendInt(head, qint64(data.size()));
    head += ">>\nstream\n";
    raw(head);
    raw(data);
    raw("\nendstream\nendobj\n");
}

void FileWriter::flateStream(int id, std::string_view dictionary, std::string_view data)
{
    std::string dict(dictionary);
    dict += " /Filter /FlateDecode";
    stream(id, dict, deflate(data));
}

void FileWriter::finish(std::string_view trailerEntries)
{
    const qint64 xref = position();
    m_offsets.resize(size_t(m_next.load()), -1);
    std::string out = "xref\n0 ";
    appendInt(out, qint64(m_offsets.size()));
    out += "\n0000000000 65535 f \n";
    raw(out);
    for (size_t i = 1; i < m_offsets.size(); ++i) {
        // 20 bytes an entry; offsets stay below 10^10 (PDF's own limit).
        char entry[32];
        // An object reserved but never written is a free entry.
        if (m_offsets[i] < 0)
            std::snprintf(entry, sizeof entry, "%010d 00000 f \n", 0);
        else
            std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(m_offsets[i]));
        raw(std::string_view(entry, 20));
    }
    out = "trailer\n<< /Size ";
    appendInt(out, qint64(m_offsets.size()));
    out += ' ';
    out += trailerEntries;
    out += " >>\nstartxref\n";
    appendInt(out, xref);
    out += "\n%%EOF\n";
    raw(out);
    flush();
}

void FileWriter::raw(std::string_view bytes)
{
    if (bytes.size() >= FlushSize) {
        flush();
        if (ok() && m_device->write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
            m_error = m_device->errorString();
        m_position += qint64(bytes.size());
        return;
    }
    m_buffer.append(bytes);
    if (m_buffer.size() >= FlushSize)
        flush();
}

void FileWriter::flush()
{
    if (m_buffer.empty())
        return;
    if (ok() && m_device->write(m_buffer.data(), qint64(m_buffer.size())) != qint64(m_buffer.size()))
        m_error = m_device->errorString();
    m_position += qint64(m_buffer.size());
    m_buffer.clear();
}

} // namespace Orv::Pdf
