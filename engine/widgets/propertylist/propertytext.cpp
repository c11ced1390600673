#include "engine/widgets/propertylist/propertytext.h"

#include "engine/core/units.h"
#include "engine/look/controllook.h"
#include "engine/model/reflection.h"

#include <QBuffer>
#include <QColor>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

#include <cmath>
#include <iterator>
#include <limits>

namespace Orv::PropertyText {

namespace {

constexpr int SystemColorFlag = int(0x80000000u);

bool isSystemColor(int number, int *index)
{
    if ((unsigned(number) & 0xFFFFFF00u) != 0x80000000u)
        return false;
    *index = number & 0xFF;
    return *index < Look::systemColorCount();
}

double twipsPer(LengthUnit unit)
{
    return unit == LengthUnit::Inches ? Units::TwipsPerInch : Units::TwipsPerCm;
}

QString trimmedNumber(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

// A decimal number as users type it: '.' or ',' as the decimal point.
bool readNumber(QString text, double *value)
{
    text = text.trimmed();
    if (!text.contains(QLatin1Char('.')) && text.count(QLatin1Char(',')) == 1)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text.left(60) + QLatin1Char('"');
}

Status mismatch(const QString &text, const QString &expected)
{
    return Status::failure(ErrTypeMismatch, QStringLiteral("%1 is not %2").arg(quoted(text.trimmed()), expected));
}

QString unitName(LengthUnit unit)
{
    return unit == LengthUnit::Inches ? QStringLiteral("inches") : QStringLiteral("centimetres");
}

QString namesOf(const PropertyInfo &info)
{
    QStringList names;
    for (const EnumValue &v : info.values)
        names << v.name;
    return names.join(QLatin1String(", "));
}

} // namespace

QString unitSuffix(LengthUnit unit)
{
    return unit == LengthUnit::Inches ? QStringLiteral("in") : QStringLiteral("cm");
}

QString formatLength(double twips, LengthUnit unit)
{
    // 4 decimals of an inch and 3 of a centimetre are both finer than half
    // a twip, so whole twips survive a round trip through the text.
    const int decimals = unit == LengthUnit::Inches ? 4 : 3;
    return trimmedNumber(twips / twipsPer(unit), decimals) + QLatin1Char(' ') + unitSuffix(unit);
}

Status parseLength(const QString &text, LengthUnit unit, double *twips)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*([-+]?(?:\d+(?:[.,]\d*)?|[.,]\d+)(?:[eE][-+]?\d+)?)\s*)"
                       R"((in|inch|inches|"|cm|mm|pt|pts|points?|tw|twips?)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(text);
    double number = 0;
    if (!m.hasMatch() || !readNumber(m.captured(1), &number))
        return mismatch(text, QStringLiteral("a length: type a number of %1, or add a unit (in, cm, mm, pt)")
                                  .arg(unitName(unit)));
    const QString suffix = m.captured(2).toLower();
    double factor = twipsPer(unit);
    if (suffix.startsWith(QLatin1String("in")) || suffix == QLatin1String("\""))
        factor = Units::TwipsPerInch;
    else if (suffix == QLatin1String("cm"))
        factor = Units::TwipsPerCm;
    else if (suffix == QLatin1String("mm"))
        factor = Units::TwipsPerCm / 10;
    else if (suffix.startsWith(QLatin1String("p")))
        factor = Units::TwipsPerPoint;
    else if (suffix.startsWith(QLatin1String("tw")))
        factor = 1;
    const double value = std::round(number * factor);
    if (!std::isfinite(value))
        return mismatch(text, QStringLiteral("a length"));
    *twips = value == 0 ? 0.0 : value; // no negative zero
    return {};
}

