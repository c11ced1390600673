#pragma once
// A page's content stream as it is built: path and text operators with the
// graphics state they need (colours with alpha, line width, dashes, caps
// and joins), each state change written only when it differs from the
// current one, and the resources the operators refer to (fonts, images,
// transparency states), which go into the page's /Resources.
#include <QPointF>
#include <QRectF>
#include <QRgb>

#include <string>
#include <string_view>
#include <vector>

namespace Orv::Pdf {

// The names the content uses, and what they stand for.
struct Resources
{
    std::vector<int> fonts;  // object numbers of Type0 fonts: /F<n>
    std::vector<int> images; // object numbers of image XObjects: /Im<n>
    std::vector<int> fillAlphas;   // 1-254: /a<v> sets /ca v/255
    std::vector<int> strokeAlphas; // 1-254: /A<v> sets /CA v/255

    void addFont(int id) { addOnce(fonts, id); }
    void addImage(int id) { addOnce(images, id); }
    // "<< /Font << ... >> ... >>"
    std::string dictionary() const;

private:
    friend class Content;
    static void addOnce(std::vector<int> &list, int value);
};

class Content
{
public:
    enum class Cap { Flat = 0, Round = 1, Square = 2 };
    enum class Join { Miter = 0, Round = 1, Bevel = 2 };

    Content();

    std::string &data() { return m_data; }
    Resources &resources() { return m_resources; }

    void save();
    void restore();
    // Multiplies the current matrix by [a b c d e f].
    void transform(double a, double b, double c, double d, double e, double f);

    void fillColour(QRgb colour);
    void strokeColour(QRgb colour);
    // width in user units (0: the thinnest line); dashes in user units, empty for solid.
    void lineStyle(double width, const std::vector<double> &dashes, Cap cap, Join join);

    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void curveTo(QPointF c1, QPointF c2, QPointF p);
    void closePath();
    void rect(const QRectF &r);
    void ellipse(const QRectF &r);
    void roundedRect(const QRectF &r, double rx, double ry);
    // An arc of the ellipse in r from startDegrees over spanDegrees
    // (counter-clockwise as seen, parametric angles), joined to the current
    // point by a line.
    void arc(const QRectF &r, double startDegrees, double spanDegrees);
    void polyline(const QPointF *points, size_t count, bool close);

    // Ends the path: fills and/or strokes it, or just discards it.
    void paint(bool fill, bool stroke, bool evenOdd = false);
    // Clips to a rectangle until the next restore.
    void clipRect(const QRectF &r);

    // Draws image XObject id into target (the picture's top row at the top).
    void image(int id, const QRectF &target);
    // Draws form XObject id with its origin at the point given.
    void form(int id, QPointF origin);

    void number(double v);
    void op(std::string_view text) { m_data += text; }

private:
    struct State
    {
        QRgb fill = 0xff000000;
        QRgb stroke = 0xff000000;
        int fillAlpha = 255;
        int strokeAlpha = 255;
        double width = 1;
        std::vector<double> dashes;
        Cap cap = Cap::Flat; // what PDF starts with is butt caps and miter joins
        Join join = Join::Miter;
    };
    void point(QPointF p);
    void colour(QRgb c);
    void alpha(int value, bool stroke);

    std::string m_data;
    Resources m_resources;
    State m_state;
    std::vector<State> m_saved;
};

} // namespace Orv::Pdf
