// orvreport-cli wizard: from a database to a grouped PDF in two commands,
// and the errors it reports.

#include "engine/data/connection.h"
#include "engine/data/sampledatabase.h"

#include <QProcess>

#include <algorithm>
#include <QTemporaryDir>
#include <QTest>

#include <poppler-qt6.h>

using namespace Orv;

class TestWizardCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_connection;

    int cli(const QStringList &args, QString *err = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(ORV_CLI_PATH), args);
        if (!p.waitForFinished(300000))
            return -1;
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString db = m_dir.filePath(QStringLiteral("tesserane.db"));
        QVERIFY(Data::createSampleDatabase(db, 1).ok());
        m_connection = QStringLiteral("Data Source=") + db;
    }

    void groupedPdf()
    {
        const QString rpx = m_dir.filePath(QStringLiteral("products.rpx"));
        const QString pdf = m_dir.filePath(QStringLiteral("products.pdf"));
        QString err;
        QCOMPARE(cli({"wizard", "--connection", m_connection, "--field", "Categories.CategoryName", "--field",
                      "Products.ProductName", "--field", "products.unitprice", "--group", "CategoryName", "--sort",
                      "ProductName", "desc", "--title", "Products by Category", "--style", "5", "-o", rpx},
                     &err),
                 0);
        QCOMPARE(cli({"run", rpx, "-o", pdf}, &err), 0);

        const std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(pdf);
        QVERIFY(doc);
        QString text;
        for (int i = 0; i < doc->numPages(); ++i)
            text += std::unique_ptr<Poppler::Page>(doc->page(i))->text(QRectF()).simplified() + u' ';
        // Poppler reads some CJK glyphs back as their radicals; compatibility
        // normalisation undoes that.
        text = text.normalized(QString::NormalizationForm_KC);

        // Every category heads its group in order, its products after it
        // from Z to A, prices as money.
        Data::Connection c;
        QVERIFY(c.Open(m_connection).ok());
        Status s;
        auto rs = c.Execute(QStringLiteral("SELECT c.CategoryName, p.ProductName, p.UnitPrice FROM Categories c, Products p "
                                           "WHERE c.CategoryID = p.CategoryID ORDER BY 1, 2 DESC"),
                            &s);
        QVERIFY2(rs, qPrintable(s.description()));
        QVERIFY(text.startsWith(QStringLiteral("Products by Category")));
        qsizetype at = 0;
        int rows = 0;
        for (; !rs->atEnd(); rs->MoveNext(), ++rows) {
            const QString product = rs->value(1).toString();
            const QString price = QLocale(QLocale::English).toString(rs->value(2).toDouble(), 'f', 2);
            // Some CJK glyphs read back as radicals no normalisation maps
            // back (龙 as ⻰): such names are passed over, their prices not.
            const bool latin = std::all_of(product.begin(), product.end(), [](QChar ch) { return ch.unicode() < 0x2E80; });
            if (latin) {
                at = text.indexOf(product, at);
                QVERIFY2(at >= 0, qPrintable(product));
            }
            const qsizetype priceAt = text.indexOf(u'$' + price, at);
            QVERIFY2(priceAt >= at, qPrintable(product + u' ' + price));
            if (!latin)
                at = priceAt;
        }
        QVERIFY(rows > 20);
        QVERIFY(text.contains(QStringLiteral("CategoryName ProductName UnitPrice")));
    }

    void errors()
    {
        const QString rpx = m_dir.filePath(QStringLiteral("bad.rpx"));
        QString err;
        QCOMPARE(cli({"wizard", "--connection", m_connection, "--field", "Orders.OrderID", "--style", "6", "-o", rpx}, &err), 2);
        QVERIFY(err.contains(QStringLiteral("--style takes 0 to 5")));
        QCOMPARE(cli({"wizard", "--connection", m_connection, "--field", "Nowhere.x", "-o", rpx}, &err), 1);
        QVERIFY(err.contains(QStringLiteral("\"Nowhere.x\" does not start with a table")));
        QCOMPARE(cli({"wizard", "--connection", m_connection, "--field", "Orders.CustomerID", "--field", "Customers.CustomerID",
                      "--group", "CustomerID", "-o", rpx},
                     &err),
                 1);
        QVERIFY(err.contains(QStringLiteral("more than one chosen table")));
        QCOMPARE(cli({"wizard", "--connection", "Provider=Nothing", "--field", "a.b", "-o", rpx}, &err), 1);
        QVERIFY(err.contains(QStringLiteral("Open Data Source: Provider cannot be found")));
        QVERIFY(!QFile::exists(rpx));

        // Tables without a relation between them are listed with a warning.
        QCOMPARE(cli({"wizard", "--connection", m_connection, "--field", "Shippers.CompanyName", "--field",
                      "Suppliers.CompanyName", "-o", rpx},
                     &err),
                 0);
        QVERIFY(err.contains(QStringLiteral("no relation joins")));
    }
};

QTEST_MAIN(TestWizardCli)
#include "tst_wizardcli.moc"
