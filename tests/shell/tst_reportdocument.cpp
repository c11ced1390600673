// The document flows of the main window, headless: a real designer core,
// real layout files and archives, a settings file of its own, and the
// recording ui answering every prompt.
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/scriptedrun.h"
#include "engine/widgets/designer/designercore.h"
#include "shell/reportdocument.h"
#include "shell/settingsstore.h"
#include "shell/startdialogmodel.h"
#include "ui/recordingui.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Orv;

namespace {

// The window's side of the flows: the viewer's pages are a real page
// collection, and the start dialog answers as the test says.
struct Host : DocumentHost
{
    std::unique_ptr<PageCollection> owned = std::make_unique<PageCollection>();
    PageCollection &pages = *owned;
    std::function<void(StartDialogModel &)> startDialog = [](StartDialogModel &m) { m.cancel(); };
    int wizards = 0;
    Status loadArchive(const QString &path) override { return pages.Load(path); }
    Status saveArchive(const QString &path) override { return pages.Save(path); }
    void runStartDialog(StartDialogModel &model) override { startDialog(model); }
    Status runReportWizard() override
    {
        ++wizards;
        return Status();
    }
    Status runAccessImport() override
    {
        ++wizards;
        return Status();
    }
};

const QString Example = QStringLiteral(ORV_SOURCE_DIR "/examples/customer-list.rpx");

} // namespace

class TestReportDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<DesignerCore> m_designer;
    std::unique_ptr<RecordingUi> m_ui;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<ReportDocument> m_doc;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void makeDirty()
    {
        Section *detail = m_designer->DesignedReport()->sections()->Item(QStringLiteral("Detail"));
        QVERIFY(detail);
        QVERIFY(m_designer->insertControl(QStringLiteral("OrvEngine.Label"), detail, QPointF(), QPointF()));
        QVERIFY(m_designer->IsDirty());
    }
    int controlCount() const
    {
        int n = 0;
        for (Section *s : *m_designer->DesignedReport()->sections())
            n += s->controls()->Count();
        return n;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(path(QStringLiteral("settings.ini")));
        m_settings = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
        m_designer = std::make_unique<DesignerCore>();
        m_ui = std::make_unique<RecordingUi>();
        m_host = std::make_unique<Host>();
        m_doc = std::make_unique<ReportDocument>(*m_designer, *m_ui, *m_settings, *m_host, QStringLiteral("/opt/orv"));
    }

    void recentFilesMoveToTheFrontAndKeepFive()
    {
        RecentFiles recent;
        recent.add(QStringLiteral("/a.rpx"), QStringLiteral("d1"));
        recent.add(QStringLiteral("/b.rpx"), QStringLiteral("d2"));
        recent.add(QStringLiteral("/a.rpx"), QStringLiteral("d3"));
        QCOMPARE(recent.list().size(), 2);
        QCOMPARE(recent.at(0).path, QStringLiteral("/a.rpx"));
        QCOMPARE(recent.at(0).date, QStringLiteral("d3"));
        QCOMPARE(recent.at(1).path, QStringLiteral("/b.rpx"));
        // Matching is exact: another letter case is another file.
        recent.add(QStringLiteral("/A.rpx"), QStringLiteral("d4"));
        QCOMPARE(recent.list().size(), 3);
        for (const char *name : {"/c.rpx", "/d.rpx", "/e.rpx"})
            recent.add(QString::fromLatin1(name), QStringLiteral("d5"));
        QCOMPARE(recent.list().size(), 5);
        QCOMPARE(recent.at(0).path, QStringLiteral("/e.rpx"));
        QCOMPARE(recent.at(4).path, QStringLiteral("/a.rpx")); // /b.rpx, the oldest, went

        // Saved as all ten values, the empty ones too, and read back.
        RecentFiles two;
        two.add(QStringLiteral("/x.rpx"), QStringLiteral("7/12/26"));
        two.save(*m_settings);
        QSettings raw(m_settings->fileName(), QSettings::IniFormat);
        raw.beginGroup(QStringLiteral("2/Tesserane Reports Sample"));
        QCOMPARE(raw.allKeys().size(), 10);
        QCOMPARE(raw.value(QStringLiteral("MRU1")).toString(), QStringLiteral("/x.rpx"));
        QCOMPARE(raw.value(QStringLiteral("MRU5DATE")).toString(), QString());
        RecentFiles back;
        back.load(*m_settings);
        QCOMPARE(back.list().size(), 1);
        QCOMPARE(back.at(0).date, QStringLiteral("7/12/26"));
    }

    void savingAddsToTheRecentListOpeningDoesNot()
    {
        QVERIFY(m_doc->OpenReportLayout(Example));
        QCOMPARE(m_doc->recentFiles().list().size(), 0);
        QCOMPARE(m_doc->pathLabel(), QStringLiteral("报表路径[") + Example + QLatin1Char(']'));
        QCOMPARE(m_doc->currentFolder(), QStringLiteral(ORV_SOURCE_DIR "/examples/"));

        const QString a = path(QStringLiteral("a.rpx"));
        m_ui->answer(a);
        QCOMPARE(m_doc->FileSaveAs(), SaveResult::Saved);
        const RecordingUi::Request dialog = m_ui->last();
        QCOMPARE(dialog.kind, RecordingUi::Kind::SaveFile);
        QCOMPARE(dialog.file.filter, QStringLiteral("Orv自定义报表 (*.rpx)"));
        QCOMPARE(dialog.file.folder, QStringLiteral(ORV_SOURCE_DIR "/examples/"));
        QCOMPARE(m_doc->currentPath(), a);
        QCOMPARE(m_doc->recentFiles().at(0).path, a);
        QCOMPARE(m_doc->recentFiles().at(0).date, RecentFiles::today());
        // The label stays on the file that was opened.
        QVERIFY(m_doc->pathLabel().contains(QStringLiteral("customer-list.rpx")));

        // A name without an extension gets the layout's.
        m_ui->answer(path(QStringLiteral("b")));
        QCOMPARE(m_doc->FileSaveAs(), SaveResult::Saved);
        QVERIFY(QFile::exists(path(QStringLiteral("b.rpx"))));
        QCOMPARE(m_doc->recentFiles().list().size(), 2);

        // A name relative to the working folder is remembered in full.
        const QString working = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        QVERIFY(m_doc->SaveReportLayout(QStringLiteral("c.rpx")));
        QDir::setCurrent(working);
        QCOMPARE(m_doc->recentFiles().at(0).path, path(QStringLiteral("c.rpx")));
        QCOMPARE(m_doc->currentFolder(), m_dir.path() + QLatin1Char('/'));
    }

    void newReportAsksBeforeLosingChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::addColumn<bool>("saveDialog");
        QTest::newRow("cancel") << int(MessageResult::Cancel) << false << false;
        QTest::newRow("no") << int(MessageResult::No) << true << false;
        // A never-saved report asks for a name; backing out of that keeps it.
        QTest::newRow("yes, then cancel the save dialog") << int(MessageResult::Yes) << false << true;
    }
    void newReportAsksBeforeLosingChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, emptied);
        QFETCH(bool, saveDialog);
        makeDirty();
        const int before = controlCount();
        m_ui->answer(MessageResult(answer));
        m_doc->StartReportWizard();
        QCOMPARE(m_ui->requests().first().text, QStringLiteral("Save changes to the report?"));
        QCOMPARE(m_ui->requests().first().title, QStringLiteral("Save"));
        QCOMPARE(m_ui->requests().first().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(m_ui->requests().first().icon, MessageIcon::None);
        QCOMPARE(m_ui->requests().size(), saveDialog ? 2 : 1);
        QCOMPARE(controlCount() < before, emptied);
        QCOMPARE(m_host->wizards, emptied ? 1 : 0);
        QCOMPARE(m_designer->IsDirty(), !emptied);
    }

    void previewOpenAndSaveAddressArchives()
    {
        // Pages of a real run, into the host's collection.
        Report report;
        Script::ScriptedRunOptions options;
        options.reportFolder = m_dir.path() + QLatin1Char('/');
        auto run = Script::ScriptedRun::copyOf(report, options);
        run->run()->setPages(&m_host->pages);
        QVERIFY(run->start(false).ok());
        QVERIFY(m_host->pages.Count() >= 1);

        m_doc->setViewMode(ViewMode::Preview);
        const QString archive = path(QStringLiteral("pages.rdf"));
        m_ui->answer(archive);
        QCOMPARE(m_doc->FileSave(), SaveResult::Saved);
        QCOMPARE(m_ui->last().file.filter, QStringLiteral("Orv自定义报表 (*.rdf)"));
        QVERIFY(QFile::exists(archive));
        const int pages = m_host->pages.Count();
        PageCollection empty;
        QVERIFY(empty.Save(path(QStringLiteral("empty.rdf"))).ok());
        QVERIFY(m_host->pages.Load(path(QStringLiteral("empty.rdf"))).ok());
        QCOMPARE(m_host->pages.Count(), 0);
        m_ui->answer(archive);
        m_doc->FileOpen();
        QCOMPARE(m_ui->last().kind, RecordingUi::Kind::OpenFile);
        QCOMPARE(m_host->pages.Count(), pages);
        // Neither touched the layout side.
        QCOMPARE(m_doc->currentPath(), QString());
        QCOMPARE(m_doc->recentFiles().list().size(), 0);

        // A damaged archive: the message, and the pages shown stay.
        const QString bad = path(QStringLiteral("bad.rdf"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not an archive");
        f.close();
        m_ui->answer(bad);
        m_doc->FileOpen();
        QCOMPARE(m_ui->last().title, QStringLiteral("Error Opening Report Archive - OpenReportArchive(") + bad + QLatin1Char(')'));
        QCOMPARE(m_host->pages.Count(), pages);
    }

    void badFilesAreReportedAndLoseNothing()
    {
        QVERIFY(m_doc->OpenReportLayout(Example));
        const int before = controlCount();
        const QString label = m_doc->pathLabel();

        // A missing file is ignored without a word.
        QVERIFY(!m_doc->OpenReportLayout(path(QStringLiteral("missing.rpx"))));
        QCOMPARE(m_ui->requests().size(), 0);

        const QString damaged = path(QStringLiteral("damaged.rpx"));
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<Report version=\"1\"><Sections><Section");
        f.close();
        QVERIFY(!m_doc->OpenReportLayout(damaged));
        QCOMPARE(m_ui->last().title, QStringLiteral("Error Opening Report - OpenReportLayout(") + damaged + QLatin1Char(')'));
        QVERIFY2(m_ui->last().text.startsWith(QStringLiteral(" 321 - ")), qPrintable(m_ui->last().text));
        QCOMPARE(m_ui->last().buttons, MessageButtons::Ok);
        QCOMPARE(controlCount(), before);
        QCOMPARE(m_doc->pathLabel(), label);
        QCOMPARE(m_doc->currentPath(), Example);

        // A folder that cannot be written: the message names the file.
        const QString target = QStringLiteral("/proc/orv-no-such-folder/x.rpx");
        QVERIFY(!m_doc->SaveReportLayout(target));
        QCOMPARE(m_ui->last().title, QStringLiteral("Error Saving Report Layout - File: ") + target);
        QCOMPARE(m_doc->currentPath(), Example);
        QCOMPARE(m_doc->recentFiles().list().size(), 0);
    }

    void startDialogChoices()
    {
        // A fresh store shows the start dialog; anything but 1 turns it off.
        QVERIFY(m_doc->showStartDialog());
        m_settings->writeNumber(SettingsStore::showFileDialogOnStartup(), 2);
        QVERIFY(!m_doc->showStartDialog());
        m_settings->writeNumber(SettingsStore::showFileDialogOnStartup(), 1);

        m_doc->recentFiles().add(Example, RecentFiles::today());
        QStringList tabs;
        QString recent;
        m_host->startDialog = [&](StartDialogModel &m) {
            tabs = m.tabKeys();
            recent = m.recentPath(0);
            QCOMPARE(m.initialFolder(), QStringLiteral("/opt/orv"));
            QCOMPARE(m.filter(), QStringLiteral("Orv自定义报表 (*.rpx);;All Files (*)"));
            m.chooseFile(recent);
        };
        // File Open has no New tab; the chosen recent file opens.
        m_doc->FileOpen();
        QCOMPARE(tabs, (QStringList{QStringLiteral("Existing"), QStringLiteral("Recent")}));
        QCOMPARE(recent, Example);
        QCOMPARE(m_doc->currentPath(), Example);

        // New tab: the blank report; ticking "do not show" and cancelling
        // still turns the start dialog off.
        m_host->startDialog = [&](StartDialogModel &m) {
            tabs = m.tabKeys();
            QCOMPARE(m.newTypes().size(), 3);
            QCOMPARE(m.newTypes().at(1).name, QStringLiteral("新建报表向导"));
            m.setDontShowAgain(true);
            m.cancel();
        };
        m_doc->runStartDialog(true);
        QCOMPARE(tabs.first(), QStringLiteral("New"));
        QCOMPARE(m_settings->readNumber(SettingsStore::showFileDialogOnStartup(), 1), 0);
        QCOMPARE(m_doc->currentPath(), Example);

        m_host->startDialog = [](StartDialogModel &m) { m.chooseNew(2); };
        m_doc->runStartDialog(true);
        QCOMPARE(m_host->wizards, 1); // the Access import after an emptied design

        // A folder without a trailing separator still joins with one; a
        // date that is no date shows as stored.
        StartDialogModel model;
        model.AddExistItem(QStringLiteral("r.rpx"), QStringLiteral("/a"), QStringLiteral("someday"));
        QCOMPARE(model.recentPath(0), QStringLiteral("/a/r.rpx"));
        QCOMPARE(model.recentDateText(0), QStringLiteral("someday"));
        model.AddExistItem(QStringLiteral("s.rpx"), QStringLiteral("/b/"), RecentFiles::today());
        QCOMPARE(model.recentPath(1), QStringLiteral("/b/s.rpx"));
        QCOMPARE(model.existItems().at(1).date, QDate::currentDate());
    }

    void closeRequestAsksOnlyWithChanges()
    {
        QVERIFY(m_doc->confirmClose());
        QCOMPARE(m_ui->requests().size(), 0);
        makeDirty();
        m_ui->answer(MessageResult::Cancel);
        QVERIFY(!m_doc->confirmClose());
        QCOMPARE(m_ui->last().text, QStringLiteral("报表已修改，是否保存？"));
        QCOMPARE(m_ui->last().title, QStringLiteral("报表保存"));
        QCOMPARE(m_ui->last().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(m_ui->last().icon, MessageIcon::Question);
        m_ui->answer(MessageResult::Yes);
        m_ui->answer(path(QStringLiteral("closing.rpx")));
        QVERIFY(m_doc->confirmClose());
        QVERIFY(QFile::exists(path(QStringLiteral("closing.rpx"))));
        m_ui->answer(MessageResult::No);
        makeDirty();
        QVERIFY(m_doc->confirmClose());
    }

    void filtersAndFolders()
    {
        QCOMPARE(ReportDocument::qtFilter(QStringLiteral("A (*.x)|*.x;*.y|All Files (*.*)|*.*")),
                 QStringLiteral("A (*.x *.y);;All Files (*)"));
        QCOMPARE(ReportDocument::folderOf(QStringLiteral("/r/s/t.rpx")), QStringLiteral("/r/s/"));
        QCOMPARE(ReportDocument::folderOf(QStringLiteral("t.rpx")), QString());
    }

    void damagedSettingsReadAsDefaultsAndStayAsTheyAre()
    {
        const QString file = path(QStringLiteral("damaged.ini"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray junk("[2/Tesserane Reports Sample]\nMRU1=\"/unterminated\n\xff\xfe[[[=\n");
        f.write(junk);
        f.close();
        SettingsStore store(file);
        QCOMPARE(store.readNumber(SettingsStore::showFileDialogOnStartup(), 1), 1);
        RecentFiles recent;
        recent.load(store); // whatever survived, at most five
        QVERIFY(recent.list().size() <= RecentFiles::Size);

        // A store that cannot be written says so; its reads are the defaults.
        const QString folder = path(QStringLiteral("a-folder.ini"));
        QVERIFY(QDir().mkpath(folder));
        SettingsStore blocked(folder);
        QCOMPARE(blocked.readNumber(SettingsStore::showFileDialogOnStartup(), 1), 1);
        QVERIFY(blocked.writeNumber(SettingsStore::showFileDialogOnStartup(), 0) != 0);
        QVERIFY(!blocked.problem().isEmpty());
    }
};

QTEST_MAIN(TestReportDocument)
#include "tst_reportdocument.moc"
