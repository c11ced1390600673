#include "shell/settingsstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;

class TestSettingsStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv(SettingsStore::ConfigDirVariable, m_dir.filePath(QStringLiteral("user")).toLocal8Bit());
        qputenv(SettingsStore::SystemConfigDirVariable, m_dir.filePath(QStringLiteral("system")).toLocal8Bit());
    }

    void freshUserGetsDefaultsAndAStore()
    {
        SettingsStore store;
        QCOMPARE(store.fileName(), m_dir.filePath(QStringLiteral("user/Orv/OrvReport.ini")));
        QVERIFY(QFile::exists(store.fileName()));
        QCOMPARE(store.readNumber(SettingsStore::showFileDialogOnStartup(), 1), 1);
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(store.readText(SettingsStore::recentPath(i), QString()), QString());
            QCOMPARE(store.readText(SettingsStore::recentDate(i), QString()), QString());
        }
        QCOMPARE(SettingsStore::recentDate(3), QStringLiteral("MRU3DATE"));
        QCOMPARE(SettingsStore::installDir(), QString());
    }

    void valuesPersistUnderTheProgramsGroup()
    {
        {
            SettingsStore store;
            QCOMPARE(store.writeNumber(SettingsStore::showFileDialogOnStartup(), 0), 0);
            for (int i = 1; i <= 5; ++i) {
                QCOMPARE(store.writeText(SettingsStore::recentPath(i), i <= 2 ? QStringLiteral("/r/%1.rpx").arg(i) : QString()), 0);
                QCOMPARE(store.writeText(SettingsStore::recentDate(i), i <= 2 ? QStringLiteral("06/12/2026") : QString()), 0);
            }
        }
        SettingsStore again;
        QCOMPARE(again.readNumber(SettingsStore::showFileDialogOnStartup(), 1), 0);
        QCOMPARE(again.readText(QStringLiteral("MRU2"), QStringLiteral("x")), QStringLiteral("/r/2.rpx"));
        // Written empty values exist and read as empty, not as the default.
        QCOMPARE(again.readText(QStringLiteral("MRU5DATE"), QStringLiteral("default")), QString());

        QSettings raw(again.fileName(), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("2/Tesserane Reports Sample/MRU1")).toString(), QStringLiteral("/r/1.rpx"));
        QCOMPARE(raw.value(QStringLiteral("2/Tesserane Reports Sample/ShowFileDialogOnStartup")).toString(),
                 QStringLiteral("0"));
        QStringList keys = raw.allKeys();
        QCOMPARE(keys.size(), 11);
    }

    void unreadableValuesGiveDefaultsAndTextsAreBounded()
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("other.ini")));
        store.writeText(SettingsStore::showFileDialogOnStartup(), QStringLiteral("yes"));
        QCOMPARE(store.readNumber(SettingsStore::showFileDialogOnStartup(), 1), 1);
        store.writeText(QStringLiteral("Big"), QStringLiteral("99999999999"));
        QCOMPARE(store.readNumber(QStringLiteral("Big"), 7), 7);
        store.writeNumber(QStringLiteral("Two"), 2);
        QCOMPARE(store.readNumber(QStringLiteral("Two"), 1), 2);

        store.writeText(QStringLiteral("Long"), QString(300, QLatin1Char('a')));
        QCOMPARE(store.readText(QStringLiteral("Long"), QString()).size(), 255);
        store.writeText(QStringLiteral("Nul"), QStringLiteral("before") + QChar(0) + QStringLiteral("after"));
        QCOMPARE(store.readText(QStringLiteral("Nul"), QString()), QStringLiteral("before"));
    }

    void installPathsComeFromTheSystemFile()
    {
        QSettings system(m_dir.filePath(QStringLiteral("system/Orv/OrvReport.ini")), QSettings::IniFormat);
        system.setValue(QStringLiteral("Software/Microsoft/VisualStudio/6.0/Setup/Microsoft Visual Basic/ProductDir"),
                        QStringLiteral("/opt/vb6"));
        system.sync();
        QCOMPARE(SettingsStore::productDir(), QStringLiteral("/opt/vb6"));
        QCOMPARE(SettingsStore::installDir(), QString());
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
