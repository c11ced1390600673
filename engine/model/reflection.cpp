#include "engine/model/reflection.h"
#include "engine/core/variantkind.h"

#include "engine/core/units.h"

#include <QLocale>
#include <QMetaClassInfo>

#include <cmath>
#include <limits>

namespace Orv::Reflection {

double maxTwips()
{
    return Units::MaxTwips;
}

QList<QMetaProperty> properties(const QMetaObject *metaObject)
{
    QList<QMetaProperty> out;
    for (int i = QObject::staticMetaObject.propertyCount(); i < metaObject->propertyCount(); ++i) {
        const QMetaProperty p = metaObject->property(i);
        if (metaObject->indexOfProperty(p.name()) == i)
            out.append(p);
    }
    return out;
}

bool isPart(const QMetaProperty &property)
{
    return property.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

QObject *partOf(const QObject *object, const QMetaProperty &property)
{
    return property.read(object).value<QObject *>();
}

namespace {

QMetaProperty findOwn(const QObject *object, QStringView name)
{
    const QMetaObject *mo = object->metaObject();
    // Exact spelling first: the common case, and it picks the subclass's
    // declaration of a redeclared property.
    const int exact = mo->indexOfProperty(name.toLatin1().constData());
    if (exact >= QObject::staticMetaObject.propertyCount())
        return mo->property(exact);
    for (const QMetaProperty &p : properties(mo)) {
        if (name.compare(QLatin1StringView(p.name()), Qt::CaseInsensitive) == 0)
            return p;
    }
    return {};
}

QString className(const QObject *object)
{
    QString name = QString::fromLatin1(object->metaObject()->className());
    if (name.startsWith(QLatin1String("Orv::")))
        name.remove(0, 5);
    return name;
}

} // namespace

Property find(QObject *object, const QString &path, Status *status)
{
    if (status)
        *status = Status();
    if (!object)
        return {};
    const QStringList parts = path.split(QLatin1Char('.'));
    QObject *current = object;
    for (int i = 0; i < parts.size(); ++i) {
        const QMetaProperty p = findOwn(current, parts[i]);
        if (!p.isValid()) {
            if (status)
                *status = Status::failure(ErrNoSuchMember,
                                          QStringLiteral("%1 has no property \"%2\"").arg(className(current), parts[i]));
            return {};
        }
        if (i == parts.size() - 1)
            return {current, p};
        if (!isPart(p) || !(current = partOf(current, p))) {
            if (status)
                *status = Status::failure(ErrNoSuchMember,
                                          QStringLiteral("\"%1\" of %2 has no properties of its own")
                                              .arg(QString::fromLatin1(p.name()), className(object)));
            return {};
        }
    }
    return {};
}

void range(const QMetaProperty &property, double *minimum, double *maximum)
{
    const QByteArray key = QByteArray("range:") + property.name();
    for (const QMetaObject *m = property.enclosingMetaObject(); m; m = m->superClass()) {
        const int index = m->indexOfClassInfo(key.constData());
        if (index >= 0) {
            const QList<QByteArray> bounds = QByteArray(m->classInfo(index).value()).split(' ');
            *minimum = bounds.value(0).toDouble();
            *maximum = bounds.value(1).toDouble();
            return;
        }
    }
    if (property.metaType().id() == QMetaType::Int) {
        *minimum = std::numeric_limits<int>::min();
        *maximum = std::numeric_limits<int>::max();
    } else {
        *minimum = -maxTwips();
        *maximum = maxTwips();
    }
}

QVariant value(QObject *object, const QString &path, Status *status)
{
    const Property p = find(object, path, status);
    return p.isValid() ? p.meta.read(p.object) : QVariant();
}

Status setValue(QObject *object, const QString &path, const QVariant &value)
{
    Status status;
    const Property p = find(object, path, &status);
    if (!p.isValid())
        return status;
    return setValue(p, value);
}

namespace {

Status mismatch(const Property &p, const QVariant &value)
{
    return Status::failure(ErrTypeMismatch, QStringLiteral("\"%1\" cannot be set to %2 (%3 expected)")
                                                .arg(QString::fromLatin1(p.meta.name()),
                                                     value.toString().left(40),
                                                     QString::fromLatin1(p.meta.metaType().name())));
}

} // namespace

Status setValue(const Property &p, const QVariant &value)
{
    if (!p.meta.isWritable())
        return Status::failure(ErrPropertyReadOnly,
                               QStringLiteral("\"%1\" is read-only").arg(QString::fromLatin1(p.meta.name())));
    const int type = p.meta.metaType().id();
    QVariant converted;
    if (type == QMetaType::Int || type == QMetaType::Double) {
        double number = 0;
        if (isNumericVariant(value)) {
            number = value.toDouble();
        } else if (value.metaType().id() == QMetaType::QString) {
            QVariant parsed;
            if (!fromText(value.toString().trimmed(), QMetaType(QMetaType::Double), &parsed))
                return mismatch(p, value);
            number = parsed.toDouble();
        } else {
            return mismatch(p, value);
        }
        double low = 0, high = 0;
        range(p.meta, &low, &high);
        if (!std::isfinite(number) || number < low || number > high)
            return Status::failure(ErrInvalidPropertyValue,
                                   QStringLiteral("Invalid property value: %1 must lie between %2 and %3")
                                       .arg(QString::fromLatin1(p.meta.name()), toText(low), toText(high)));
        if (type == QMetaType::Int)
            converted = int(std::llround(number));
        else
            converted = number;
    } else if (type == QMetaType::Bool) {
        if (isNumericVariant(value))
            converted = value.toDouble() != 0;
        else if (value.metaType().id() == QMetaType::QString
                 && fromText(value.toString().trimmed(), p.meta.metaType(), &converted))
            ;
        else
            return mismatch(p, value);
    } else if (type == QMetaType::QString) {
        if (!value.canConvert<QString>())
            return mismatch(p, value);
        converted = value.toString();
    } else if (type == QMetaType::QByteArray) {
        if (value.metaType().id() != QMetaType::QByteArray)
            return mismatch(p, value);
        converted = value;
    } else {
        return mismatch(p, value);
    }
    if (!p.meta.write(p.object, converted))
        return mismatch(p, value);
    return {};
}

QString toText(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray().toBase64());
    default:
        return value.toString();
    }
}

