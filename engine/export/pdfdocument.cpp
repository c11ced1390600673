#include "engine/export/pdfdocument.h"

#include "engine/core/units.h"
#include "engine/export/pdfcompressor.h"
#include "engine/export/pdfcontent.h"
#include "engine/export/pdffonts.h"
#include "engine/export/pdfimages.h"
#include "engine/export/pdfobjects.h"
#include "engine/export/pdfpagewriter.h"

#include <QDateTime>

#include <algorithm>

namespace Orv::Pdf {

namespace {

// Letter, for pages without a size.
constexpr double DefaultPageWidth = 12240;
constexpr double DefaultPageHeight = 15840;
// PDF viewers refuse pages beyond 200 inches.
constexpr double MaxPageTwips = 200 * Units::TwipsPerInch;
// Pages waiting for compression at most: a few per worker.
constexpr size_t QueueLimit = 8;

std::string date(const QDateTime &when)
{
    const QDateTime local = when.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    QString text = local.toString(QStringLiteral("'D:'yyyyMMddHHmmss"));
    if (offset == 0)
        text += QLatin1Char('Z');
    else
        text += QStringLiteral("%1%2'%3'")
                    .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                    .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
    std::string out(1, '(');
    out += text.toStdString();
    out += ')';
    return out;
}

} // namespace

struct Document::Private
{
    Private(QIODevice *device, const PageCollection *collection, int resolution, int jpegQuality)
        : collection(collection), file(device), images(jpegQuality), pages(file, fonts, images, collection, resolution),
          compressor(Compressor::defaultWorkers(), QueueLimit, [this](Compressor::Job &job) { write(job); })
    {
        catalogId = file.reserve();
        treeId = file.reserve();
    }

    // A compressed page comes back: its content stream, then the page.
    void write(Compressor::Job &job)
    {
        file.stream(job.id, " /Filter /FlateDecode", job.data);
        file.object(job.pageId, job.extra);
    }

    const PageCollection *collection;
    FileWriter file;
    FontSet fonts;
    ImageSet images;
    PageWriter pages;
    Compressor compressor;
    int catalogId = 0;
    int treeId = 0;
    std::vector<int> pageIds;
    std::vector<double> pageHeights; // points
};

Document::Document(QIODevice *device, const PageCollection *images, int resolution, int jpegQuality)
    : d(std::make_unique<Private>(device, images, resolution, jpegQuality))
{
}

Document::~Document() = default;

bool Document::ok() const
{
    return d->file.ok();
}

QString Document::error() const
{
    return d->file.error();
}

std::shared_ptr<const PageTexts> Document::prepare(const Page &page) const
{
    return d->pages.prepare(page);
}

void Document::addPage(const Page &page, const PageTexts *prepared)
{
    double w = page.size.width();
    double h = page.size.height();
    if (!(w > 0 && h > 0)) {
        w = DefaultPageWidth;
        h = DefaultPageHeight;
    }
    w = std::min(w, MaxPageTwips) / Units::TwipsPerPoint;
    h = std::min(h, MaxPageTwips) / Units::TwipsPerPoint;

    Content content;
    // Twips, y downwards, from the top-left corner.
    content.transform(1 / Units::TwipsPerPoint, 0, 0, -1 / Units::TwipsPerPoint, 0, h);
    d->pages.paint(page, content, prepared);

    Compressor::Job job;
    job.id = d->file.reserve();
    job.pageId = d->file.reserve();
    std::string &p = job.extra;
    p = "<< /Type /Page /Parent ";
    appendInt(p, d->treeId);
    p += " 0 R /MediaBox [0 0 ";
    appendNumber(p, w);
    p += ' ';
    appendNumber(p, h);
    p += "] /Resources ";
    p += content.resources().dictionary();
    p += " /Contents ";
    appendInt(p, job.id);
    p += " 0 R >>";
    job.data = std::move(content.data());
    d->pageIds.push_back(job.pageId);
    d->pageHeights.push_back(h);
    d->compressor.push(std::move(job));
}

void Document::finish(const DocumentInfo &info, const std::vector<PdfOutline::Item> &outline)
{
    d->compressor.finish();
    d->fonts.write(d->file);

    std::string tree = "<< /Type /Pages /Count ";
    appendInt(tree, qint64(d->pageIds.size()));
    tree += " /Kids [";
    for (size_t i = 0; i < d->pageIds.size(); ++i) {
        if (i)
            tree += (i % 16) ? " " : "\n";
        appendInt(tree, d->pageIds[i]);
        tree += " 0 R";
    }
    tree += "] >>";
    d->file.object(d->treeId, tree);

    int outlineId = 0;
    {
        std::vector<qint64> pages(d->pageIds.begin(), d->pageIds.end());
        const size_t count = size_t(std::count_if(outline.begin(), outline.end(), [&](const PdfOutline::Item &item) {
            return item.page >= 0 && size_t(item.page) < pages.size();
        }));
        if (count > 0) {
            // Consecutive numbers, as the items refer to each other by them.
            std::vector<int> ids;
            for (size_t i = 0; i <= count; ++i)
                ids.push_back(d->file.reserve());
            outlineId = ids.front();
            PdfOutline::objects(outline, pages, outlineId, [&](qint64 index, const QByteArray &body) {
                d->file.object(ids[size_t(index)], std::string_view(body.constData(), size_t(body.size())));
            });
        }
    }

    const int infoId = d->file.reserve();
    std::string i = "<<";
    const auto put = [&i](const char *key, const QString &value) {
        if (value.isEmpty())
            return;
        i += key;
        i += ' ';
        i += textString(value);
    };
    put(" /Title", info.title);
    put(" /Author", info.author);
    put(" /Creator", info.creator);
    put(" /Subject", info.subject);
    put(" /Keywords", info.keywords);
    i += " /Producer ";
    i += textString(QStringLiteral("OrvReport"));
    i += " /CreationDate ";
    i += date(QDateTime::currentDateTime());
    i += " >>";
    d->file.object(infoId, i);

    std::string catalog = "<< /Type /Catalog /Pages ";
    appendInt(catalog, d->treeId);
    catalog += " 0 R";
    if (outlineId) {
        catalog += " /Outlines ";
        appendInt(catalog, outlineId);
        catalog += " 0 R /PageMode /UseOutlines";
    }
    catalog += " >>";
    d->file.object(d->catalogId, catalog);

    std::string trailer = "/Root ";
    appendInt(trailer, d->catalogId);
    trailer += " 0 R /Info ";
    appendInt(trailer, infoId);
    trailer += " 0 R";
    d->file.finish(trailer);
}

} // namespace Orv::Pdf
