#include "wizardshots.h"

#include "dialogs/connection/connectiondialog.h"
#include "dialogs/datasource/datasource.h"
#include "dialogs/reportwizard/reportwizard.h"

#include <QApplication>
#include <QLineEdit>

namespace Orv {

namespace {

QImage shot(QWidget &w)
{
    w.show();
    QApplication::processEvents();
    return w.grab().toImage();
}

void pick(WizardFlow &flow, const QString &table, const QString &field)
{
    flow.chooseTable(int(flow.tables.items.indexOf(QStringLiteral("Table: ") + table)));
    flow.fields.current = int(flow.fields.items.indexOf(field));
    flow.moveFields(0);
}

} // namespace

QImage wizardScreenshot(Ui &ui, const QString &what, const QString &connection, QWidget *parent)
{
    if (what == QLatin1String("connection")) {
        ConnectionDialog dialog(ui, connection, parent);
        return shot(dialog);
    }
    if (what == QLatin1String("datasource")) {
        frmDataSource dialog(ui, parent);
        dialog.txtCnn()->setText(connection);
        return shot(dialog);
    }
    frmReportWizard wizard(ui, nullptr, parent);
    WizardFlow &flow = wizard.flow();
    flow.setRelateTables([](Wizard::Report &model) { model.FillSelectedRelations(); });
    const int page = what == QLatin1String("relate") ? 2 : what == QLatin1String("groupoptions") ? 3 : what.toInt();
    // A sample run, page by page up to the one drawn: products by
    // category, sorted by name from Z to A.
    flow.showPage(0);
    for (int p = 1; p <= page && p < WizardFlow::PageCount; ++p) {
        flow.next();
        switch (p) {
        case 1:
            flow.connectString = connection;
            break;
        case 2:
            pick(flow, QStringLiteral("Categories"), QStringLiteral("CategoryName"));
            pick(flow, QStringLiteral("Products"), QStringLiteral("ProductName"));
            pick(flow, QStringLiteral("Products"), QStringLiteral("UnitPrice"));
            break;
        case 3:
            flow.availableGroupFields.current = 0;
            flow.addGroupLevel();
            break;
        case 4:
            flow.chooseSort(0, 2);
            flow.setSortAscending(0, false);
            break;
        case 6:
            flow.titleEdited(QStringLiteral("Products by Category"));
            break;
        default:
            break;
        }
    }
    wizard.refresh();
    if (what == QLatin1String("relate")) {
        frmRelateTables relate(flow.model(), ui, &wizard);
        return shot(relate);
    }
    if (what == QLatin1String("groupoptions")) {
        GroupOptionsModel model(flow.model());
        frmGroupOptions options(model, &wizard);
        return shot(options);
    }
    return shot(wizard);
}

} // namespace Orv
