#include "dialogs/connection/promptconnectstring.h"

#include "dialogs/connection/connectiondialog.h"
#include "ui/uiseam.h"

#include <QCoreApplication>

namespace Orv {

namespace {

Status runDialog(Ui &ui, QWidget *parent, const QString &current, QString *out, bool *cancelled)
{
    ConnectionDialog dialog(ui, current, parent);
    *cancelled = dialog.exec() != QDialog::Accepted;
    *out = *cancelled ? QString() : dialog.connectionString();
    return {};
}

} // namespace

Status DialogDataLinks::PromptNew(QString *connectionString, bool *cancelled)
{
    return runDialog(m_ui, m_parent, QString(), connectionString, cancelled);
}

Status DialogDataLinks::PromptEdit(const QString &current, QString *connectionString, bool *cancelled)
{
    return runDialog(m_ui, m_parent, current, connectionString, cancelled);
}

QString connectErrorText(const QString &step, const Status &status)
{
    const QString end = QStringLiteral("\r\n");
    return QStringLiteral("Error While [") + step + QStringLiteral("].  Details are below: ") + end
         + QStringLiteral("Description:[") + status.description() + QStringLiteral("].") + end
         + QStringLiteral("Source:[") + status.source() + QStringLiteral("].") + end
         + QStringLiteral("Number:[") + QString::number(status.number()) + QStringLiteral("].") + end
         + QStringLiteral("Help File:[].") + end;
}

QString PromptConnectString(DataLinks *links, Ui &ui, const QString &current, const QString &message)
{
    QString step = QStringLiteral("Creating Datalinks object.");
    const auto fail = [&](const Status &status) {
        ui.messageBox(connectErrorText(step, status), QStringLiteral("Error Connecting to Database."),
                      MessageButtons::Ok, MessageIcon::Critical);
        return QString();
    };
    if (!links)
        return fail(Status::failure(ErrCannotCreateObject, QStringLiteral("ActiveX component can't create object"),
                                    QStringLiteral("DataLinks")));
    QString result;
    bool cancelled = false;
    Status status;
    if (current.isEmpty()) {
        step = QStringLiteral("Prompting user for  new  connect string");
        status = links->PromptNew(&result, &cancelled);
    } else {
        if (!message.isEmpty())
            ui.messageBox(message, QStringLiteral("Connecting to Database..."), MessageButtons::Ok,
                          MessageIcon::Information);
        // The edit starts from the current text rather than a fixed one.
        step = QStringLiteral("Prompting user to  edit  connect string");
        status = links->PromptEdit(current, &result, &cancelled);
    }
    if (!status.ok())
        return fail(status);
    return cancelled ? QString() : result;
}

ConnectionPrompt dialogConnectionPrompt(Ui &ui, QWidget *parent)
{
    return [&ui, parent](const QString &current, const QString &message) {
        DialogDataLinks links(ui, parent);
        return PromptConnectString(&links, ui, current, message);
    };
}

} // namespace Orv
