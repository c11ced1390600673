#pragma once
// Turns a page font into the QFont that draws and measures it. Layout font
// names come from Windows reports ("Arial", "宋体"); each maps to an
// installed face: the family itself when installed, else a metric-compatible
// or same-script substitute, else whatever fontconfig picks for the name.
//
// Fonts are built at the reference size of one pixel per twip (a 10 point
// font is 200 pixels high), without hinting, so measurements depend on
// neither the screen nor the device and the painter can draw the same
// layout at any scale. Needs a QGuiApplication.
#include "engine/pages/page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <memory>
#include <unordered_map>

namespace Orv {

class FontResolver
{
public:
    struct Entry
    {
        QFont font;
        QFontMetricsF metrics{QFont()};
    };

    // The resolver of the calling thread (fonts are not shared between threads).
    static FontResolver &instance();

    // Entries are cached (up to MaxEntries, then the cache starts afresh).
    std::shared_ptr<const Entry> resolve(const PageFont &font);
    // The installed family a layout family name draws with.
    QString familyFor(const QString &layoutFamily);

    // Point sizes outside this range are drawn at its ends.
    static constexpr double MinPointSize = 1.0;
    static constexpr double MaxPointSize = 1000.0;

    static constexpr size_t MaxEntries = 1024;

private:
    struct Key
    {
        QString family;
        int pixels;
        int flags;
        bool operator==(const Key &) const = default;
    };
    struct KeyHash
    {
        size_t operator()(const Key &k) const { return qHash(k.family) ^ (size_t(k.pixels) << 4) ^ size_t(k.flags); }
    };
    QHash<QString, QString> m_families;
    std::unordered_map<Key, std::shared_ptr<const Entry>, KeyHash> m_entries;
};

} // namespace Orv
