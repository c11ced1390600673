#include "dialogs/properties/propertiesmodel.h"

#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"

#include <QCoreApplication>

namespace Orv {

QObject *PropertiesModel::objectFor(const DesignerCore &designer)
{
    if (Control *c = designer.primaryControl())
        return c;
    if (Section *s = designer.selectedSection())
        return s;
    return designer.DesignedReport();
}

QString PropertiesModel::typeName(const QObject *object)
{
    if (qobject_cast<const Report *>(object))
        return QStringLiteral("Report");
    if (qobject_cast<const Section *>(object))
        return QStringLiteral("Section");
    if (const auto *c = qobject_cast<const Control *>(object)) {
        const QString kind = c->typeName();
        if (kind.compare(QLatin1String("RichEdit"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Richedit");
        if (kind.compare(QLatin1String("SubReport"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Subreport");
        return kind;
    }
    return object ? QString::fromLatin1(object->metaObject()->className()).section(QLatin1String("::"), -1)
                  : QString();
}

void PropertiesModel::SetObject(QObject *o)
{
    m_object = o;
}

QString PropertiesModel::title() const
{
    return QCoreApplication::translate("frmProperties", "%1属性").arg(type());
}

} // namespace Orv
