#pragma once
// Generated pages for the viewer tests: letter pages with a heading
// "Page N" and a few rows of text, some with extra words or bookmarks.
#include "engine/pages/pagecollection.h"

#include <QString>
#include <functional>

namespace ViewerPages {

// A text box at a place (twips), one line, in font 0.
Orv::TextOp text(double left, double top, const QString &text, double width = 4000);

// Page n (0-based): "Page n+1" at the top, then "Row n.r" for r in 0..4;
// extra(n) adds more text to it (empty: nothing).
Orv::Page page(int n, const std::function<QString(int)> &extra = {});

// count such pages appended to pages (spilling past a few in memory).
void fill(Orv::PageCollection &pages, int count, const std::function<QString(int)> &extra = {});

} // namespace ViewerPages
