#pragma once

namespace Orv {
class Report;
}

namespace LayoutSamples {

// Fills report with every section type, two group levels and one control
// of every kind, each with every stored property (parts included) set away
// from its default. Texts include quotes, markup characters, CR LF, tabs,
// Chinese, characters outside the BMP and control characters XML cannot
// carry, so that a round trip exercises every way a value is written.
void fillWithEveryKind(Orv::Report &report);

} // namespace LayoutSamples
