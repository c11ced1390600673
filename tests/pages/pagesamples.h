#pragma once
// Pages with every kind of operation, for the page, archive and export tests.
#include "engine/pages/pagecollection.h"

namespace PageSamples {

// A small image whose pixels depend on seed.
QImage image(int seed, QSize size = QSize(24, 16));

// Page number n (0-based) of a letter-size report: texts (plain, wrapped,
// rotated, rich, Chinese), lines, shapes, an image, check boxes, a barcode
// and a bookmark. Images go into collection.
Orv::Page page(int n, Orv::PageCollection &collection);

} // namespace PageSamples
