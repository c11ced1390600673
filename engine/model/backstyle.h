#pragma once

namespace Orv {

// Whether a section or a boxed control paints its BackColor. The numbers
// are the BackStyle property's, as scripts and layout files give them.
enum class BackStyle : int {
    Transparent = 0,
    Opaque = 1,
};

} // namespace Orv
