#pragma once
// The connection dialog, the program's Data Links: a provider, the fields
// it needs, and the connection string they make, shown and editable.
// Test Connection tries the string off the window's thread, so a server
// that does not answer never freezes the window.
#include "dialogs/connection/connectionsettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace Orv {

class Ui;

class ConnectionDialog : public QDialog
{
    Q_OBJECT

public:
    // Starts from text when it is a connection string the dialog reads.
    ConnectionDialog(Ui &ui, const QString &text, QWidget *parent = nullptr);
    ~ConnectionDialog() override;

    // The string the fields make (what OK hands back).
    QString connectionString() const;
    const ConnectionSettings &settings() const { return m_settings; }
    // True while a test runs.
    bool testing() const { return m_testing; }

    void accept() override;

Q_SIGNALS:
    // A test ended: ok, or the failure shown.
    void testFinished(bool ok);

private:
    void build();
    void showSettings();
    void readFields();
    void stringEdited();
    void browse();
    void testConnection();
    void testDone(const Status &status);
    void updateStates();

    Ui &m_ui;
    ConnectionSettings m_settings;
    OdbcCatalogue m_odbc;
    bool m_updating = false;
    bool m_testing = false;

    QComboBox *m_cboProvider = nullptr;
    QStackedWidget *m_pages = nullptr;
    QLineEdit *m_txtFile = nullptr;
    QPushButton *m_btnBrowse = nullptr;
    QLineEdit *m_txtHost = nullptr;
    QSpinBox *m_txtPort = nullptr;
    QLineEdit *m_txtDatabase = nullptr;
    QRadioButton *m_optDsn = nullptr;
    QComboBox *m_cboDsn = nullptr;
    QRadioButton *m_optDriver = nullptr;
    QComboBox *m_cboDriver = nullptr;
    QWidget *m_login = nullptr;
    QLineEdit *m_txtUser = nullptr;
    QLineEdit *m_txtPassword = nullptr;
    QCheckBox *m_chkSavePassword = nullptr;
    QPlainTextEdit *m_txtConnectionString = nullptr;
    QLabel *m_lblStringError = nullptr;
    QLabel *m_lblTest = nullptr;
    QPushButton *m_btnTest = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
};

} // namespace Orv
