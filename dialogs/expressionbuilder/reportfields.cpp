#include "dialogs/expressionbuilder/reportfields.h"

#include "engine/data/connection.h"
#include "engine/data/reportdata.h"
#include "engine/model/report.h"

#include <QPointer>
#include <QThread>

#include <memory>

namespace Orv {

namespace {

struct Outcome
{
    QStringList fields;
    Status status;
};

QStringList columnsOf(const Data::ReportDataSource &source, Status *status)
{
    Data::Connection connection; // read-only: only the statement's columns are wanted
    Status s = connection.Open(source.connectionString);
    QStringList names;
    if (s.ok()) {
        std::unique_ptr<Data::Recordset> rows = connection.Execute(source.sql, &s);
        if (s.ok() && rows) {
            for (int i = 0; i < rows->fields()->count(); ++i)
                names << rows->fields()->at(i)->name();
            rows->Close();
        }
        connection.Close();
    }
    *status = s;
    return names;
}

} // namespace

ReportFields::ReportFields(QObject *parent) : QObject(parent) {}

ReportFields::~ReportFields() = default;

QStringList ReportFields::read(const Report &report, const QString &reportFolder, Status *status)
{
    *status = Status();
    const Control *control = Data::findDataControl(report);
    if (!control)
        return {};
    const Data::ReportDataSource source = Data::dataSourceOf(*control, reportFolder, QString(), status);
    if (!status->ok())
        return {};
    return columnsOf(source, status);
}

void ReportFields::start(const Report &report, const QString &reportFolder)
{
    const quint64 generation = ++m_generation;
    m_fields.clear();
    m_error = Status();
    const Control *control = Data::findDataControl(report);
    if (!control) {
        m_state = State::NoDataSource;
        Q_EMIT finished();
        return;
    }
    Status status;
    const Data::ReportDataSource source = Data::dataSourceOf(*control, reportFolder, QString(), &status);
    if (!status.ok()) {
        m_state = State::Failed;
        m_error = status;
        Q_EMIT finished();
        return;
    }
    m_state = State::Reading;
    auto outcome = std::make_shared<Outcome>();
    // The thread keeps only copies; when this object is gone before it
    // ends, the answer is dropped and the thread deletes itself.
    QThread *thread = QThread::create([source, outcome] { outcome->fields = columnsOf(source, &outcome->status); });
    connect(thread, &QThread::finished, this, [this, outcome, generation] {
        if (generation != m_generation)
            return;
        m_fields = outcome->fields;
        m_error = outcome->status;
        m_state = outcome->status.ok() ? State::Ready : State::Failed;
        Q_EMIT finished();
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

} // namespace Orv
