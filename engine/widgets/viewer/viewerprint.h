#pragma once
// Printing a page collection on a QPrinter: a page range, copies (made by
// the printer when it can, else by sending the pages again, collated or
// not), each page at actual size from the paper's corner, or shrunk to fit
// when larger than the paper. The viewer's print dialog fills the
// selection; tests print to a PDF file without a dialog.
#include "engine/core/status.h"

#include <functional>

class QPrinter;

namespace Orv {

class PageCollection;
struct Page;

struct PrintSelection
{
    int from = 0;  // 0-based, inclusive
    int to = -1;   // -1: the last page
    int copies = 1;
    bool collate = true;
};

// Sets the paper to a page's size and orientation, without margins.
void setPaperFromPage(QPrinter &printer, const Page &page);

// What the printer (after its dialog) asks for: all pages, a range or the
// current page, its copy count and collation.
PrintSelection selectionFromPrinter(const QPrinter &printer, int currentPage, int pageCount);

// progress gets (pages sent, pages to send) and may return false to stop
// (error 18, printing cancelled).
Status printPages(const PageCollection &pages, QPrinter &printer, const PrintSelection &selection,
                  const std::function<bool(int, int)> &progress = {});

} // namespace Orv
