#pragma once
// The wizard's sort page choices, kept from one wizard run to the next for
// as long as the program runs; the main window owns one.
#include <QString>

#include <array>

namespace Orv {

struct SortMemory
{
    struct Level
    {
        QString text;
        int position = 0; // 0 = "(None)"
        bool ascending = true;
    };
    std::array<Level, 4> levels;
};

} // namespace Orv
