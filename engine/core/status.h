#pragma once

#include <QMetaType>
#include <QString>

namespace Orv {

// Error numbers follow Visual Basic's run-time error numbers, so that a
// message box built from them reads as users of such tools know it.
enum ErrorNumber : int {
    ErrInvalidCall = 5,          // Invalid procedure call or argument
    ErrOverflow = 6,
    ErrSubscript = 9,            // Subscript out of range
    ErrTypeMismatch = 13,
    ErrFileNotFound = 53,
    ErrFileAlreadyOpen = 55,
    ErrPathAccess = 75,          // Path/File access error
    ErrBadFileFormat = 321,      // Invalid file format
    ErrPropertyReadOnly = 383,
    ErrNoSuchMember = 438,       // Object doesn't support this property or method
    ErrCannotCreateObject = 429,
    ErrKeyExists = 457,          // This key is already associated with an element of this collection
    ErrInvalidPropertyValue = 380,
};

// The outcome of an operation that can fail: success, or an error number
// with a description and the place it came from. Errors are values, not
// exceptions, so callers decide whether to show, log or ignore them.
class Status
{
public:
    Status() = default;

    static Status failure(int number, QString description, QString source = QString())
    {
        Status s;
        s.m_failed = true;
        s.m_number = number;
        s.m_description = std::move(description);
        s.m_source = std::move(source);
        return s;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }

private:
    bool m_failed = false;
    int m_number = 0;
    QString m_description;
    QString m_source;
};

} // namespace Orv

Q_DECLARE_METATYPE(Orv::Status)
