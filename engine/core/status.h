#pragma once

#include "engine/core/errors.h"

#include <QMetaType>
#include <QString>

#include <tuple> // std::ignore, for dropping a Status on purpose

namespace Orv {

// The outcome of an operation that can fail: success, or an error number
// with a description and the place it came from. Errors are values, not
// exceptions, so callers decide whether to show, log or ignore them; one
// ignored is written "std::ignore = ...;" with the reason beside it.
class [[nodiscard]] Status
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
