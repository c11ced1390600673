#pragma once
// The file level of our PDF writer: numbered objects written one after
// the other to a device through a buffer, their offsets kept for the
// cross-reference table, and the helpers that format PDF tokens (numbers,
// names, text strings) into byte strings quickly. Nothing but the offsets
// is kept once an object is written.
#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace Orv::Pdf {

// Appends a number with at most two decimals ("12", "-0.5", "3.14").
void appendNumber(std::string &out, double value);
// Appends a number with at most `decimals` decimals (0 to 6).
void appendNumber(std::string &out, double value, int decimals);
void appendInt(std::string &out, long long value);
// A text string as UTF-16BE hex with its byte-order mark: <FEFF0041>.
std::string textString(const QString &text);
// Four hex digits, as glyph codes and CMaps write them.
void appendHex4(std::string &out, unsigned value);

// Compresses with zlib at a speed-oriented level; the output is a zlib
// stream as /FlateDecode reads it.
std::string deflate(std::string_view data, int level = 2);

class FileWriter
{
public:
    explicit FileWriter(QIODevice *device);

    // A new object number, to be written later (objects may refer to it
    // first). Safe on any thread; the rest is for the writing thread only.
    int reserve();
    // Writes a whole object: "n 0 obj\n<body>\nendobj\n".
    void object(int id, std::string_view body);
    // Writes a stream object; dictionary holds the entries besides /Length
    // (without << >>), data is written as given (already compressed when
    // the dictionary says so).
    void stream(int id, std::string_view dictionary, std::string_view data);
    // Compresses data and writes it as a /FlateDecode stream.
    void flateStream(int id, std::string_view dictionary, std::string_view data);

    // Writes the cross-reference table and the trailer (trailerEntries
    // without << >>, e.g. "/Root 1 0 R /Info 3 0 R"), then flushes.
    void finish(std::string_view trailerEntries);

    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    // Bytes written so far.
    qint64 position() const { return m_position + qint64(m_buffer.size()); }

private:
    void raw(std::string_view bytes);
    void begin(int id);
    void flush();

    QIODevice *m_device;
    std::string m_buffer;
    qint64 m_position = 0; // bytes already handed to the device
    std::vector<qint64> m_offsets; // by object number; -1 (or beyond the end) reserved, not yet written
    std::atomic<int> m_next{1};    // object 0 heads the free list
    QString m_error;
};

} // namespace Orv::Pdf
