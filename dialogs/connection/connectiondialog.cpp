#include "dialogs/connection/connectiondialog.h"

#include "ui/uiseam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>

namespace Orv {

namespace {

// Pages of the field stack.
enum Page { FilePage, ServerPage, OdbcPage };

Page pageFor(ConnectionProvider provider)
{
    switch (provider) {
    case ConnectionProvider::PostgreSQL: return ServerPage;
    case ConnectionProvider::Odbc: return OdbcPage;
    default: return FilePage;
    }
}

} // namespace

ConnectionDialog::ConnectionDialog(Ui &ui, const QString &text, QWidget *parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_odbc(OdbcCatalogue::read())
{
    setObjectName(QStringLiteral("frmConnection"));
    m_settings.host = QStringLiteral("127.0.0.1");
    if (!text.trimmed().isEmpty()) {
        ConnectionSettings read;
        Status status;
        if (ConnectionSettings::parse(text, &read, &status))
            m_settings = read;
    }
    build();
    showSettings();
    if (!text.trimmed().isEmpty() && m_txtConnectionString->toPlainText() != text) {
        // A string the fields do not cover is kept as typed.
        m_updating = true;
        m_txtConnectionString->setPlainText(text);
        m_updating = false;
        stringEdited();
    }
    updateStates();
}

ConnectionDialog::~ConnectionDialog() = default;

void ConnectionDialog::build()
{
    setWindowTitle(tr("数据链接属性"));
    auto *layout = new QVBoxLayout(this);

    auto *providerRow = new QFormLayout;
    m_cboProvider = new QComboBox;
    m_cboProvider->setObjectName(QStringLiteral("cboProvider"));
    m_cboProvider->addItems(ConnectionSettings::providerNames());
    providerRow->addRow(tr("提供程序(&P):"), m_cboProvider);
    layout->addLayout(providerRow);

    m_pages = new QStackedWidget;
    // Files: SQLite and Access.
    {
        auto *page = new QWidget;
        auto *form = new QFormLayout(page);
        form->setContentsMargins(0, 0, 0, 0);
        auto *row = new QHBoxLayout;
        m_txtFile = new QLineEdit;
        m_txtFile->setObjectName(QStringLiteral("txtFile"));
        m_txtFile->setMinimumWidth(320);
        m_btnBrowse = new QPushButton(tr("浏览(&B)..."));
        m_btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
        row->addWidget(m_txtFile, 1);
        row->addWidget(m_btnBrowse);
        form->addRow(tr("数据库文件(&F):"), row);
        m_pages->addWidget(page);
    }
    // Servers: PostgreSQL.
    {
        auto *page = new QWidget;
        auto *form = new QFormLayout(page);
        form->setContentsMargins(0, 0, 0, 0);
        m_txtHost = new QLineEdit;
        m_txtHost->setObjectName(QStringLiteral("txtHost"));
        m_txtPort = new QSpinBox;
        m_txtPort->setObjectName(QStringLiteral("txtPort"));
        m_txtPort->setRange(1, 65535);
        m_txtDatabase = new QLineEdit;
        m_txtDatabase->setObjectName(QStringLiteral("txtDatabase"));
        form->addRow(tr("主机(&H):"), m_txtHost);
        form->addRow(tr("端口(&O):"), m_txtPort);
        form->addRow(tr("数据库(&D):"), m_txtDatabase);
        m_pages->addWidget(page);
    }
    // ODBC: a data source or a driver.
    {
        auto *page = new QWidget;
        auto *form = new QFormLayout(page);
        form->setContentsMargins(0, 0, 0, 0);
        m_optDsn = new QRadioButton(tr("数据源(&S):"));
        m_optDsn->setObjectName(QStringLiteral("optDsn"));
        m_cboDsn = new QComboBox;
        m_cboDsn->setObjectName(QStringLiteral("cboDsn"));
        m_cboDsn->setEditable(true);
        m_cboDsn->addItems(m_odbc.dataSources);
        m_optDriver = new QRadioButton(tr("驱动程序(&R):"));
        m_optDriver->setObjectName(QStringLiteral("optDriver"));
        m_cboDriver = new QComboBox;
        m_cboDriver->setObjectName(QStringLiteral("cboDriver"));
        m_cboDriver->setEditable(true);
        m_cboDriver->addItems(m_odbc.drivers);
        form->addRow(m_optDsn, m_cboDsn);
        form->addRow(m_optDriver, m_cboDriver);
        m_pages->addWidget(page);
    }
    layout->addWidget(m_pages);

    m_login = new QWidget;
    {
        auto *form = new QFormLayout(m_login);
        form->setContentsMargins(0, 0, 0, 0);
        m_txtUser = new QLineEdit;
        m_txtUser->setObjectName(QStringLiteral("txtUser"));
        m_txtPassword = new QLineEdit;
        m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
        m_txtPassword->setEchoMode(QLineEdit::Password);
        m_chkSavePassword = new QCheckBox(tr("在报表中保存密码(&S)"));
        m_chkSavePassword->setObjectName(QStringLiteral("chkSavePassword"));
        m_chkSavePassword->setToolTip(
            tr("不勾选时，密码只在程序运行期间使用，不写入保存的布局文件。"));
        form->addRow(tr("用户名(&U):"), m_txtUser);
        form->addRow(tr("密码(&W):"), m_txtPassword);
        form->addRow(QString(), m_chkSavePassword);
    }
    layout->addWidget(m_login);

    auto *stringLabel = new QLabel(tr("连接字符串(&T):"));
    m_txtConnectionString = new QPlainTextEdit;
    m_txtConnectionString->setObjectName(QStringLiteral("txtConnectionString"));
    m_txtConnectionString->setFixedHeight(fontMetrics().lineSpacing() * 4);
    stringLabel->setBuddy(m_txtConnectionString);
    layout->addWidget(stringLabel);
    layout->addWidget(m_txtConnectionString);
    m_lblStringError = new QLabel;
    m_lblStringError->setObjectName(QStringLiteral("lblStringError"));
    m_lblStringError->setWordWrap(true);
    m_lblStringError->setStyleSheet(QStringLiteral("color: #b00020"));
    m_lblStringError->hide();
    layout->addWidget(m_lblStringError);

    auto *buttons = new QHBoxLayout;
    m_btnTest = new QPushButton(tr("测试连接(&T)"));
    m_btnTest->setObjectName(QStringLiteral("btnTest"));
    m_lblTest = new QLabel;
    m_lblTest->setObjectName(QStringLiteral("lblTest"));
    m_btnOK = new QPushButton(tr("确定[&O]"));
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(tr("取消[&C]"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_btnTest);
    buttons->addWidget(m_lblTest, 1);
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    layout->addLayout(buttons);

    connect(m_cboProvider, &QComboBox::currentIndexChanged, this, &ConnectionDialog::readFields);
    for (QLineEdit *line : {m_txtFile, m_txtHost, m_txtDatabase, m_txtUser, m_txtPassword})
        connect(line, &QLineEdit::textChanged, this, &ConnectionDialog::readFields);
    connect(m_txtPort, &QSpinBox::valueChanged, this, &ConnectionDialog::readFields);
    connect(m_optDsn, &QRadioButton::toggled, this, &ConnectionDialog::readFields);
    connect(m_cboDsn, &QComboBox::currentTextChanged, this, &ConnectionDialog::readFields);
    connect(m_cboDriver, &QComboBox::currentTextChanged, this, &ConnectionDialog::readFields);
    connect(m_chkSavePassword, &QCheckBox::toggled, this, &ConnectionDialog::readFields);
    connect(m_txtConnectionString, &QPlainTextEdit::textChanged, this, &ConnectionDialog::stringEdited);
    connect(m_btnBrowse, &QPushButton::clicked, this, &ConnectionDialog::browse);
    connect(m_btnTest, &QPushButton::clicked, this, &ConnectionDialog::testConnection);
    connect(m_btnOK, &QPushButton::clicked, this, &ConnectionDialog::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &ConnectionDialog::reject);
}

void ConnectionDialog::showSettings()
{
    m_updating = true;
    const ConnectionSettings &s = m_settings;
    m_cboProvider->setCurrentIndex(int(s.provider));
    m_pages->setCurrentIndex(pageFor(s.provider));
    m_txtFile->setText(s.file);
    m_txtHost->setText(s.host);
    m_txtPort->setValue(s.port > 0 ? s.port : 5432);
    m_txtDatabase->setText(s.database);
    const bool byDriver = s.dsn.isEmpty() && !s.driver.isEmpty();
    m_optDsn->setChecked(!byDriver);
    m_optDriver->setChecked(byDriver);
    m_cboDsn->setCurrentText(s.dsn);
    m_cboDriver->setCurrentText(s.driver);
    m_txtUser->setText(s.user);
    m_txtPassword->setText(s.password);
    m_chkSavePassword->setChecked(s.savePassword);
    m_txtConnectionString->setPlainText(s.toString());
    m_lblStringError->hide();
    m_updating = false;
}

void ConnectionDialog::readFields()
{
    if (m_updating)
        return;
    ConnectionSettings &s = m_settings;
    const auto provider = ConnectionProvider(m_cboProvider->currentIndex());
    if (provider != s.provider)
        s.extra.clear(); // another provider's settings would not fit
    s.provider = provider;
    s.file = m_txtFile->text().trimmed();
    s.host = m_txtHost->text().trimmed();
    s.port = m_txtPort->value();
    s.database = m_txtDatabase->text().trimmed();
    s.dsn = m_optDsn->isChecked() ? m_cboDsn->currentText().trimmed() : QString();
    s.driver = m_optDriver->isChecked() ? m_cboDriver->currentText().trimmed() : QString();
    s.user = m_txtUser->text();
    s.password = m_txtPassword->text();
    s.savePassword = m_chkSavePassword->isChecked();
    m_updating = true;
    m_pages->setCurrentIndex(pageFor(s.provider));
    m_txtConnectionString->setPlainText(s.toString());
    m_lblStringError->hide();
    m_updating = false;
    updateStates();
}

void ConnectionDialog::stringEdited()
{
    if (m_updating)
        return;
    ConnectionSettings read;
    Status status;
    if (!ConnectionSettings::parse(m_txtConnectionString->toPlainText().simplified(), &read, &status)) {
        m_lblStringError->setText(status.description());
        m_lblStringError->show();
        updateStates();
        return;
    }
    m_settings = read;
    const QString typed = m_txtConnectionString->toPlainText();
    const int cursor = m_txtConnectionString->textCursor().position();
    showSettings();
    // Keep what the user is typing as typed.
    m_updating = true;
    m_txtConnectionString->setPlainText(typed);
    QTextCursor c = m_txtConnectionString->textCursor();
    c.setPosition(qMin(cursor, int(typed.size())));
    m_txtConnectionString->setTextCursor(c);
    m_updating = false;
    updateStates();
}

QString ConnectionDialog::connectionString() const
{
    return m_lblStringError->isVisibleTo(this) ? m_txtConnectionString->toPlainText().simplified()
                                                : m_settings.toString();
}

void ConnectionDialog::browse()
{
    FileDialogRequest request;
    request.title = tr("数据库文件");
    request.fileName = m_txtFile->text();
    request.filter = m_settings.provider == ConnectionProvider::Access
                         ? tr("Access 数据库 (*.mdb *.accdb);;所有文件 (*)")
                         : tr("SQLite 数据库 (*.db *.sqlite *.sqlite3 *.db3);;所有文件 (*)");
    const QString path = m_ui.openFileName(request);
    if (!path.isEmpty())
        m_txtFile->setText(path);
}

void ConnectionDialog::updateStates()
{
    const bool valid = !m_lblStringError->isVisibleTo(this);
    const bool server = m_settings.provider == ConnectionProvider::PostgreSQL
                        || m_settings.provider == ConnectionProvider::Odbc;
    m_login->setVisible(server);
    m_cboDsn->setEnabled(m_optDsn->isChecked());
    m_cboDriver->setEnabled(m_optDriver->isChecked());
    m_chkSavePassword->setEnabled(!m_txtPassword->text().isEmpty());
    m_btnTest->setEnabled(valid && !m_testing && m_settings.missing().isEmpty());
    m_btnOK->setEnabled(valid && !m_testing);
    m_cboProvider->setEnabled(!m_testing);
    m_pages->setEnabled(!m_testing);
    m_login->setEnabled(!m_testing);
    m_txtConnectionString->setReadOnly(m_testing);
}

void ConnectionDialog::testConnection()
{
    if (m_testing)
        return;
    m_testing = true;
    m_lblTest->setText(tr("正在连接..."));
    updateStates();
    const ConnectionSettings settings = m_settings;
    const QPointer<ConnectionDialog> self(this);
    auto result = std::make_shared<Status>();
    QThread *thread = QThread::create([settings, result] { *result = settings.test(); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    // The dialog may be gone when the answer comes; the thread is not its child.
    connect(thread, &QThread::finished, this, [self, result] {
        if (self)
            self->testDone(*result);
    });
    thread->start();
}

void ConnectionDialog::testDone(const Status &status)
{
    m_testing = false;
    m_lblTest->clear();
    updateStates();
    if (status.ok()) {
        m_ui.messageBox(tr("测试连接成功。"), windowTitle(), MessageButtons::Ok,
                        MessageIcon::Information);
    } else {
        m_ui.messageBox(tr("测试连接失败:\n%1").arg(status.description()), windowTitle(),
                        MessageButtons::Ok, MessageIcon::Critical);
    }
    Q_EMIT testFinished(status.ok());
}

void ConnectionDialog::accept()
{
    if (m_testing)
        return;
    QDialog::accept();
}

} // namespace Orv
