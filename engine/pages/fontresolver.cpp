#include "engine/pages/fontresolver.h"

#include "engine/core/units.h"

#include <QFontDatabase>
#include <algorithm>
#include <cmath>

namespace Orv {

namespace {

// Windows faces and the substitutes installed here (fonts-liberation for the
// metric-compatible Latin faces, fonts-noto-cjk for Chinese).
struct Substitute
{
    const char16_t *name;
    const char16_t *family;
};

constexpr Substitute Substitutes[] = {
    {u"arial", u"Liberation Sans"},
    {u"helvetica", u"Liberation Sans"},
    {u"ms sans serif", u"Liberation Sans"},
    {u"microsoft sans serif", u"Liberation Sans"},
    {u"tahoma", u"Liberation Sans"},
    {u"verdana", u"Liberation Sans"},
    {u"segoe ui", u"Liberation Sans"},
    {u"times new roman", u"Liberation Serif"},
    {u"times", u"Liberation Serif"},
    {u"ms serif", u"Liberation Serif"},
    {u"courier new", u"Liberation Mono"},
    {u"courier", u"Liberation Mono"},
    {u"lucida console", u"Liberation Mono"},
    {u"宋体", u"Noto Serif CJK SC"},
    {u"新宋体", u"Noto Serif CJK SC"},
    {u"simsun", u"Noto Serif CJK SC"},
    {u"nsimsun", u"Noto Serif CJK SC"},
    {u"仿宋", u"Noto Serif CJK SC"},
    {u"仿宋_gb2312", u"Noto Serif CJK SC"},
    {u"fangsong", u"Noto Serif CJK SC"},
    {u"楷体", u"Noto Serif CJK SC"},
    {u"楷体_gb2312", u"Noto Serif CJK SC"},
    {u"kaiti", u"Noto Serif CJK SC"},
    {u"mingliu", u"Noto Serif CJK TC"},
    {u"pmingliu", u"Noto Serif CJK TC"},
    {u"细明体", u"Noto Serif CJK TC"},
    {u"新细明体", u"Noto Serif CJK TC"},
    {u"黑体", u"Noto Sans CJK SC"},
    {u"simhei", u"Noto Sans CJK SC"},
    {u"微软雅黑", u"Noto Sans CJK SC"},
    {u"microsoft yahei", u"Noto Sans CJK SC"},
    {u"等线", u"Noto Sans CJK SC"},
    {u"dengxian", u"Noto Sans CJK SC"},
    {u"微软正黑体", u"Noto Sans CJK TC"},
    {u"microsoft jhenghei", u"Noto Sans CJK TC"},
};

} // namespace

FontResolver &FontResolver::instance()
{
    thread_local FontResolver resolver;
    return resolver;
}

QString FontResolver::familyFor(const QString &layoutFamily)
{
    const auto found = m_families.constFind(layoutFamily);
    if (found != m_families.cend())
        return *found;
    QString family = layoutFamily.trimmed();
    if (family.isEmpty())
        family = QStringLiteral("Arial");
    if (!QFontDatabase::hasFamily(family)) {
        const QString key = family.toLower();
        for (const Substitute &s : Substitutes) {
            if (key == QStringView(s.name)) {
                const QString target = QString::fromUtf16(s.family);
                if (QFontDatabase::hasFamily(target))
                    family = target;
                break;
            }
        }
    }
    if (m_families.size() >= 4096)
        m_families.clear();
    m_families.insert(layoutFamily, family);
    return family;
}

std::shared_ptr<const FontResolver::Entry> FontResolver::resolve(const PageFont &font)
{
    const double points = std::isfinite(font.pointSize)
                              ? std::clamp(font.pointSize, MinPointSize, MaxPointSize)
                              : 10.0;
    Key key{font.family, int(std::lround(points * Units::TwipsPerPoint)),
            (font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0) | (font.strikeOut ? 8 : 0)};
    const auto found = m_entries.find(key);
    if (found != m_entries.end())
        return found->second;
    if (m_entries.size() >= MaxEntries)
        m_entries.clear();
    QFont f(familyFor(font.family));
    f.setPixelSize(key.pixels);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    auto entry = std::make_shared<const Entry>(Entry{f, QFontMetricsF(f)});
    m_entries.emplace(std::move(key), entry);
    return entry;
}

} // namespace Orv
