// The program in English: every window and dialog of the program's list
// opened with the English translation loaded shows no Chinese outside the
// report's own data, every Chinese source text of the tree has its English,
// and the language follows the locale unless --lang says otherwise.
#include "shell/language.h"
#include "shell/settingsstore.h"
#include "shell/startdialogmodel.h"
#include "shell/window/mainwindow.h"
#include "shell/window/windowlist.h"
#include "clirunner.h"
#include "ui/recordingui.h"
#include "ui/uidesignerprompts.h"
#include "dialogs/connection/connectionsettings.h"
#include "dialogs/reportproperties/reportpropertiesmodel.h"
#include "widgettexts.h"

#include "engine/pages/pagecollection.h"
#include "engine/widgets/viewer/viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Orv;

class TestTranslation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_layout;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("ORVREPORT_CONFIG_DIR", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
        // The invoice example beside its database: the preview has pages.
        m_layout = m_dir.filePath(QStringLiteral("invoices.rpx"));
        QVERIFY(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/invoices.rpx"), m_layout));
        const auto db = TestSupport::runCli({QStringLiteral("sample-db"), m_dir.filePath(QStringLiteral("tesserane.db"))});
        QVERIFY2(db.code == 0, qPrintable(db.err));
    }

    void everyWindowIsInEnglish()
    {
        Translations english;
        QString error;
        QVERIFY2(english.install(UiLanguage::English, &error), qPrintable(error));
        QStringList chinese;
        for (const WindowEntry &entry : programWindows()) {
            RecordingUi ui;
            SettingsStore settings(m_dir.filePath(entry.name + QStringLiteral(".ini")));
            MainWindow window(ui, &settings);
            window.setStartDialogRunner([](StartDialogModel &m) { m.cancel(); });
            window.startUp(m_layout);
            window.show();
            QWidget *shown = entry.open(window, m_layout);
            shown->show();
            if (window.viewMode() == ViewMode::Preview)
                QTRY_VERIFY(window.viewer()->Pages()->Count() >= 1);
            QApplication::processEvents();
            const QList<TestSupport::FoundText> texts = TestSupport::widgetTexts(shown);
            QVERIFY2(texts.size() > 5, qPrintable(entry.name));
            for (const QString &t : TestSupport::chineseTexts(texts))
                chinese << entry.name + QLatin1String(": ") + t;
            if (shown != &window)
                delete shown;
        }
        QVERIFY2(chinese.isEmpty(), qPrintable(QStringLiteral("untranslated:\n") + chinese.join(QLatin1Char('\n'))));

        // The texts are the translation's, not English written in the code.
        RecordingUi ui;
        SettingsStore settings(m_dir.filePath(QStringLiteral("menus.ini")));
        MainWindow window(ui, &settings);
        QCOMPARE(window.menu(QStringLiteral("mnuFile"))->title(), QStringLiteral("&File"));
        QCOMPARE(window.action(QStringLiteral("miFOpen"))->text(), QStringLiteral("&Open..."));
    }

    // Texts made outside a window's own tr(): helpers that name their
    // context, classes with tr functions of their own. Each finds its
    // English only when its context is the one lupdate files it under.
    void textsOutsideWindowsAreInEnglish()
    {
        Translations english;
        QVERIFY(english.install(UiLanguage::English));
        Report report;
        ReportPropertiesModel properties(PaperCatalogue::standard(), LengthUnit::Inches);
        properties.SetReport(&report);
        properties.margin(ReportPropertiesModel::Left).setText(QStringLiteral("-1"));
        QCOMPARE(properties.check().status.description(), QStringLiteral("The left margin cannot be negative."));
        ConnectionSettings sqlite;
        sqlite.provider = ConnectionProvider::SQLite;
        QCOMPARE(sqlite.missing(), QStringLiteral("the database file"));
        QCOMPARE(UiDesignerPrompts::lineStyleNames().value(3), QStringLiteral("Dot"));
        const QString folder = m_dir.filePath(QStringLiteral("a-folder.ini"));
        QVERIFY(QDir().mkpath(folder));
        SettingsStore blocked(folder);
        QVERIFY(blocked.writeNumber(SettingsStore::showFileDialogOnStartup(), 0) != 0);
        QVERIFY2(blocked.problem().startsWith(QStringLiteral("The settings file")), qPrintable(blocked.problem()));
    }

    // lupdate run over the tree into a copy of the .ts: a Chinese text
    // added to the code without its English (or never added to the .ts)
    // is named here.
    void everyChineseSourceTextHasEnglish()
    {
        QTemporaryDir work;
        const QString ts = work.filePath(QStringLiteral("check.ts"));
        QVERIFY(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/translations/orvreport_en.ts"), ts));
        QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
        QProcess update;
        update.start(QStringLiteral("cmake"),
                     {QStringLiteral("-DLUPDATE=" ORV_LUPDATE), QStringLiteral("-DSOURCE_DIR=" ORV_SOURCE_DIR),
                      QStringLiteral("-DTS=") + ts, QStringLiteral("-DWORK=") + work.path(), QStringLiteral("-P"),
                      QStringLiteral(ORV_SOURCE_DIR "/translations/update.cmake")});
        QVERIFY(update.waitForFinished(300000));
        QVERIFY2(update.exitCode() == 0, update.readAllStandardError().constData());

        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context, source;
        int messages = 0;
        QStringList missing;
        static const QRegularExpression han(QStringLiteral("[\\x{3000}-\\x{303F}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.name() == u"source") {
                source = xml.readElementText();
                ++messages;
            } else if (xml.name() == u"translation") {
                const bool unfinished = xml.attributes().value(QStringLiteral("type")) == u"unfinished";
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                if (source.contains(han) && (unfinished || text.trimmed().isEmpty() || text.contains(han)))
                    missing << context + QLatin1String(": ") + source;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages > 300);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("no English yet (run the translations target and translate them):\n")
                            + missing.join(QLatin1Char('\n'))));
    }

    void languageFollowsTheLocaleUnlessNamed()
    {
        // Traditional Chinese is Chinese too.
        QCOMPARE(defaultLanguage(QLocale(QStringLiteral("zh_TW"))), UiLanguage::Chinese);
        QCOMPARE(defaultLanguage(QLocale(QStringLiteral("de_DE"))), UiLanguage::English);
        // The program refuses a language it does not have, before any window.
        QProcess program;
        program.start(QStringLiteral(ORVREPORT_PATH), {QStringLiteral("--lang"), QStringLiteral("fr")});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains("--lang takes zh or en, not \"fr\""));
    }
};

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
