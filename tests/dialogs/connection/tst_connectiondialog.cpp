// The connection dialog: each provider's string built from its fields and
// read back, failed tests showing the database's own message (a wrong
// password on a real server, a file that is not a database, a server that
// never answers, a driver that is not installed), and PromptConnectString's
// cancel and error box.

#include "pgtestserver.h"

#include "dialogs/connection/connectiondialog.h"
#include "dialogs/connection/promptconnectstring.h"
#include "engine/data/sampledatabase.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "ui/recordingui.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Orv;

class TestConnectionDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PgTestServer m_pg;
    QString m_sqlite;

    template<typename T>
    static T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        if (!c)
            qFatal("no %s", name);
        return c;
    }

    // Clicks Test and waits for its end.
    static bool runTest(ConnectionDialog &dialog, int timeoutMs = 15000)
    {
        QSignalSpy done(&dialog, &ConnectionDialog::testFinished);
        QTest::mouseClick(child<QPushButton>(&dialog, "btnTest"), Qt::LeftButton);
        if (!done.wait(timeoutMs))
            return false;
        return done.first().first().toBool();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_sqlite = m_dir.filePath(QStringLiteral("tesserane.db"));
        QVERIFY(Data::createSampleDatabase(m_sqlite, 1).ok());
        QString error;
        QVERIFY2(m_pg.start(&error), qPrintable(error));
        QVERIFY2(m_pg.createDatabase(QStringLiteral("tesserane"), QStringLiteral(ORV_TEST_DATA "/tesserane-pg.sql"), &error),
                 qPrintable(error));
    }
    void cleanupTestCase() { m_pg.stop(); }

    void strings()
    {
        ConnectionSettings s;
        s.provider = ConnectionProvider::Access;
        s.file = QStringLiteral("/data/North wind.accdb");
        QCOMPARE(s.toString(), QStringLiteral("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=/data/North wind.accdb"));
        s.file = QStringLiteral("/data/a.mdb");
        QCOMPARE(s.toString(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/a.mdb"));

        // PostgreSQL: the password goes with a Persist Security Info that
        // says whether saved layouts keep it; unknown keys are kept.
        ConnectionSettings pg;
        QVERIFY(ConnectionSettings::parse(QStringLiteral("Provider=PostgreSQL;Server=db.local:6543;Initial Catalog=sales;"
                                                         "UID=report;PWD='a;b';SSL Mode=require"),
                                          &pg, nullptr));
        QCOMPARE(pg.provider, ConnectionProvider::PostgreSQL);
        QCOMPARE(pg.host, QStringLiteral("db.local"));
        QCOMPARE(pg.port, 6543);
        QCOMPARE(pg.database, QStringLiteral("sales"));
        QCOMPARE(pg.password, QStringLiteral("a;b"));
        QVERIFY(!pg.savePassword);
        QCOMPARE(pg.toString(), QStringLiteral("Provider=PostgreSQL;Host=db.local;Port=6543;Database=sales;User ID=report;"
                                               "Password=\"a;b\";SSL Mode=require;Persist Security Info=False"));
        pg.savePassword = true;
        ConnectionSettings back;
        QVERIFY(ConnectionSettings::parse(pg.toString(), &back, nullptr));
        QVERIFY(back.savePassword);
        QCOMPARE(back.toString(), pg.toString());

        // ODBC by data source or by driver.
        ConnectionSettings odbc;
        QVERIFY(ConnectionSettings::parse(QStringLiteral("Driver={SQLite3};Database=/tmp/x.db"), &odbc, nullptr));
        QCOMPARE(odbc.provider, ConnectionProvider::Odbc);
        QCOMPARE(odbc.driver, QStringLiteral("SQLite3"));
        QCOMPARE(odbc.toString(), QStringLiteral("Provider=MSDASQL;Driver={SQLite3};Database=/tmp/x.db"));
        odbc.dsn = QStringLiteral("Sales");
        QCOMPARE(odbc.toString(), QStringLiteral("Provider=MSDASQL;DSN=Sales;Database=/tmp/x.db"));

        // What cannot be read says why.
        Status status;
        QVERIFY(!ConnectionSettings::parse(QStringLiteral("Provider=Nothing"), &back, &status));
        QCOMPARE(status.number(), 3706);
        QVERIFY(!ConnectionSettings::parse(QStringLiteral("Data Source=\"open"), &back, &status));
        QVERIFY2(status.description().contains(QStringLiteral("character")), qPrintable(status.description()));

        // A saved layout keeps the password only when the box was ticked.
        Report report;
        Control *dc = report.sections()->Item(1)->controls()->Add(QStringLiteral("OrvEngine.DataControl"));
        QVERIFY(dc);
        pg.savePassword = false;
        dc->setProperty("ConnectionString", pg.toString());
        QByteArray saved = layoutBytes(report);
        QVERIFY(!saved.contains("a;b"));
        QVERIFY(saved.contains("User ID=report;SSL Mode=require;Persist Security Info=False"));
        QCOMPARE(dc->property("ConnectionString").toString(), pg.toString()); // the design keeps it while open
        pg.savePassword = true;
        dc->setProperty("ConnectionString", pg.toString());
        QVERIFY(layoutBytes(report).contains("Password=&quot;a;b&quot;"));

        // The drivers unixODBC lists, read through its API.
        QVERIFY(OdbcCatalogue::read().drivers.contains(QStringLiteral("SQLite3")));
    }

    void failedTests()
    {
        ConnectionSettings pg;
        QVERIFY(ConnectionSettings::parse(m_pg.connectionString(QStringLiteral("tesserane")), &pg, nullptr));
        QVERIFY(pg.test().ok());
        pg.password = QStringLiteral("wrong");
        Status status = pg.test();
        QVERIFY2(status.description().contains(QStringLiteral("password authentication failed")),
                 qPrintable(status.description()));

        ConnectionSettings file;
        file.file = m_dir.filePath(QStringLiteral("notes.db"));
        QFile notes(file.file);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write(QByteArray(4096, 'x'));
        notes.close();
        status = file.test();
        QVERIFY2(status.description().contains(QStringLiteral("not a database")), qPrintable(status.description()));
        file.file = m_dir.filePath(QStringLiteral("missing.db"));
        QCOMPARE(file.test().number(), 53);

        ConnectionSettings odbc;
        odbc.provider = ConnectionProvider::Odbc;
        odbc.driver = QStringLiteral("No Such Driver");
        status = odbc.test();
        QVERIFY(!status.ok());
        QVERIFY2(status.description().contains(QStringLiteral("No Such Driver")), qPrintable(status.description()));
    }

    // A server that takes the connection and never answers: the dialog
    // keeps painting, and the test fails within the connect timeout.
    void silentServer()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        RecordingUi ui;
        ConnectionDialog dialog(ui, QStringLiteral("Provider=PostgreSQL;Host=127.0.0.1;Port=%1;Database=x;User ID=u")
                                        .arg(silent.serverPort()));
        dialog.show();
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(100);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!runTest(dialog));
        QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks))); // the window's thread ran meanwhile
        QCOMPARE(ui.last().icon, MessageIcon::Critical);
        QVERIFY(ui.last().text.startsWith(QStringLiteral("测试连接失败:")));
    }

    void dialog()
    {
        RecordingUi ui;
        ConnectionDialog dialog(ui, m_pg.connectionString(QStringLiteral("tesserane")));
        dialog.show();
        QCOMPARE(child<QComboBox>(&dialog, "cboProvider")->currentIndex(), int(ConnectionProvider::PostgreSQL));
        QCOMPARE(child<QSpinBox>(&dialog, "txtPort")->value(), m_pg.port());
        QCOMPARE(child<QLineEdit>(&dialog, "txtDatabase")->text(), QStringLiteral("tesserane"));
        QVERIFY(child<QLineEdit>(&dialog, "txtUser")->isVisible());
        QVERIFY(runTest(dialog));
        QCOMPARE(ui.last().text, QStringLiteral("测试连接成功。"));

        // A wrong password: the server's own words.
        QLineEdit *password = child<QLineEdit>(&dialog, "txtPassword");
        password->selectAll();
        QTest::keyClicks(password, QStringLiteral("nope"));
        QVERIFY(!runTest(dialog));
        QVERIFY2(ui.last().text.contains(QStringLiteral("password authentication failed")), qPrintable(ui.last().text));

        // SQLite: a file chosen through the file dialog; no login fields.
        QComboBox *provider = child<QComboBox>(&dialog, "cboProvider");
        provider->setCurrentIndex(int(ConnectionProvider::SQLite));
        QVERIFY(!child<QLineEdit>(&dialog, "txtUser")->isVisible());
        QVERIFY(!child<QPushButton>(&dialog, "btnTest")->isEnabled()); // no file yet
        ui.answer(m_sqlite);
        QTest::mouseClick(child<QPushButton>(&dialog, "btnBrowse"), Qt::LeftButton);
        QCOMPARE(ui.last().kind, RecordingUi::Kind::OpenFile);
        auto *text = child<QPlainTextEdit>(&dialog, "txtConnectionString");
        QCOMPARE(text->toPlainText(), QStringLiteral("Provider=SQLite;Data Source=") + m_sqlite);
        QVERIFY(runTest(dialog));

        // Typing the string moves the fields; a broken one says where and
        // blocks OK.
        text->setPlainText(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" ORV_TEST_DATA "/Northwind.mdb"));
        QCOMPARE(provider->currentIndex(), int(ConnectionProvider::Access));
        QCOMPARE(child<QLineEdit>(&dialog, "txtFile")->text(), QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"));
        text->setPlainText(QStringLiteral("Data Source='x"));
        QVERIFY(child<QLabel>(&dialog, "lblStringError")->isVisible());
        QVERIFY(!child<QPushButton>(&dialog, "btnOK")->isEnabled());
        text->setPlainText(QStringLiteral("Data Source=") + m_sqlite);
        QVERIFY(child<QPushButton>(&dialog, "btnOK")->isEnabled());
        QTest::mouseClick(child<QPushButton>(&dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.connectionString(), QStringLiteral("Provider=SQLite;Data Source=") + m_sqlite);
    }

    void prompt()
    {
        RecordingUi ui;
        // Cancelling the real dialog gives empty text.
        QTimer::singleShot(0, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
        });
        QCOMPARE(dialogConnectionPrompt(ui, nullptr)(QString(), QString()), QString());
        QVERIFY(ui.requests().isEmpty());

        // No service: the box names the step it was on.
        QCOMPARE(PromptConnectString(nullptr, ui, QString(), QString()), QString());
        QCOMPARE(ui.last().title, QStringLiteral("Error Connecting to Database."));
        QCOMPARE(ui.last().icon, MessageIcon::Critical);
        QVERIFY(ui.last().text.startsWith(QStringLiteral("Error While [Creating Datalinks object.].  Details are below: \r\n")));

        struct Failing : DataLinks
        {
            Status PromptNew(QString *, bool *) override { return Status::failure(-2147467259, QStringLiteral("broken"), QStringLiteral("Links")); }
            Status PromptEdit(const QString &current, QString *out, bool *cancelled) override
            {
                *out = current + QStringLiteral(";Port=1");
                *cancelled = false;
                return {};
            }
        } failing;
        ui.clear();
        QCOMPARE(PromptConnectString(&failing, ui, QString(), QString()), QString());
        QCOMPARE(ui.last().text, QStringLiteral("Error While [Prompting user for  new  connect string].  Details are below: \r\n"
                                                "Description:[broken].\r\nSource:[Links].\r\nNumber:[-2147467259].\r\n"
                                                "Help File:[].\r\n"));
        // Editing starts from the current text, after the message.
        ui.clear();
        QCOMPARE(PromptConnectString(&failing, ui, QStringLiteral("Host=a"), QStringLiteral("Pick")), QStringLiteral("Host=a;Port=1"));
        QCOMPARE(ui.requests().size(), 1);
        QCOMPARE(ui.last().title, QStringLiteral("Connecting to Database..."));
    }
};

QTEST_MAIN(TestConnectionDialog)
#include "tst_connectiondialog.moc"
