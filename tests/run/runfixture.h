#pragma once
// Shared by the run tests: the sample database at scale 1 in a temporary
// folder, running layouts given as XML, and reading pages back.
#include "engine/core/status.h"
#include "engine/pages/page.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace Orv {
class ReportRun;
}

namespace RunTest {

// The sample database, written once per test program.
QString databasePath();
QString connection();
// The first column of the first row of a statement on the sample database.
QVariant sqlValue(const QString &sql);
QVariantList sqlColumn(const QString &sql);

struct Result
{
    Orv::Status status;
    QList<Orv::Status> errors;
    std::vector<std::shared_ptr<const Orv::Page>> pages;
};

// Runs a layout: body is the XML inside <Report ...>, with $DB$ standing
// for the sample database's connection string; report holds the Report
// element's attributes. setup may adjust the run before it starts.
Result run(const QString &body, const QString &report = QString(),
           const std::function<void(Orv::ReportRun &)> &setup = {});
QByteArray layoutXml(const QString &body, const QString &report = QString());

struct Text
{
    QRectF rect;
    QString text;
};
// Every text of a page in drawing order.
std::vector<Text> texts(const Orv::Page &page);
QStringList textList(const Orv::Page &page);
// The texts of all pages whose box starts at the given left edge.
QStringList column(const Result &result, double left);
// One line per operation, positions in twips: a reference rendering.
QString dump(const Orv::Page &page);

} // namespace RunTest
