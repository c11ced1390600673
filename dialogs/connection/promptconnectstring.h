#pragma once
// PromptConnectString: the one way the wizard, the data source dialog and
// the property list ask the user for a connection string. It runs the
// connection dialog through a DataLinks service and reports a failure in
// one detailed box naming the step it was on.
#include "engine/core/status.h"

#include <QString>

#include <functional>

class QWidget;

namespace Orv {

class Ui;

// The Data Links service: shows the connection dialog, new or on a given
// string. *cancelled tells a cancel apart from an empty answer.
class DataLinks
{
public:
    virtual ~DataLinks() = default;
    virtual Status PromptNew(QString *connectionString, bool *cancelled) = 0;
    virtual Status PromptEdit(const QString &current, QString *connectionString, bool *cancelled) = 0;
};

// The real one: the ConnectionDialog, modal over parent.
class DialogDataLinks : public DataLinks
{
public:
    DialogDataLinks(Ui &ui, QWidget *parent) : m_ui(ui), m_parent(parent) {}
    Status PromptNew(QString *connectionString, bool *cancelled) override;
    Status PromptEdit(const QString &current, QString *connectionString, bool *cancelled) override;

private:
    Ui &m_ui;
    QWidget *m_parent;
};

// The connection string the user built, or empty text when they cancelled
// or something failed (then the box "Error Connecting to Database." has
// told them). links null stands for a service that cannot be created.
// With a current text the dialog edits it; a non-empty message is shown
// first in a box titled "Connecting to Database...".
QString PromptConnectString(DataLinks *links, Ui &ui, const QString &current, const QString &message);

// The box's text for a failure at a step.
QString connectErrorText(const QString &step, const Status &status);

// What callers hold: a prompt from (current text, message) to the result.
using ConnectionPrompt = std::function<QString(const QString &current, const QString &message)>;
// The prompt of the real dialog over parent.
ConnectionPrompt dialogConnectionPrompt(Ui &ui, QWidget *parent);

} // namespace Orv
