#include "engine/export/pdfcontent.h"

#include "engine/export/pdfobjects.h"

#include <algorithm>
#include <cmath>

namespace Orv::Pdf {

namespace {

// The control point distance that makes a quarter circle of one cubic Bézier.
constexpr double Kappa = 0.5522847498307936;

// "0.502 " for each byte value: colours are written often.
const std::string &component(int v)
{
    static const std::vector<std::string> table = [] {
        std::vector<std::string> t(256);
        for (int i = 0; i < 256; ++i) {
            appendNumber(t[size_t(i)], i / 255.0, 3);
            t[size_t(i)] += ' ';
        }
        return t;
    }();
    return table[size_t(std::clamp(v, 0, 255))];
}

} // namespace

void Resources::addOnce(std::vector<int> &list, int value)
{
    if (std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

std::string Resources::dictionary() const
{
    std::string out = "<<";
    const auto refs = [&out](const char *key, const char *prefix, const std::vector<int> &ids) {
        if (ids.empty())
            return;
        out += key;
        out += " <<";
        for (int id : ids) {
            out += prefix;
            appendInt(out, id);
            out += ' ';
            appendInt(out, id);
            out += " 0 R";
        }
        out += ">>";
    };
    refs(" /Font", " /F", fonts);
    refs(" /XObject", " /Im", images);
    if (!fillAlphas.empty() || !strokeAlphas.empty()) {
        out += " /ExtGState <<";
        for (int a : fillAlphas) {
            out += " /a";
            appendInt(out, a);
            out += " << /ca ";
            appendNumber(out, a / 255.0, 3);
            out += " >>";
        }
        for (int a : strokeAlphas) {
            out += " /A";
            appendInt(out, a);
            out += " << /CA ";
            appendNumber(out, a / 255.0, 3);
            out += " >>";
        }
        out += ">>";
    }
    out += " >>";
    return out;
}

Content::Content()
{
    m_data.reserve(16 * 1024);
}

void Content::number(double v)
{
    appendNumber(m_data, v);
    m_data += ' ';
}

void Content::point(QPointF p)
{
    number(p.x());
    number(p.y());
}

void Content::save()
{
    m_saved.push_back(m_state);
    m_data += "q\n";
}

void Content::restore()
{
    if (m_saved.empty())
        return;
    m_state = std::move(m_saved.back());
    m_saved.pop_back();
    m_data += "Q\n";
}

void Content::transform(double a, double b, double c, double d, double e, double f)
{
    appendNumber(m_data, a, 6);
    m_data += ' ';
    appendNumber(m_data, b, 6);
    m_data += ' ';
    appendNumber(m_data, c, 6);
    m_data += ' ';
    appendNumber(m_data, d, 6);
    m_data += ' ';
    appendNumber(m_data, e, 3);
    m_data += ' ';
    appendNumber(m_data, f, 3);
    m_data += " cm\n";
}

void Content::colour(QRgb c)
{
    m_data += component(qRed(c));
    m_data += component(qGreen(c));
    m_data += component(qBlue(c));
}

void Content::alpha(int value, bool stroke)
{
    int &current = stroke ? m_state.strokeAlpha : m_state.fillAlpha;
    if (current == value)
        return;
    current = value;
    // Fully opaque needs a state too once another alpha was set.
    const int name = value >= 255 ? 255 : value;
    Resources::addOnce(stroke ? m_resources.strokeAlphas : m_resources.fillAlphas, name);
    m_data += stroke ? "/A" : "/a";
    appendInt(m_data, name);
    m_data += " gs\n";
}

void Content::fillColour(QRgb c)
{
    alpha(qAlpha(c), false);
    if ((m_state.fill & 0xffffff) == (c & 0xffffff))
        return;
    m_state.fill = c;
    colour(c);
    m_data += "rg\n";
}

void Content::strokeColour(QRgb c)
{
    alpha(qAlpha(c), true);
    if ((m_state.stroke & 0xffffff) == (c & 0xffffff))
        return;
    m_state.stroke = c;
    colour(c);
    m_data += "RG\n";
}

void Content::lineStyle(double width, const std::vector<double> &dashes, Cap cap, Join join)
{
    if (width != m_state.width) {
        m_state.width = width;
        number(width);
        m_data += "w\n";
    }
    if (dashes != m_state.dashes) {
        m_state.dashes = dashes;
        m_data += '[';
        for (double d : dashes)
            number(d);
        m_data += "] 0 d\n";
    }
    if (cap != m_state.cap) {
        m_state.cap = cap;
        appendInt(m_data, int(cap));
        m_data += " J\n";
    }
    if (join != m_state.join) {
        m_state.join = join;
        appendInt(m_data, int(join));
        m_data += " j\n";
    }
}

void Content::moveTo(QPointF p)
{
    point(p);
    m_data += "m\n";
}

void Content::lineTo(QPointF p)
{
    point(p);
    m_data += "l\n";
}

void Content::curveTo(QPointF c1, QPointF c2, QPointF p)
{
    point(c1);
    point(c2);
    point(p);
    m_data += "c\n";
}

void Content::closePath()
{
    m_data += "h\n";
}

void Content::rect(const QRectF &r)
{
    number(r.x());
    number(r.y());
    number(r.width());
    number(r.height());
    m_data += "re\n";
}

void Content::ellipse(const QRectF &r)
{
    const double rx = r.width() / 2, ry = r.height() / 2;
    const double cx = r.x() + rx, cy = r.y() + ry;
    const double kx = rx * Kappa, ky = ry * Kappa;
    moveTo({cx + rx, cy});
    curveTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
    curveTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
    curveTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
    curveTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
    closePath();
}

void Content::roundedRect(const QRectF &r, double rx, double ry)
{
    rx = std::min(std::fabs(rx), r.width() / 2);
    ry = std::min(std::fabs(ry), r.height() / 2);
    if (rx <= 0 || ry <= 0) {
        rect(r);
        return;
    }
    const double l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    const double kx = rx * (1 - Kappa), ky = ry * (1 - Kappa);
    moveTo({l + rx, t});
    lineTo({rt - rx, t});
    curveTo({rt - kx, t}, {rt, t + ky}, {rt, t + ry});
    lineTo({rt, b - ry});
    curveTo({rt, b - ky}, {rt - kx, b}, {rt - rx, b});
    lineTo({l + rx, b});
    curveTo({l + kx, b}, {l, b - ky}, {l, b - ry});
    lineTo({l, t + ry});
    curveTo({l, t + ky}, {l + kx, t}, {l + rx, t});
    closePath();
}

void Content::arc(const QRectF &r, double startDegrees, double spanDegrees)
{
    const double rx = r.width() / 2, ry = r.height() / 2;
    const double cx = r.x() + rx, cy = r.y() + ry;
    // Angles grow counter-clockwise as seen, and y grows downwards.
    const auto at = [&](double a) { return QPointF(cx + rx * std::cos(a), cy - ry * std::sin(a)); };
    const double start = startDegrees * M_PI / 180;
    const double span = std::clamp(spanDegrees, -360.0, 360.0) * M_PI / 180;
    lineTo(at(start));
    const int pieces = std::max(1, int(std::ceil(std::fabs(span) / (M_PI / 2) - 1e-9)));
    const double step = span / pieces;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < pieces; ++i) {
        const double a1 = start + step * i, a2 = a1 + step;
        const QPointF p1 = at(a1), p2 = at(a2);
        const QPointF c1(p1.x() - k * rx * std::sin(a1), p1.y() - k * ry * std::cos(a1));
        const QPointF c2(p2.x() + k * rx * std::sin(a2), p2.y() + k * ry * std::cos(a2));
        curveTo(c1, c2, p2);
    }
}

void Content::polyline(const QPointF *points, size_t count, bool close)
{
    if (count == 0)
        return;
    moveTo(points[0]);
    for (size_t i = 1; i < count; ++i)
        lineTo(points[i]);
    if (close)
        closePath();
}

void Content::paint(bool fill, bool stroke, bool evenOdd)
{
    if (fill && stroke)
        m_data += evenOdd ? "B*\n" : "B\n";
    else if (fill)
        m_data += evenOdd ? "f*\n" : "f\n";
    else if (stroke)
        m_data += "S\n";
    else
        m_data += "n\n";
}

void Content::clipRect(const QRectF &r)
{
    rect(r);
    m_data += "W n\n";
}

void Content::image(int id, const QRectF &target)
{
    m_resources.addImage(id);
    save();
    alpha(255, false); // the fill's transparency would apply to the picture too
    transform(target.width(), 0, 0, -target.height(), target.x(), target.y() + target.height());
    m_data += "/Im";
    appendInt(m_data, id);
    m_data += " Do\n";
    restore();
}

void Content::form(int id, QPointF origin)
{
    m_resources.addImage(id);
    save();
    transform(1, 0, 0, 1, origin.x(), origin.y());
    m_data += "/Im";
    appendInt(m_data, id);
    m_data += " Do\n";
    restore();
}

} // namespace Orv::Pdf
