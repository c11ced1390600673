#include "engine/pages/page.h"

namespace Orv {

int Page::fontIndex(const PageFont &font)
{
    // Pages hold a handful of fonts, so a linear search beats hashing.
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == font)
            return int(i);
    }
    fonts.push_back(font);
    return int(fonts.size() - 1);
}

} // namespace Orv
