#pragma once
// frmProperties: the property list of one object (a control, a section
// or the report) in a window that is not modal. Given a designer it
// follows the selection: the first selected control, else the section,
// else the report. Edits are the designer's undo steps, made as typed; OK
// and Cancel close the window.
#include "dialogs/common/topicpages.h"
#include "dialogs/properties/propertiesmodel.h"

namespace Orv {

class PropertyDialogs;
class PropertyList;

class frmProperties : public TopicDialog
{
    Q_OBJECT

public:
    frmProperties(DesignerCore *designer, PropertyDialogs *dialogs, QWidget *parent = nullptr);

    void SetObject(QObject *o);
    PropertiesModel &model() { return m_model; }
    PropertyList *propertyList() const { return m_list; }

private:
    PropertiesModel m_model;
    DesignerCore *m_designer;
    PropertyList *m_list;
};

} // namespace Orv
