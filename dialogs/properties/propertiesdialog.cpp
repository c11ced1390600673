#include "dialogs/properties/propertiesdialog.h"

#include "dialogs/common/dialogunits.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/propertylist/propertylist.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

frmProperties::frmProperties(DesignerCore *designer, PropertyDialogs *dialogs, QWidget *parent)
    : TopicDialog(parent), m_designer(designer)
{
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(tr("属性"));
    setModal(false);
    // One page and no topics to choose from.
    tv()->hide();
    QVBoxLayout *page = addPage(tr("  属性"));
    m_list = new PropertyList(this);
    m_list->setObjectName(QStringLiteral("plProperties"));
    m_list->setDialogs(dialogs);
    m_list->setUnit(DialogUnits::localeUnit());
    page->addWidget(m_list, 1);
    addTopic(QStringLiteral("PROPS"), tr("属性"), nullptr, 0);
    selectTopic(QStringLiteral("PROPS"));
    connect(btnOK(), &QPushButton::clicked, this, &QDialog::accept);
    if (designer) {
        m_list->setUndoStack(designer->undoStack());
        // A hidden window lets the selection go by; it is given its object when shown again.
        connect(designer, &DesignerCore::selectionChanged, this, [this] {
            if (isVisible())
                SetObject(PropertiesModel::objectFor(*m_designer));
        });
    }
    resize(420, 560);
}

void frmProperties::SetObject(QObject *o)
{
    m_model.SetObject(o);
    setBanner(m_model.title(), tr("填充属性设置"));
    if (o)
        m_list->SetObjects({o});
    else
        m_list->Clear();
}

} // namespace Orv
