#pragma once
// The six visual styles of generated reports: fonts of the title, the
// column captions and the detail, the title band's background and the
// rules drawn under the title.

#include <QString>

#include <array>

namespace Orv::Wizard {

struct StyleFont
{
    QString name;
    bool bold = false;
    bool italic = false;
    qint16 size = 10; // points
};

struct StyleType
{
    QString name;
    StyleFont titleFont;
    StyleFont captionFont;
    StyleFont detailFont;
    int titleBackColor = -1; // 0xBBGGRR, -1 for none
    int ruleStyle = 1;       // the line style code of the rules
    int ruleColor = 0;
    int lastRuleIndex = 0;   // rules drawn: lastRuleIndex + 1
};

constexpr int StyleCount = 6;

// The table of styles by index (0 "Bold" to 5 "Soft Gray"). Font names are
// passed to the engine as they stand, "Time New Roman" of "Formal" too.
std::array<StyleType, StyleCount> buildStyleTable();

} // namespace Orv::Wizard
