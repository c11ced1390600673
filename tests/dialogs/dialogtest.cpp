#include "dialogtest.h"

#include "engine/data/sampledatabase.h"
#include "engine/export/exporter.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/scriptedrun.h"

#include <QTemporaryDir>

#include <poppler-qt6.h>

namespace DialogTest {

namespace {
QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

QString connection()
{
    static const QString path = [] {
        const QString p = folder().filePath(QStringLiteral("tesserane.db"));
        const Orv::Status s = Orv::Data::createSampleDatabase(p, 1);
        Q_ASSERT(s.ok());
        return p;
    }();
    return QStringLiteral("Provider=SQLite;Data Source=") + path;
}

Orv::Status runToPdf(Orv::Report &report, const QString &name, QString *pdfPath)
{
    // Built as the preview builds it, so page-number expressions work.
    Orv::Script::ScriptedRunOptions options;
    options.connectionString = connection();
    const auto scripted = Orv::Script::ScriptedRun::copyOf(report, options);
    if (Orv::Status s = scripted->start(false); !s.ok())
        return s;
    Orv::ReportRun &run = *scripted->run();
    if (!run.errors().isEmpty())
        return run.errors().first();
    *pdfPath = folder().filePath(name + QStringLiteral(".pdf"));
    return Orv::exportPages(*run.Pages(), *pdfPath);
}

std::unique_ptr<Poppler::Document> loadPdf(const QString &path)
{
    return Poppler::Document::load(path);
}

QStringList pageTexts(const Poppler::Document &doc)
{
    QStringList out;
    for (int i = 0; i < doc.numPages(); ++i)
        out << std::unique_ptr<Poppler::Page>(doc.page(i))->text(QRectF()).simplified();
    return out;
}

QSizeF pageSize(const Poppler::Document &doc, int page)
{
    return std::unique_ptr<Poppler::Page>(doc.page(page))->pageSizeF();
}

double wordLeft(const Poppler::Document &doc, int page, const QString &word)
{
    const std::unique_ptr<Poppler::Page> p(doc.page(page));
    for (const auto &box : p->textList()) {
        if (box->text() == word)
            return box->boundingBox().left();
    }
    return -1;
}

double leftmostText(const Poppler::Document &doc, int page)
{
    const std::unique_ptr<Poppler::Page> p(doc.page(page));
    double left = -1;
    for (const auto &box : p->textList()) {
        if (left < 0 || box->boundingBox().left() < left)
            left = box->boundingBox().left();
    }
    return left;
}

} // namespace DialogTest