QString formatColor(int number)
{
    int index = 0;
    if (isSystemColor(number, &index))
        return Look::systemColorName(index);
    if (number < 0 || number > 0xFFFFFF)
        return QStringLiteral("&H%1&").arg(uint(number), 8, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("#%1%2%3")
        .arg(number & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((number >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((number >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

Status parseColor(const QString &input, int *number)
{
    QString text = input.trimmed();
    if (text.endsWith(QLatin1String("(system)"), Qt::CaseInsensitive))
        text = text.chopped(8).trimmed();
    for (int i = 0; i < Look::systemColorCount(); ++i) {
        if (text.compare(Look::systemColorName(i), Qt::CaseInsensitive) == 0) {
            *number = SystemColorFlag | i;
            return {};
        }
    }
    static const QRegularExpression rgbPattern(QStringLiteral(R"(^(\d+)\s*[,;\s]\s*(\d+)\s*[,;\s]\s*(\d+)$)"));
    static const QRegularExpression vbHex(QStringLiteral(R"(^&H([0-9A-Fa-f]{1,8})&?$)"));
    static const QRegularExpression decimal(QStringLiteral(R"(^[-+]?\d+$)"));
    if (const QRegularExpressionMatch m = rgbPattern.match(text); m.hasMatch()) {
        int parts[3];
        for (int i = 0; i < 3; ++i) {
            parts[i] = m.captured(i + 1).size() > 3 ? 256 : m.captured(i + 1).toInt();
            if (parts[i] > 255)
                return Status::failure(ErrInvalidPropertyValue,
                                       QStringLiteral("Invalid property value: red, green and blue must lie "
                                                      "between 0 and 255 (%1)")
                                           .arg(quoted(text)));
        }
        *number = parts[0] | (parts[1] << 8) | (parts[2] << 16);
        return {};
    }
    if (const QRegularExpressionMatch m = vbHex.match(text); m.hasMatch()) {
        *number = int(m.captured(1).toUInt(nullptr, 16));
        return {};
    }
    if (decimal.match(text).hasMatch()) {
        bool ok = false;
        const qlonglong n = text.toLongLong(&ok);
        if (ok && n >= std::numeric_limits<int>::min() && n <= qlonglong(0xFFFFFFFFu)) {
            *number = int(quint32(n));
            return {};
        }
        return Status::failure(ErrInvalidPropertyValue,
                               QStringLiteral("Invalid property value: %1 is too large for a colour number")
                                   .arg(quoted(text)));
    }
    if (QColor::isValidColorName(text)) {
        *number = colorNumber(QColor::fromString(text).rgb());
        return {};
    }
    return mismatch(input, QStringLiteral("a colour: type #RRGGBB, red, green, blue, or a colour name"));
}

QRgb colorRgb(int number)
{
    int index = 0;
    if (isSystemColor(number, &index))
        return Look::systemColorRgb(index);
    if (number < 0)
        return 0xff000000;
    return qRgb(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

int colorNumber(QRgb rgb)
{
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

QString describePicture(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("(none)");
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!reader.canRead())
        return QStringLiteral("%1 bytes, not a picture").arg(bytes.size());
    return QStringLiteral("%1 picture, %2 × %3 pixels")
        .arg(QString::fromLatin1(reader.format()).toUpper())
        .arg(size.width())
        .arg(size.height());
}

Status loadPicture(const QString &path, QByteArray *bytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Status::failure(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path), path);
    if (info.isDir())
        return Status::failure(ErrPathAccess, QStringLiteral("Path/File access error: %1 is a folder").arg(path), path);
    if (info.size() > MaxPictureBytes)
        return Status::failure(ErrInvalidPropertyValue,
                               QStringLiteral("Invalid property value: %1 is larger than %2 MB")
                                   .arg(info.fileName())
                                   .arg(MaxPictureBytes / (1024 * 1024)),
                               path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(ErrPathAccess, QStringLiteral("Path/File access error: %1").arg(file.errorString()),
                               path);
    const QByteArray data = file.read(MaxPictureBytes + 1);
    if (file.error() != QFileDevice::NoError || data.size() > MaxPictureBytes)
        return Status::failure(ErrPathAccess, QStringLiteral("Path/File access error: %1").arg(file.errorString()),
                               path);
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Decoding is the only sure test: a reader may claim any XML file as SVG.
    if (data.isEmpty() || !reader.canRead() || reader.read().isNull())
        return Status::failure(ErrBadFileFormat,
                               QStringLiteral("Invalid file format: %1 is not a picture").arg(info.fileName()), path);
    *bytes = data;
    return {};
}

QString format(const PropertyInfo &info, const QVariant &value, LengthUnit unit)
{
    if (!value.isValid())
        return {};
    switch (info.kind) {
    case PropertyKind::Length:
        return formatLength(value.toDouble(), unit);
    case PropertyKind::Number:
        return Reflection::toText(QVariant(value.toDouble()));
    case PropertyKind::Integer:
        return QString::number(value.toInt());
    case PropertyKind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case PropertyKind::Enumeration: {
        const QString name = info.valueName(value.toInt());
        return name.isEmpty() ? QString::number(value.toInt()) : name;
    }
    case PropertyKind::Color:
        return formatColor(value.toInt());
    case PropertyKind::Picture:
        return describePicture(value.toByteArray());
    case PropertyKind::Text:
    case PropertyKind::LongText:
    case PropertyKind::FontName:
        return value.toString();
    case PropertyKind::Font:
    case PropertyKind::Part:
        return {};
    }
    return {};
}

Status parse(const PropertyInfo &info, const QString &text, LengthUnit unit, QVariant *value)
{
    const QString t = text.trimmed();
    switch (info.kind) {
    case PropertyKind::Text:
    case PropertyKind::LongText:
    case PropertyKind::FontName:
        *value = text;
        return {};
    case PropertyKind::Boolean: {
        static const QStringList yes = {QStringLiteral("true"), QStringLiteral("yes"), QStringLiteral("1"),
                                        QStringLiteral("on")};
        static const QStringList no = {QStringLiteral("false"), QStringLiteral("no"), QStringLiteral("0"),
                                       QStringLiteral("off")};
        if (yes.contains(t, Qt::CaseInsensitive))
            *value = true;
        else if (no.contains(t, Qt::CaseInsensitive))
            *value = false;
        else
            return mismatch(text, QStringLiteral("True or False"));
        return {};
    }
    case PropertyKind::Integer: {
        double n = 0;
        if (!readNumber(t, &n))
            return mismatch(text, QStringLiteral("a whole number"));
        if (std::abs(n) > 4e9)
            return check(info, n, unit);
        *value = int(std::llround(n));
        break;
    }
    case PropertyKind::Number: {
        double n = 0;
        if (!readNumber(t, &n))
            return mismatch(text, QStringLiteral("a number"));
        *value = n;
        break;
    }
    case PropertyKind::Length: {
        double twips = 0;
        if (Status s = parseLength(t, unit, &twips); !s)
            return s;
        *value = twips;
        break;
    }
    case PropertyKind::Enumeration: {
        bool found = false;
        for (const EnumValue &v : info.values) {
            if (t.compare(v.name, Qt::CaseInsensitive) == 0) {
                *value = v.value;
                found = true;
                break;
            }
        }
        if (!found) {
            bool isNumber = false;
            const int n = t.toInt(&isNumber);
            if (!isNumber)
                return Status::failure(ErrInvalidPropertyValue,
                                       QStringLiteral("Invalid property value: %1 is not one of %2")
                                           .arg(quoted(t), namesOf(info)));
            *value = n;
        }
        break;
    }
    case PropertyKind::Color: {
        int n = 0;
        if (Status s = parseColor(t, &n); !s)
            return s;
        *value = n;
        break;
    }
    case PropertyKind::Picture: {
        QByteArray bytes;
        if (!t.isEmpty()) {
            if (Status s = loadPicture(t, &bytes); !s)
                return s;
        }
        *value = bytes;
        return {};
    }
    case PropertyKind::Font:
    case PropertyKind::Part:
        return Status::failure(ErrInvalidCall,
                               QStringLiteral("%1 is set through its own properties").arg(info.name));
    }
    return check(info, *value, unit);
}

Status check(const PropertyInfo &info, const QVariant &value, LengthUnit unit)
{
    switch (info.kind) {
    case PropertyKind::Integer:
    case PropertyKind::Number:
    case PropertyKind::Length:
    case PropertyKind::Enumeration:
    case PropertyKind::Color:
        break;
    default:
        return {};
    }
    const double n = value.toDouble();
    if (info.kind == PropertyKind::Enumeration && !info.openValues && info.valueName(int(n)).isEmpty())
        return Status::failure(ErrInvalidPropertyValue, QStringLiteral("Invalid property value: %1 must be one of %2")
                                                            .arg(info.name, namesOf(info)));
    if (info.kind != PropertyKind::Color && (n < info.minimum || n > info.maximum)) {
        const auto limit = [&](double v) {
            return info.kind == PropertyKind::Length ? formatLength(v, unit) : Reflection::toText(QVariant(v));
        };
        return Status::failure(ErrInvalidPropertyValue, QStringLiteral("Invalid property value: %1 must lie between %2 and %3")
                                                            .arg(info.name, limit(info.minimum), limit(info.maximum)));
    }
    return {};
}

} // namespace Orv::PropertyText
