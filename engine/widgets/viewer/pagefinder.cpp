#include "engine/widgets/viewer/pagefinder.h"

#include "engine/pages/fontresolver.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/textmeasure.h"

#include <QTextDocumentFragment>
#include <QTextLayout>

namespace Orv {

PageFinder::PageFinder(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<Orv::FindMatch>();
}

PageFinder::~PageFinder() = default;

void PageFinder::start(const PageCollection *pages, const FindRequest &request, int page, const FindMatch &from)
{
    m_pages = pages;
    m_request = request;
    m_match = FindMatch();
    m_searched = 0;
    m_wrapped = false;
    m_lapped = false;
    const int count = pages ? pages->Count() : 0;
    m_startPage = qBound(0, page, qMax(0, count - 1));
    m_page = m_startPage;
    m_op = -1;
    m_pos = 0;
    m_fromEdge = true;
    if (from.valid() && from.page == m_startPage) {
        m_op = from.op;
        m_pos = request.forward ? from.start + qMax(1, from.length) : from.start;
        m_fromEdge = false;
    }
    m_searching = !request.text.isEmpty();
}

void PageFinder::cancel()
{
    m_searching = false;
}

FindMatch PageFinder::run()
{
    while (m_searching && !step(1000)) {
    }
    return m_match;
}

bool PageFinder::step(int budgetMs)
{
    if (!m_searching)
        return true;
    QElapsedTimer clock;
    clock.start();
    const bool forward = m_request.forward;
    do {
        const int count = m_pages ? m_pages->Count() : 0;
        if (count == 0) {
            finish(FindMatch());
            return true;
        }
        if (m_page >= count || m_page < 0) {
            // Off the end: go round from the other edge, once.
            if (m_lapped) {
                finish(FindMatch());
                return true;
            }
            m_lapped = true;
            m_wrapped = true;
            m_page = forward ? 0 : count - 1;
            m_op = -1;
        }
        // Round again and past the page the search began on (or back at
        // it, when that was searched whole): nothing more.
        const bool past = forward ? m_page > m_startPage : m_page < m_startPage;
        if (m_lapped && (past || (m_fromEdge && m_page == m_startPage))) {
            finish(FindMatch());
            return true;
        }
        const std::shared_ptr<const Page> page = m_pages->page(m_page);
        if (page && searchPage(*page, m_page, m_op, m_pos)) {
            finish(m_match);
            return true;
        }
        ++m_searched;
        m_op = -1;
        if (!m_request.wholeDocument) {
            // The one page: once more from its edge for what came before.
            if (m_lapped || m_fromEdge) {
                finish(FindMatch());
                return true;
            }
            m_lapped = true;
            m_wrapped = true;
            continue;
        }
        m_page += forward ? 1 : -1;
    } while (clock.elapsed() < budgetMs);
    return false;
}

void PageFinder::finish(const FindMatch &match)
{
    m_match = match;
    m_searching = false;
    Q_EMIT finished(match);
}

bool PageFinder::searchPage(const Page &page, int index, int op, int pos)
{
    const int ops = int(page.ops.size());
    if (m_request.forward) {
        for (int o = qMax(0, op); o < ops; ++o) {
            const QString text = searchableText(page.ops[size_t(o)]);
            const int at = findIn(text, o == op ? pos : 0);
            if (at >= 0) {
                m_match = {index, o, at, int(m_request.text.size())};
                return true;
            }
        }
        return false;
    }
    for (int o = op < 0 ? ops - 1 : qMin(op, ops - 1); o >= 0; --o) {
        const QString text = searchableText(page.ops[size_t(o)]);
        const int at = findLastIn(text, o == op ? pos : int(text.size()));
        if (at >= 0) {
            m_match = {index, o, at, int(m_request.text.size())};
            return true;
        }
    }
    return false;
}

int PageFinder::findIn(const QString &text, int from) const
{
    const Qt::CaseSensitivity cs = m_request.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (from > text.size())
        return -1;
    qsizetype at = text.indexOf(m_request.text, from, cs);
    while (at >= 0 && m_request.wholeWord && !wholeWordAt(text, int(at)))
        at = text.indexOf(m_request.text, at + 1, cs);
    return int(at);
}

// The last match starting before position before.
int PageFinder::findLastIn(const QString &text, int before) const
{
    const Qt::CaseSensitivity cs = m_request.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype from = qMin<qsizetype>(before, text.size()) - 1;
    while (from >= 0) {
        const qsizetype at = text.lastIndexOf(m_request.text, from, cs);
        if (at < 0)
            return -1;
        if (!m_request.wholeWord || wholeWordAt(text, int(at)))
            return int(at);
        from = at - 1;
    }
    return -1;
}

bool PageFinder::wholeWordAt(const QString &text, int at) const
{
    const auto wordChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    const qsizetype end = at + m_request.text.size();
    return (at == 0 || !wordChar(text.at(at - 1))) && (end >= text.size() || !wordChar(text.at(end)));
}

QString PageFinder::searchableText(const PageOp &op)
{
    const TextOp *t = std::get_if<TextOp>(&op);
    if (!t || t->text.isEmpty())
        return QString();
    if (t->richText)
        return QTextDocumentFragment::fromHtml(t->text).toPlainText();
    return TextLayout::prepare(t->text);
}

QList<QRectF> PageFinder::matchRects(const Page &page, const FindMatch &match)
{
    if (match.op < 0 || size_t(match.op) >= page.ops.size())
        return {};
    const TextOp *t = std::get_if<TextOp>(&page.ops[size_t(match.op)]);
    if (!t)
        return {};
    // Rich and turned texts are marked as a whole.
    if (t->richText || t->angle % 3600 != 0)
        return {t->rect};
    const PageFont font = t->font >= 0 && size_t(t->font) < page.fonts.size() ? page.fonts[size_t(t->font)] : PageFont();
    QTextLayout layout(TextLayout::prepare(t->text), FontResolver::instance().resolve(font)->font);
    const double height = TextLayout::layoutLines(layout, t->rect.width(), t->wrap, t->alignment);
    QPointF at = t->rect.topLeft();
    if (t->alignment & Qt::AlignBottom)
        at.ry() += t->rect.height() - height;
    else if (t->alignment & Qt::AlignVCenter)
        at.ry() += (t->rect.height() - height) / 2;
    const int start = match.start;
    const int end = match.start + match.length;
    QList<QRectF> rects;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const int from = qMax(start, line.textStart());
        const int to = qMin(end, line.textStart() + line.textLength());
        if (from >= to)
            continue;
        const double x1 = line.cursorToX(from);
        const double x2 = line.cursorToX(to);
        const QRectF box(at.x() + qMin(x1, x2), at.y() + line.y(), qAbs(x2 - x1), line.height());
        // What the painter clips away is not marked.
        const QRectF shown = box.intersected(t->rect);
        if (!shown.isEmpty())
            rects << shown;
    }
    if (rects.isEmpty())
        rects << t->rect;
    return rects;
}

} // namespace Orv
