#include "engine/export/exportutil.h"

#include "engine/pages/textmeasure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace Orv {

QVariant SettingReader::value(const QString &name) const
{
    for (auto it = m_settings.cbegin(); it != m_settings.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return {};
}

void SettingReader::fail(int number, const QString &description)
{
    if (m_status.ok())
        m_status = Status::failure(number, description, m_format + QStringLiteral(" export"));
}

void SettingReader::text(const QString &name, QString *out)
{
    const QVariant v = value(name);
    if (!ok() || !v.isValid())
        return;
    if (v.typeId() == QMetaType::QVariantList || v.typeId() == QMetaType::QVariantMap || !v.canConvert<QString>())
        return fail(ErrTypeMismatch, QStringLiteral("%1 setting %2 must be text").arg(m_format, name));
    *out = v.toString();
}

void SettingReader::boolean(const QString &name, bool *out)
{
    const QVariant v = value(name);
    if (!ok() || !v.isValid())
        return;
    if (v.typeId() == QMetaType::Bool) {
        *out = v.toBool();
        return;
    }
    const QString t = v.toString().trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("-1")
        || t == QLatin1String("yes") || t == QLatin1String("on"))
        *out = true;
    else if (t == QLatin1String("false") || t == QLatin1String("0") || t == QLatin1String("no")
             || t == QLatin1String("off"))
        *out = false;
    else
        fail(ErrTypeMismatch, QStringLiteral("%1 setting %2 must be True or False, not \"%3\"").arg(m_format, name, v.toString()));
}

void SettingReader::integer(const QString &name, int *out, int min, int max)
{
    const QVariant v = value(name);
    if (!ok() || !v.isValid())
        return;
    bool isNumber = false;
    const double d = v.toString().trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(d))
        return fail(ErrTypeMismatch, QStringLiteral("%1 setting %2 must be a number, not \"%3\"").arg(m_format, name, v.toString()));
    const double rounded = std::nearbyint(d); // ties to even, as Visual Basic converts
    if (rounded < min || rounded > max)
        return fail(ErrInvalidPropertyValue,
                    QStringLiteral("%1 setting %2 is %3, outside %4 to %5").arg(m_format, name, v.toString()).arg(min).arg(max));
    *out = int(rounded);
}

void SettingReader::oneOf(const QString &name, int *out, std::initializer_list<int> allowed)
{
    int n = *out;
    integer(name, &n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    if (!ok() || !has(name))
        return;
    if (std::find(allowed.begin(), allowed.end(), n) == allowed.end()) {
        QStringList values;
        for (int a : allowed)
            values << QString::number(a);
        return fail(ErrInvalidPropertyValue, QStringLiteral("%1 setting %2 is %3, not one of %4")
                                                 .arg(m_format, name).arg(n).arg(values.join(QStringLiteral(", "))));
    }
    *out = n;
}

void SettingReader::choice(const QString &name, int *out, const QStringList &names)
{
    const QVariant v = value(name);
    if (!ok() || !v.isValid())
        return;
    const QString t = v.toString().trimmed();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(t, Qt::CaseInsensitive) == 0) {
            *out = int(i);
            return;
        }
    }
    bool isNumber = false;
    const int n = t.toInt(&isNumber);
    if (!isNumber)
        return fail(ErrInvalidPropertyValue, QStringLiteral("%1 setting %2 is \"%3\", not one of %4")
                                                 .arg(m_format, name, t, names.join(QStringLiteral(", "))));
    if (n < 0 || n >= names.size())
        return fail(ErrInvalidPropertyValue,
                    QStringLiteral("%1 setting %2 is %3, outside 0 to %4").arg(m_format, name).arg(n).arg(names.size() - 1));
    *out = n;
}

QString plainText(const TextOp &op)
{
    if (!op.richText)
        return op.text;
    QTextDocument document;
    document.setHtml(op.text);
    return document.toPlainText();
}

std::vector<TextLine> pageLines(const Page &page, double tolerance)
{
    struct Item
    {
        double top, height;
        TextLine::Piece piece;
    };
    std::vector<Item> items;
    items.reserve(page.ops.size());
    const auto fontOf = [&page](int index) {
        return index >= 0 && size_t(index) < page.fonts.size() ? page.fonts[size_t(index)] : PageFont();
    };
    const auto add = [&](const QRectF &rect, const QString &text, const PageFont &font, bool wrap,
                         Qt::Alignment alignment) {
        if (text.isEmpty())
            return;
        const bool simple = !wrap && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
        if (simple) {
            items.push_back({rect.top(), rect.height(), {rect.left(), rect.width(), text, alignment}});
            return;
        }
        const TextMeasurement m = measureText(font, rect.width(), wrap, text);
        const int lines = m.lineCount();
        if (lines == 0)
            return;
        const double lineHeight = m.height / lines;
        double top = rect.top();
        if (alignment & Qt::AlignBottom)
            top = rect.bottom() - m.height;
        else if (alignment & Qt::AlignVCenter)
            top = rect.top() + (rect.height() - m.height) / 2;
        for (int i = 0; i < lines; ++i) {
            const int start = m.lineStarts[i];
            const int end = i + 1 < lines ? m.lineStarts[i + 1] : int(text.size());
            QString line = text.mid(start, end - start);
            while (!line.isEmpty() && (line.back() == QLatin1Char('\n') || line.back() == QLatin1Char('\r')
                                       || line.back() == QLatin1Char(' ') || line.back() == QChar::LineSeparator))
                line.chop(1);
            items.push_back({top + i * lineHeight, lineHeight, {rect.left(), rect.width(), line, alignment}});
        }
    };
    for (const PageOp &op : page.ops) {
        if (const auto *t = std::get_if<TextOp>(&op))
            add(t->rect, plainText(*t), fontOf(t->font), t->wrap && !t->richText ? true : t->richText, t->alignment);
        else if (const auto *b = std::get_if<BarcodeOp>(&op); b && b->showText)
            add(b->rect, b->data, fontOf(b->font), false, Qt::AlignHCenter | Qt::AlignBottom);
    }
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) { return a.top < b.top; });
    std::vector<TextLine> lines;
    for (Item &item : items) {
        if (lines.empty() || item.top > lines.back().top + tolerance)
            lines.push_back(TextLine{item.top, item.height, {}});
        TextLine &line = lines.back();
        line.height = qMax(line.height, item.top + item.height - line.top);
        line.pieces.push_back(std::move(item.piece));
    }
    for (TextLine &line : lines)
        std::stable_sort(line.pieces.begin(), line.pieces.end(),
                         [](const TextLine::Piece &a, const TextLine::Piece &b) { return a.left < b.left; });
    return lines;
}

QString escapeXml(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

} // namespace Orv
