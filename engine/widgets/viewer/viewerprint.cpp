#include "engine/widgets/viewer/viewerprint.h"

#include "engine/core/units.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace Orv {

namespace {

const QString Source = QStringLiteral("Viewer.PrintReport");
constexpr int MaxCopies = 999;

} // namespace

void setPaperFromPage(QPrinter &printer, const Page &page)
{
    if (page.size.isEmpty())
        return;
    const bool landscape = page.size.width() > page.size.height();
    const QSizeF portrait = landscape ? page.size.transposed() : page.size;
    // Close to a standard paper: that paper, so the printer picks its tray.
    const QPageSize size(portrait / Units::TwipsPerPoint, QPageSize::Point, QString(), QPageSize::FuzzyMatch);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
}

PrintSelection selectionFromPrinter(const QPrinter &printer, int currentPage, int pageCount)
{
    PrintSelection s;
    s.from = 0;
    s.to = pageCount - 1;
    switch (printer.printRange()) {
    case QPrinter::PageRange:
        // The dialog's numbers are 1-based; 0 means "not given".
        if (printer.fromPage() > 0)
            s.from = qMin(printer.fromPage(), pageCount) - 1;
        if (printer.toPage() > 0)
            s.to = qMin(printer.toPage(), pageCount) - 1;
        break;
    case QPrinter::CurrentPage:
        s.from = s.to = qBound(0, currentPage, pageCount - 1);
        break;
    case QPrinter::AllPages:
    case QPrinter::Selection:
        break;
    }
    s.copies = qMax(1, printer.copyCount());
    s.collate = printer.collateCopies();
    return s;
}

Status printPages(const PageCollection &pages, QPrinter &printer, const PrintSelection &selection,
                  const std::function<bool(int, int)> &progress)
{
    const int count = pages.Count();
    if (count == 0)
        return Status::failure(ErrInvalidCall, QStringLiteral("There are no pages to print"), Source);
    const int to = selection.to < 0 ? count - 1 : selection.to;
    if (selection.from < 0 || selection.from > to || to >= count)
        return Status::failure(ErrSubscript,
                               QStringLiteral("Pages %1 to %2 are out of range (1 to %3)")
                                   .arg(selection.from + 1)
                                   .arg(to + 1)
                                   .arg(count),
                               Source);
    if (selection.copies < 1 || selection.copies > MaxCopies)
        return Status::failure(ErrInvalidCall,
                               QStringLiteral("Copies must be 1 to %1, not %2").arg(MaxCopies).arg(selection.copies),
                               Source);

    // Copies: the printer makes them when it can, else the pages go again.
    printer.setFullPage(true);
    printer.setCopyCount(selection.copies);
    printer.setCollateCopies(selection.collate);
    int ourCopies = 1;
    if (!printer.supportsMultipleCopies()) {
        ourCopies = selection.copies;
        printer.setCopyCount(1);
    }
    std::vector<int> order;
    const int span = to - selection.from + 1;
    order.reserve(size_t(span) * size_t(ourCopies));
    for (int a = 0; a < (selection.collate ? ourCopies : span); ++a)
        for (int b = 0; b < (selection.collate ? span : ourCopies); ++b)
            order.push_back(selection.from + (selection.collate ? b : a));

    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot start printing on %1").arg(where), Source);
    }
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const double pixelsPerTwip = printer.resolution() / Units::TwipsPerInch;
    const PagePainter draw(&pages);
    for (size_t n = 0; n < order.size(); ++n) {
        if (progress && !progress(int(n), int(order.size()))) {
            painter.end();
            printer.abort();
            return Status::failure(ErrInterrupted, QStringLiteral("Printing was cancelled"), Source);
        }
        Status status;
        const std::shared_ptr<const Page> page = pages.page(order[n], &status);
        if (!page) {
            painter.end();
            printer.abort();
            return status;
        }
        if (n > 0 && !printer.newPage()) {
            painter.end();
            return Status::failure(ErrPathAccess, QStringLiteral("The printer refused page %1").arg(order[n] + 1), Source);
        }
        // A page that does not fit the paper turns to the paper's
        // orientation when that helps, then shrinks to fit.
        QSizeF size = page->size * pixelsPerTwip;
        const bool tooBig = size.width() > paper.width() + 0.5 || size.height() > paper.height() + 0.5;
        const bool turn = tooBig && (size.width() > size.height()) != (paper.width() > paper.height());
        if (turn)
            size.transpose();
        const double fit = qMin(1.0, qMin(paper.width() / qMax(1.0, size.width()), paper.height() / qMax(1.0, size.height())));
        painter.save();
        if (turn) {
            painter.translate(paper.width(), 0);
            painter.rotate(90);
        }
        painter.scale(pixelsPerTwip * fit, pixelsPerTwip * fit);
        draw.paintInTwips(painter, *page);
        painter.restore();
    }
    if (progress)
        progress(int(order.size()), int(order.size()));
    if (!painter.end())
        return Status::failure(ErrPathAccess, QStringLiteral("Printing did not finish"), Source);
    return {};
}

} // namespace Orv