bool fromText(const QString &text, QMetaType type, QVariant *value)
{
    bool ok = false;
    switch (type.id()) {
    case QMetaType::Bool:
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            *value = true;
        else if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            *value = false;
        else
            return false;
        return true;
    case QMetaType::Int: {
        const int n = text.toInt(&ok);
        if (ok)
            *value = n;
        return ok;
    }
    case QMetaType::Double: {
        const double d = text.toDouble(&ok);
        if (ok && std::isfinite(d))
            *value = d;
        return ok && std::isfinite(d);
    }
    case QMetaType::QString:
        *value = text;
        return true;
    case QMetaType::QByteArray: {
        const auto result = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!result)
            return false;
        *value = *result;
        return true;
    }
    default:
        return false;
    }
}

void copyProperties(const QObject *source, QObject *target)
{
    if (!source || !target)
        return;
    for (const QMetaProperty &p : properties(source->metaObject())) {
        if (isPart(p)) {
            QObject *from = partOf(source, p);
            const QMetaProperty targetProperty = findOwn(target, QString::fromLatin1(p.name()));
            if (from && targetProperty.isValid() && isPart(targetProperty))
                copyProperties(from, partOf(target, targetProperty));
            continue;
        }
        if (!p.isStored() || !p.isWritable())
            continue;
        const int index = target->metaObject()->indexOfProperty(p.name());
        if (index >= 0)
            target->metaObject()->property(index).write(target, p.read(source));
    }
}

} // namespace Orv::Reflection
