#include "engine/export/pdfexporter.h"

#include "engine/core/units.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

// qpdf's headers: use std::shared_ptr, not its old PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <stdexcept>

namespace Orv {

namespace {

// Letter, for pages without a size.
constexpr double DefaultPageWidth = 12240;
constexpr double DefaultPageHeight = 15840;
// PDF viewers refuse pages beyond 200 inches.
constexpr double MaxPageTwips = 200 * Units::TwipsPerInch;

QPageLayout layoutFor(const Page &page)
{
    double w = page.size.width();
    double h = page.size.height();
    if (!(w > 0 && h > 0)) {
        w = DefaultPageWidth;
        h = DefaultPageHeight;
    }
    w = qMin(w, MaxPageTwips);
    h = qMin(h, MaxPageTwips);
    const QPageSize size(QSizeF(w / Units::TwipsPerPoint, h / Units::TwipsPerPoint), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

// Hands qpdf's output to a Qt device.
class DevicePipeline : public Pipeline
{
public:
    explicit DevicePipeline(QIODevice *device) : Pipeline("output", nullptr), m_device(device) {}
    void write(unsigned char const *data, size_t len) override
    {
        if (m_device->write(reinterpret_cast<const char *>(data), qint64(len)) != qint64(len))
            throw std::runtime_error(m_device->errorString().toStdString());
    }
    void finish() override {}

private:
    QIODevice *m_device;
};

} // namespace

QStringList PdfExporter::settingNames() const
{
    return {QStringLiteral("Title"),    QStringLiteral("Author"),   QStringLiteral("Creator"),
            QStringLiteral("Subject"),  QStringLiteral("Keywords"), QStringLiteral("Resolution")};
}

Status PdfExporter::parseSettings(const QVariantMap &settings, PdfSettings *out) const
{
    Status status = checkSettingNames(settings);
    if (!status.ok())
        return status;
    PdfSettings s;
    const auto text = [&](const QString &name, QString *target) {
        const QVariant v = setting(settings, name);
        if (!v.isValid())
            return true;
        if (!v.canConvert<QString>()) {
            status = failure(ErrTypeMismatch, QStringLiteral("PDF setting %1 must be text").arg(name));
            return false;
        }
        *target = v.toString();
        return true;
    };
    if (!text(QStringLiteral("Title"), &s.title) || !text(QStringLiteral("Author"), &s.author)
        || !text(QStringLiteral("Creator"), &s.creator) || !text(QStringLiteral("Subject"), &s.subject)
        || !text(QStringLiteral("Keywords"), &s.keywords))
        return status;
    const QVariant resolution = setting(settings, QStringLiteral("Resolution"));
    if (resolution.isValid()) {
        bool ok = false;
        const int dpi = resolution.toInt(&ok);
        if (!ok)
            return failure(ErrTypeMismatch, QStringLiteral("PDF setting Resolution must be a number"));
        if (dpi < 72 || dpi > 9600)
            return failure(ErrInvalidPropertyValue,
                           QStringLiteral("PDF setting Resolution %1 is outside 72 to 9600").arg(dpi));
        s.resolution = dpi;
    }
    *out = s;
    return {};
}

Status PdfExporter::writePdf(const PageCollection &pages, QIODevice *device, const PdfSettings &settings,
                             const ExportProgress &progress) const
{
    const int count = pages.Count();
    Status status;
    std::shared_ptr<const Page> page = pages.page(0, &status);
    if (!page)
        return status;
    QPdfWriter writer(device);
    writer.setResolution(settings.resolution);
    writer.setTitle(settings.title);
    writer.setCreator(settings.creator);
    writer.setPageLayout(layoutFor(*page));
    QPainter painter;
    if (!painter.begin(&writer))
        return failure(ErrPathAccess, QStringLiteral("Cannot start the PDF file"));
    const PagePainter pagePainter(&pages);
    progress.report(0, count);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            painter.end();
            return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
        }
        if (i > 0) {
            page = pages.page(i, &status);
            if (!page) {
                painter.end();
                return status;
            }
            writer.setPageLayout(layoutFor(*page));
            writer.newPage();
        }
        pagePainter.paint(painter, *page);
        progress.report(i + 1, count);
    }
    painter.end();
    return {};
}

Status PdfExporter::postProcess(const QString &input, QIODevice *output, const PdfSettings &settings) const
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(input).constData());
        QPDFObjectHandle trailer = pdf.getTrailer();
        QPDFObjectHandle info = trailer.getKey("/Info");
        if (!info.isDictionary()) {
            info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            trailer.replaceKey("/Info", info);
        }
        const auto put = [&info](const char *key, const QString &value) {
            if (!value.isEmpty())
                info.replaceKey(key, QPDFObjectHandle::newUnicodeString(value.toStdString()));
        };
        put("/Author", settings.author);
        put("/Subject", settings.subject);
        put("/Keywords", settings.keywords);
        DevicePipeline sink(output);
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&sink);
        writer.write();
    } catch (const std::exception &e) {
        return failure(ErrPathAccess, QStringLiteral("Cannot finish the PDF file: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return {};
}

Status PdfExporter::write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                          const ExportProgress &progress)
{
    PdfSettings options;
    Status status = parseSettings(settings, &options);
    if (!status.ok())
        return status;
    if (pages.Count() == 0)
        return failure(ErrInvalidCall, QStringLiteral("There are no pages to export"));
    if (path.isEmpty())
        return failure(ErrInvalidCall, QStringLiteral("No file name given"));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    if (options.needsPostProcessing()) {
        // Qt writes a first version beside the target; qpdf rewrites it into place.
        QTemporaryFile draft(QFileInfo(path).absolutePath() + QStringLiteral("/.orvpdf-XXXXXX.tmp"));
        if (!draft.open())
            return failure(ErrPathAccess, QStringLiteral("Cannot write beside %1: %2").arg(path, draft.errorString()));
        status = writePdf(pages, &draft, options, progress);
        if (status.ok() && !draft.flush())
            status = failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(path, draft.errorString()));
        if (status.ok())
            status = postProcess(draft.fileName(), &file, options);
    } else {
        status = writePdf(pages, &file, options, progress);
    }
    if (!status.ok()) {
        file.cancelWriting();
        return status;
    }
    if (!file.commit())
        return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return {};
}

} // namespace Orv
