#pragma once
// The rules of the object-properties window: the object it shows (the
// first selected control, else the selected section, else the report),
// its type name and the banner title made from it.
#include <QObject>
#include <QPointer>
#include <QString>

namespace Orv {

class DesignerCore;

class PropertiesModel
{
public:
    // The object to show for the designer's selection now.
    static QObject *objectFor(const DesignerCore &designer);
    // "DataControl", "Field", "Label", "Image", "Subreport", "Richedit",
    // "Section", "Report", or the control's own kind for the others.
    static QString typeName(const QObject *object);

    void SetObject(QObject *o);
    QObject *object() const { return m_object; }
    QString type() const { return m_object ? typeName(m_object) : QString(); }
    // "Field属性".
    QString title() const;

private:
    QPointer<QObject> m_object;
};

} // namespace Orv
