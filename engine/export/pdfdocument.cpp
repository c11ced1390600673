#include "engine/export/pdfdocument.h"

#include "engine/core/units.h"
#include "engine/export/pdfcontent.h"
#include "engine/export/pdffonts.h"
#include "engine/export/pdfimages.h"
#include "engine/export/pdfobjects.h"
#include "engine/export/pdfpagewriter.h"

#include <QDateTime>

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace Orv::Pdf {

namespace {

// Letter, for pages without a size.
constexpr double DefaultPageWidth = 12240;
constexpr double DefaultPageHeight = 15840;
// PDF viewers refuse pages beyond 200 inches.
constexpr double MaxPageTwips = 200 * Units::TwipsPerInch;

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

struct PagePlan
{
    struct Form
    {
        int id;
        QPointF at; // the late text's box
    };
    std::shared_ptr<const Page> page;
    double width = 0, height = 0; // points
    std::vector<PlacedImage> images;
    std::vector<Form> forms;
    int contentId = 0, pageId = 0;
    // What render() made: the compressed content and the page dictionary.
    std::string content, dictionary;
};

struct Document::Private
{
    Private(QIODevice *device, const PageCollection *collection, int resolution, int jpegQuality)
        : collection(collection), file(device), images(jpegQuality), pages(file, fonts, images, collection, resolution)
    {
        catalogId = file.reserve();
        treeId = file.reserve();
    }

    const PageCollection *collection;
    FileWriter file;
    FontSet fonts;
    ImageSet images;
    PageWriter pages;
    int catalogId = 0;
    int treeId = 0;
    std::vector<int> pageIds;

    // Late texts waiting for their text: the op as the page had it (its
    // font by value) and the form that draws it, by page; forms shared by
    // key; forms written so far.
    struct Waiting
    {
        int op = 0;
        int form = 0;
        std::shared_ptr<const Page> text; // the op alone, at the origin; null: a shared form already held
    };
    std::map<int, std::vector<Waiting>> waiting;
    std::unordered_map<std::string, int> shared;
    std::unordered_set<int> written;

    static std::shared_ptr<const Page> alone(const Page &page, const TextOp &op)
    {
        auto text = std::make_shared<Page>();
        text->size = page.size;
        text->fonts.push_back(op.font >= 0 && size_t(op.font) < page.fonts.size() ? page.fonts[size_t(op.font)] : PageFont());
        TextOp t = op;
        t.rect.moveTopLeft(QPointF(0, 0));
        t.font = 0;
        t.backColor = 0; // the page drew the box
        text->ops.push_back(std::move(t));
        return text;
    }

    // The form a late text is drawn from, and whether it is a new one.
    std::pair<int, bool> formFor(const Page &page, const LateText &late)
    {
        if (!late.key)
            return {file.reserve(), true};
        const auto &op = std::get<TextOp>(page.ops[size_t(late.op)]);
        // The same text in a box of the same size and style looks the same.
        std::string key;
        appendInt(key, qint64(late.key));
        for (double v : {op.rect.width(), op.rect.height()}) {
            key += ' ';
            appendNumber(key, v);
        }
        const PageFont font = op.font >= 0 && size_t(op.font) < page.fonts.size() ? page.fonts[size_t(op.font)] : PageFont();
        key += ' ';
        key += font.family.toStdString();
        for (long long v : {qint64(font.pointSize * 100), qint64(font.bold), qint64(font.italic), qint64(font.underline),
                            qint64(font.strikeOut), qint64(op.foreColor), qint64(op.alignment), qint64(op.wrap),
                            qint64(op.richText), qint64(op.angle)}) {
            key += ' ';
            appendInt(key, v);
        }
        const auto [it, inserted] = shared.try_emplace(std::move(key), 0);
        if (inserted)
            it->second = file.reserve();
        return {it->second, inserted};
    }

    // Writes a form: its text (blank when text is empty) drawn with its
    // box's top-left corner at the origin.
    void writeForm(const Waiting &w, const QString *text)
    {
        if (!w.text || !written.insert(w.form).second)
            return;
        Content content;
        if (text && !text->isEmpty()) {
            Page page = *w.text;
            std::get<TextOp>(page.ops.front()).text = *text;
            pages.paint(page, content);
        }
        std::string dict = "/Type /XObject /Subtype /Form /BBox [-288000 -288000 288000 288000] /Resources ";
        dict += content.resources().dictionary();
        file.flateStream(w.form, dict, content.data());
    }
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

std::shared_ptr<PagePlan> Document::plan(std::shared_ptr<const Page> page, const std::vector<LateText> &late)
{
    auto plan = std::make_shared<PagePlan>();
    double w = page->size.width();
    double h = page->size.height();
    if (!(w > 0 && h > 0)) {
        w = DefaultPageWidth;
        h = DefaultPageHeight;
    }
    plan->width = std::min(w, MaxPageTwips) / Units::TwipsPerPoint;
    plan->height = std::min(h, MaxPageTwips) / Units::TwipsPerPoint;
    plan->images = d->pages.images(*page);
    std::vector<Private::Waiting> forms;
    for (const LateText &l : late) {
        if (l.op < 0 || size_t(l.op) >= page->ops.size() || !std::holds_alternative<TextOp>(page->ops[size_t(l.op)]))
            continue;
        const auto &op = std::get<TextOp>(page->ops[size_t(l.op)]);
        const auto [form, isNew] = d->formFor(*page, l);
        plan->forms.push_back({form, op.rect.topLeft()});
        forms.push_back({l.op, form, isNew ? Private::alone(*page, op) : nullptr});
    }
    if (!forms.empty())
        d->waiting.emplace(int(d->pageIds.size()), std::move(forms));
    plan->contentId = d->file.reserve();
    plan->pageId = d->file.reserve();
    d->pageIds.push_back(plan->pageId);
    plan->page = std::move(page);
    return plan;
}

void Document::render(PagePlan &plan)
{
    Content content;
    // Twips, y downwards, from the top-left corner.
    content.transform(1 / Units::TwipsPerPoint, 0, 0, -1 / Units::TwipsPerPoint, 0, plan.height);
    d->pages.paint(*plan.page, content, &plan.images);
    for (const PagePlan::Form &f : plan.forms) {
        // The form starts from the state a page starts with.
        content.save();
        content.fillColour(0xff000000);
        content.strokeColour(0xff000000);
        content.lineStyle(1, {}, Content::Cap::Flat, Content::Join::Miter);
        content.form(f.id, f.at);
        content.restore();
    }
    std::string &p = plan.dictionary;
    p = "<< /Type /Page /Parent ";
    appendInt(p, d->treeId);
    p += " 0 R /MediaBox [0 0 ";
    appendNumber(p, plan.width);
    p += ' ';
    appendNumber(p, plan.height);
    p += "] /Resources ";
    p += content.resources().dictionary();
    p += " /Contents ";
    appendInt(p, plan.contentId);
    p += " 0 R >>";
    plan.content = deflate(content.data());
    plan.images.clear();
}

void Document::addPage(PagePlan &plan)
{
    d->file.stream(plan.contentId, " /Filter /FlateDecode", plan.content);
    d->file.object(plan.pageId, plan.dictionary);
}

void Document::completePage(int index, const std::vector<LateText> &texts)
{
    const auto it = d->waiting.find(index);
    if (it == d->waiting.end())
        return;
    for (const Private::Waiting &w : it->second) {
        const auto text = std::find_if(texts.begin(), texts.end(), [&](const LateText &t) { return t.op == w.op; });
        d->writeForm(w, text != texts.end() ? &text->text : nullptr);
    }
    d->waiting.erase(it);
}

void Document::finish(const DocumentInfo &info, const PdfOutline::Items &outline)
{
    // Late texts never known (a run stopped early) stay blank.
    for (const auto &[index, forms] : d->waiting) {
        for (const Private::Waiting &w : forms)
            d->writeForm(w, nullptr);
    }
    d->waiting.clear();
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
        size_t count = 0;
        for (size_t i = 0; i < outline.size(); ++i) {
            const int page = outline.page(i);
            count += page >= 0 && size_t(page) < pages.size();
        }
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
