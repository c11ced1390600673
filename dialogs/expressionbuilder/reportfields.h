#pragma once
// The fields of a report's data source, read on a thread of their own so
// that a slow or unreachable database never holds up a dialog.
#include "engine/core/status.h"

#include <QObject>
#include <QStringList>

namespace Orv {

class Report;

class ReportFields : public QObject
{
    Q_OBJECT

public:
    enum class State { NoDataSource, Reading, Ready, Failed };

    explicit ReportFields(QObject *parent = nullptr);
    ~ReportFields() override;

    // Starts reading the columns of the statement of report's data control.
    // reportFolder finds a relative database file.
    void start(const Report &report, const QString &reportFolder);
    // Reads on the calling thread (tests, the command line).
    static QStringList read(const Report &report, const QString &reportFolder, Status *status);

    State state() const { return m_state; }
    const QStringList &fields() const { return m_fields; }
    // Why the fields could not be read (state Failed).
    const Status &error() const { return m_error; }

Q_SIGNALS:
    void finished();

private:
    State m_state = State::NoDataSource;
    QStringList m_fields;
    Status m_error;
    quint64 m_generation = 0;
};

} // namespace Orv
