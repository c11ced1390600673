// The real export dialog, offscreen: what it shows before and after a
// format is chosen, the browse dialogs through the ui seam, each of the six
// formats written with options that are not the defaults and read back by
// an outside reader, and failures and Cancel that keep the dialog open and
// leave no file.
#include "dialogs/export/frmexport.h"
#include "../../export/exportcheck.h"

#include "engine/pages/pagecollection.h"
#include "ui/recordingui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <poppler-qt6.h>
#include <tiffio.h>

using namespace Orv;

class TestFrmExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PageCollection m_pages;

    template<typename T>
    static T *child(QWidget &w, const QString &name)
    {
        T *found = w.findChild<T *>(name);
        [&] { QVERIFY2(found, qPrintable(name)); }();
        return found;
    }

    // Picks a list entry with the keyboard, as a user does.
    static void choose(QComboBox *box, int index)
    {
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }

    static void type(QLineEdit *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
    }

    static void tick(QWidget &dialog, const char *name)
    {
        // On the box itself: a wide check box takes clicks only there and on its text.
        auto *box = child<QCheckBox>(dialog, QString::fromLatin1(name));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        [&] { QVERIFY(box->isChecked()); }();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pages.append(ExportCheck::tablePage(QStringLiteral("Sales"), {{QStringLiteral("Widget"), QStringLiteral("12")}}));
        m_pages.append(ExportCheck::tablePage(QStringLiteral("Sales"), {{QStringLiteral("Gadget"), QStringLiteral("7")}}));
    }

    void opensWithNothingChosenAndShowsThePageOfTheFormat()
    {
        RecordingUi ui;
        frmExport dialog(ui);
        dialog.setPages(&m_pages);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("输出"));
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("lblSubtitle"))->text(), QStringLiteral("请选择一个输出文件格式"));
        auto *format = child<QComboBox>(dialog, QStringLiteral("cboExportFormat"));
        QCOMPARE(format->count(), 6);
        QCOMPARE(format->itemText(3), QStringLiteral("电子表格 (XLS)"));
        QCOMPARE(format->currentIndex(), -1);
        for (int i = 0; i < 6; ++i)
            QVERIFY(!child<QWidget>(dialog, QStringLiteral("picOptions_%1").arg(i))->isVisible());
        // OK with no format, then with no file name, does nothing.
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("btnOK")), Qt::LeftButton);
        choose(format, 1);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("btnOK")), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(ui.requests().isEmpty());

        auto *pdf = child<QWidget>(dialog, QStringLiteral("picOptions_1"));
        QVERIFY(pdf->isVisible());
        QCOMPARE(pdf->x(), 1560 / 15);
        QCOMPARE(child<QWidget>(dialog, QStringLiteral("picOptions_0"))->x(), -10000 / 15);
        QCOMPARE(child<QComboBox>(dialog, QStringLiteral("cboAcrobatVersion"))->currentText(), QStringLiteral("1 - Acrobat 3.x"));
        QCOMPARE(child<QComboBox>(dialog, QStringLiteral("cboPDFJPGQuality"))->currentText(), QStringLiteral("75"));
        auto *fonts = child<QListWidget>(dialog, QStringLiteral("lstPDFFonts"));
        QVERIFY(fonts->count() > 0);
        QVERIFY(fonts->selectedItems().isEmpty());
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtXLSMinColWidth"))->text(), QStringLiteral("1011"));

        // Browsing fills the file name; a text typed on another page stays.
        ui.answer(m_dir.filePath(QStringLiteral("picked.pdf")));
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("btnBrowse_1")), Qt::LeftButton);
        QCOMPARE(ui.last().kind, RecordingUi::Kind::SaveFile);
        QCOMPARE(ui.last().file.filter, QStringLiteral("Portable Document Format (*.pdf)"));
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtFilename_1"))->text(), m_dir.filePath(QStringLiteral("picked.pdf")));
        choose(format, 2);
        QVERIFY(!pdf->isVisible());
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("btnHTMLFolder")), Qt::LeftButton);
        QCOMPARE(ui.last().title, QStringLiteral("Select the HTML pages folder"));
        QVERIFY(child<QLineEdit>(dialog, QStringLiteral("txtHTMLFolder"))->text().isEmpty()); // cancelled
        choose(format, 1);
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtFilename_1"))->text(), m_dir.filePath(QStringLiteral("picked.pdf")));

        // A format chosen before the dialog shows (as the preview's pictures do) is in place once it shows.
        frmExport early(ui);
        early.setPages(&m_pages);
        early.chooseFormat(1);
        early.show();
        QVERIFY(QTest::qWaitForWindowExposed(&early));
        auto *earlyPdf = child<QWidget>(early, QStringLiteral("picOptions_1"));
        QVERIFY(earlyPdf->isVisible());
        QCOMPARE(earlyPdf->x(), 1560 / 15);
        QVERIFY(earlyPdf->width() > 200);
    }

    void writesEachFormatWithItsOptions()
    {
        const auto run = [this](int format, const std::function<void(frmExport &)> &fill) {
            RecordingUi ui;
            frmExport dialog(ui);
            dialog.setPages(&m_pages);
            dialog.setInstallFolder(m_dir.path());
            dialog.show();
            choose(dialog.findChild<QComboBox *>(QStringLiteral("cboExportFormat")), format);
            fill(dialog);
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
            QVERIFY2(ui.requests().isEmpty(), qPrintable(ui.last().text));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        };
        const QString rtf = m_dir.filePath(QStringLiteral("out.rtf"));
        run(0, [&](frmExport &d) { type(child<QLineEdit>(d, QStringLiteral("txtFilename_0")), rtf); });
        QVERIFY(ExportCheck::contents(rtf).startsWith("{\\rtf1"));
        QVERIFY(ExportCheck::contents(rtf).contains("Gadget"));

        const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
        run(1, [&](frmExport &d) {
            type(child<QLineEdit>(d, QStringLiteral("txtFilename_1")), pdf);
            choose(child<QComboBox>(d, QStringLiteral("cboAcrobatVersion")), 0);
        });
        QVERIFY(ExportCheck::contents(pdf).startsWith("%PDF-1.1"));
        const auto doc = Poppler::Document::load(pdf);
        QVERIFY(doc);
        QCOMPARE(doc->numPages(), 2);
        QVERIFY(std::unique_ptr<Poppler::Page>(doc->page(1))->text(QRectF()).contains(QStringLiteral("Gadget")));

        run(2, [&](frmExport &d) {
            type(child<QLineEdit>(d, QStringLiteral("txtFilename_2")), QStringLiteral("sales"));
            type(child<QLineEdit>(d, QStringLiteral("txtHTMLTitle")), QStringLiteral("Monthly"));
            tick(d, "chkSinglePage");
        });
        const QByteArray html = ExportCheck::contents(m_dir.filePath(QStringLiteral("sales.html")));
        QVERIFY(html.contains("<title>Monthly</title>"));
        QVERIFY(html.contains("Widget") && html.contains("Gadget"));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("sales_2.html"))));

        const QString xlsx = m_dir.filePath(QStringLiteral("out.xlsx"));
        run(3, [&](frmExport &d) {
            type(child<QLineEdit>(d, QStringLiteral("txtFilename_3")), xlsx);
            tick(d, "chkXLSMultisheet");
        });
        QCOMPARE(ExportCheck::unzipped(xlsx, QStringLiteral("xl/workbook.xml")).count("<sheet "), 2);
        QVERIFY(ExportCheck::unzipped(xlsx, QStringLiteral("xl/sharedStrings.xml")).contains("Gadget"));

        const QString tif = m_dir.filePath(QStringLiteral("out.tif"));
        run(4, [&](frmExport &d) { type(child<QLineEdit>(d, QStringLiteral("txtFilename_4")), tif); });
        TIFF *image = TIFFOpen(QFile::encodeName(tif).constData(), "r");
        QVERIFY(image);
        QCOMPARE(int(TIFFNumberOfDirectories(image)), 2);
        TIFFClose(image);

        const QString txt = m_dir.filePath(QStringLiteral("out.txt"));
        run(5, [&](frmExport &d) {
            type(child<QLineEdit>(d, QStringLiteral("txtFilename_5")), txt);
            type(child<QLineEdit>(d, QStringLiteral("txtTXTTextDelimiter")), QStringLiteral("|"));
            tick(d, "chkTXTSupressEmptyLines");
        });
        const QByteArray text = ExportCheck::contents(txt);
        QVERIFY(text.contains("Widget|12"));
        QVERIFY(!text.contains("\n\n"));
    }

    void failuresAndCancelKeepTheDialogAndLeaveNoFile()
    {
        QTemporaryDir out;
        RecordingUi ui;
        frmExport dialog(ui);
        PageCollection many;
        for (int i = 0; i < 80; ++i)
            many.append(ExportCheck::tablePage(QStringLiteral("Page %1").arg(i + 1), {{QStringLiteral("Row"), QStringLiteral("1")}}));
        dialog.setPages(&many);
        dialog.show();
        choose(child<QComboBox>(dialog, QStringLiteral("cboExportFormat")), 4);
        auto *name = child<QLineEdit>(dialog, QStringLiteral("txtFilename_4"));
        auto *ok = child<QPushButton>(dialog, QStringLiteral("btnOK"));
        type(name, out.filePath(QStringLiteral("missing/pages.tif")));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(ui.last().title, QStringLiteral("Error Exporting Document"));
        QVERIFY(ui.last().text.startsWith(QStringLiteral(" 75 - ")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(name->text(), out.filePath(QStringLiteral("missing/pages.tif")));

        // Cancel while the pages are written: the dialog stays, no file.
        ui.clear();
        type(name, out.filePath(QStringLiteral("pages.tif")));
        bool sawProgress = false;
        QTimer press;
        press.setInterval(5);
        connect(&press, &QTimer::timeout, this, [&] {
            if (!dialog.isExporting())
                return;
            sawProgress = child<QProgressBar>(dialog, QStringLiteral("prgExport"))->isVisible();
            QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("btnCancel")), Qt::LeftButton);
        });
        press.start();
        QTest::mouseClick(ok, Qt::LeftButton);
        press.stop();
        QVERIFY(sawProgress);
        QVERIFY(dialog.isVisible());
        QVERIFY(ui.requests().isEmpty());
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("lblNote"))->text(), QStringLiteral("输出已取消，没有写入文件。"));
        QCOMPARE(ExportCheck::entries(out.path()), QStringList());
        // Cancel when nothing runs closes the dialog.
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("btnCancel")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestFrmExport)
#include "tst_frmexport.moc"
