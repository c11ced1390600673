#pragma once
// How controls look on the design surface. Each control type has a painter,
// found by its type identifier (without regard to case); a library that
// adds a control kind registers its painter here, and types without one get
// a plain labelled box. Painters draw as printed pages look (they use the
// page painter), plus what only a designer shows: the field a text box is
// bound to, outlines of borderless controls, the name of a subreport.
#include <QHash>
#include <QString>

#include <memory>

class QPainter;

namespace Orv {

class Control;

class DesignItemPainter
{
public:
    virtual ~DesignItemPainter() = default;
    // Draws control in twips, the top-left corner of its box at (0, 0).
    virtual void paint(QPainter &painter, const Control &control) const = 0;
};

class DesignPainterRegistry
{
public:
    // The registry of the process, holding the engine's own painters.
    static DesignPainterRegistry &instance();

    // Replaces any painter registered for typeId (a null painter removes it)
    // and returns the one it replaced.
    std::shared_ptr<const DesignItemPainter> add(const QString &typeId,
                                                 std::shared_ptr<const DesignItemPainter> painter);
    // The painter for typeId, or the plain box painter.
    const DesignItemPainter &painterFor(const QString &typeId) const;

private:
    DesignPainterRegistry();
    QHash<QString, std::shared_ptr<const DesignItemPainter>> m_painters; // by case-folded identifier
    std::shared_ptr<const DesignItemPainter> m_fallback;
};

} // namespace Orv
