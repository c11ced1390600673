#pragma once
// The rules of the options dialog. The grid settings and the text styles
// act on the designer while the dialog is open, so the user sees them at
// once; OK keeps them for this session, Cancel puts the designer's grid,
// its styles and the controls that follow them back. Nothing is read from
// or written to the settings. The text styles start as the designer's.
#include "engine/core/status.h"
#include "engine/model/parts.h"
#include "engine/widgets/designer/designercore.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

namespace Orv {

class DesignerCore;

// One text style as the style list shows it.
class TextStyle : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Orv::Font *Font READ font)
    Q_PROPERTY(int Backcolor READ backColor WRITE setBackColor)
    Q_PROPERTY(int Forecolor READ foreColor WRITE setForeColor)
    Q_PROPERTY(int Horizontal READ horizontal WRITE setHorizontal)
    Q_PROPERTY(int Vertical READ vertical WRITE setVertical)
    Q_CLASSINFO("editor:Backcolor", "color")
    Q_CLASSINFO("editor:Forecolor", "color")
    Q_CLASSINFO("category:Backcolor", "Color")
    Q_CLASSINFO("category:Forecolor", "Color")
    Q_CLASSINFO("category:Horizontal", "Alignment")
    Q_CLASSINFO("category:Vertical", "Alignment")
    Q_CLASSINFO("values:Horizontal", "0 Left|1 Right|2 Center")
    Q_CLASSINFO("values:Vertical", "0 Top|1 Middle|2 Bottom")

public:
    explicit TextStyle(const QString &name, QObject *parent = nullptr);
    ~TextStyle() override;

    Orv::Font *font() const { return m_font; }
    int backColor() const { return m_backColor; }
    void setBackColor(int color) { m_backColor = color; }
    int foreColor() const { return m_foreColor; }
    void setForeColor(int color) { m_foreColor = color; }
    int horizontal() const { return m_horizontal; }
    void setHorizontal(int value) { m_horizontal = value; }
    int vertical() const { return m_vertical; }
    void setVertical(int value) { m_vertical = value; }

private:
    Orv::Font *m_font;
    int m_backColor = 0xFFFFFF;
    int m_foreColor = 0;
    int m_horizontal = 0;
    int m_vertical = 0;
};

class OptionsModel
{
public:
    static constexpr int DefaultRows = 16;
    enum Ruler { Inches = 0, Metric = 1 };

    // Takes the designer's grid as it is now; designer may be null.
    explicit OptionsModel(DesignerCore *designer);
    ~OptionsModel();

    bool showGrid() const { return m_showGrid; }
    void setShowGrid(bool show);
    bool snapToGrid() const { return m_snap; }
    void setSnapToGrid(bool snap);
    int ruler() const { return m_ruler; }
    void setRuler(int ruler);
    // The rows per inch (ruler 0) and per centimetre (ruler 1) as typed.
    QString rowsText(int ruler) const { return m_rows[ruler == Metric ? 1 : 0]; }
    void setRowsText(int ruler, const QString &text);
    // Whole rows from 1 to 100; error 380 saying so otherwise.
    static Status parseRows(const QString &text, int *rows);
    // What is wrong with the rows of the chosen ruler, if anything.
    Status rowsProblem() const;

    // Normal, Heading 1, Heading 2, Heading 3.
    const std::vector<std::unique_ptr<TextStyle>> &styles() const { return m_styles; }
    // The styles' values were edited: the designer takes them at once.
    void stylesEdited();
    // A style's values as the designer's look, and the other way round.
    static TextLook lookOf(const TextStyle &style);
    static void setLook(TextStyle &style, const TextLook &look);

    // OK: the grid as set stays. Cancel (or closing): the grid as it was.
    Status accept();
    void reject();

private:
    void applyGrid();

    QPointer<DesignerCore> m_designer;
    bool m_showGrid = true;
    bool m_snap = true;
    int m_ruler = Inches;
    QString m_rows[2];
    // The designer's grid when the dialog opened.
    bool m_oldShow = true;
    bool m_oldSnap = true;
    bool m_oldMetric = false;
    int m_oldRows = DefaultRows;
    bool m_done = false;
    std::vector<std::unique_ptr<TextStyle>> m_styles;
};

} // namespace Orv
