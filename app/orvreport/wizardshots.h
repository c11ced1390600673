#pragma once
// Pictures of the wizard's pages and dialogs for the documentation, drawn
// from the real windows filled with a sample run over a database.
#include <QImage>
#include <QString>

class QWidget;

namespace Orv {

class Ui;

// what: a wizard page "0" to "7", "relate", "groupoptions", "connection"
// or "datasource"; connection: the database the wizard runs on.
QImage wizardScreenshot(Ui &ui, const QString &what, const QString &connection, QWidget *parent);

} // namespace Orv
