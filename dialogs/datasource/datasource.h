#pragma once
// frmDataSource, the report data source dialog (View > Data Source): a
// tree of topics of which the connection page is built, where 连接 asks
// for a connection string with PromptConnectString. It changes nothing in
// the report; a report's database is changed through its data control's
// ConnectionString in the property list, which opens the same dialog.
#include "dialogs/connection/promptconnectstring.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace Orv {

class Report;
class Ui;

class frmDataSource : public QDialog
{
    Q_OBJECT

public:
    explicit frmDataSource(Ui &ui, QWidget *parent = nullptr);

    void SetReport(Report *report) { m_report = report; }
    void setConnectionPrompt(ConnectionPrompt prompt) { m_prompt = std::move(prompt); }

    QTreeWidget *tv() const { return m_tv; }
    QLineEdit *txtCnn() const { return m_txtCnn; }
    QPushButton *btnConnect() const { return m_btnConnect; }

private:
    void connectClicked();
    bool SaveDataSource();

    Ui &m_ui;
    Report *m_report = nullptr;
    ConnectionPrompt m_prompt;
    QTreeWidget *m_tv;
    QLineEdit *m_txtCnn;
    QPushButton *m_btnConnect;
};

} // namespace Orv
