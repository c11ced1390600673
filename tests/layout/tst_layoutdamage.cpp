// Feeds the layout loader thousands of damaged layouts made from a good one
// by a fixed pseudo-random sequence, so every run tries the same damage.

#include "layoutsamples.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"

#include <QTest>

#include <random>

using namespace Orv;

namespace {

QByteArray damage(QByteArray bytes, std::mt19937 &rng)
{
    const auto pick = [&rng](qsizetype n) { return qsizetype(rng() % quint32(std::max<qsizetype>(n, 1))); };
    static const char *const inserts[] = {"<", ">", "&", "\"", "'", "</Section>", "<Section Type=\"4\">",
                                          "<!DOCTYPE x [<!ENTITY a \"b\">]>", "&a;", "1e999", "-", "\xff\xfe",
                                          "<Control Type=\"OrvEngine.Label\">", "\x00", "<Font/>", "=\"\""};
    const int edits = 1 + int(rng() % 3);
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        const qsizetype at = pick(bytes.size());
        switch (rng() % 6) {
        case 0: // flip a byte
            bytes[at] = char(bytes[at] ^ char(1 << (rng() % 8)));
            break;
        case 1: // cut a stretch
            bytes.remove(at, 1 + pick(64));
            break;
        case 2: // repeat a stretch
            bytes.insert(at, bytes.mid(at, 1 + pick(200)));
            break;
        case 3: { // insert a troublesome token
            const char *token = inserts[rng() % (sizeof inserts / sizeof *inserts)];
            bytes.insert(at, QByteArray(token, qsizetype(qMax<size_t>(strlen(token), 1))));
            break;
        }
        case 4: // truncate
            bytes.truncate(at);
            break;
        default: // replace a digit by a letter or a huge number
            for (qsizetype i = at; i < bytes.size(); ++i) {
                if (bytes[i] >= '0' && bytes[i] <= '9') {
                    if (rng() % 2)
                        bytes[i] = 'x';
                    else
                        bytes.insert(i, "99999999999999999999");
                    break;
                }
            }
            break;
        }
    }
    return bytes;
}

} // namespace

class TestLayoutDamage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedLayoutsFailCleanlyOrLoadWhole()
    {
        Report sample;
        LayoutSamples::fillWithEveryKind(sample);
        const QByteArray good = layoutBytes(sample);

        Report target;
        const QByteArray untouched = layoutBytes(target);
        std::mt19937 rng(20261206);
        int rejected = 0;
        for (int round = 0; round < 3000; ++round) {
            const QByteArray bad = damage(good, rng);
            const Status status = LoadLayout(target, bad, QStringLiteral("damaged.rpx"));
            if (status.ok()) {
                // Damage the loader accepts (a changed text, say) must give a
                // report that saves and loads back to the same bytes.
                const QByteArray saved = layoutBytes(target);
                Report again;
                QVERIFY(LoadLayout(again, saved).ok());
                QCOMPARE(layoutBytes(again), saved);
                target.NewLayout();
                continue;
            }
            ++rejected;
            QCOMPARE(status.number(), 321);
            QVERIFY2(status.description().startsWith(QStringLiteral("damaged.rpx, line ")),
                     qPrintable(status.description()));
            QCOMPARE(layoutBytes(target), untouched);
        }
        // Most damage must be noticed; a loader that accepts everything fails here.
        QVERIFY2(rejected > 2000, qPrintable(QString::number(rejected)));
    }

    void controlCharactersAreNamed()
    {
        // The reader's message quotes the character it stopped at; a NUL or
        // another control character must show as something.
        Report target;
        for (const char c : {'\0', '\x01', '\x1b'}) {
            QByteArray bytes("<?xml version=\"1.0\"?>\n<OrvReportLayout version=\"1\"><Report>x</Report></OrvReportLayout>\n");
            bytes[bytes.indexOf("<Report>") + 8] = c;
            const Status status = LoadLayout(target, bytes, QStringLiteral("odd.rpx"));
            QCOMPARE(status.number(), 321);
            QVERIFY2(status.description().contains(c ? QStringLiteral("U+") + QString::number(int(c), 16).rightJustified(4, u'0').toUpper() : QStringLiteral("NUL byte")),
                     qPrintable(status.description()));
            QVERIFY2(status.description().startsWith(QStringLiteral("odd.rpx, line 2, column 38: ")), qPrintable(status.description()));
        }
    }
};

QTEST_GUILESS_MAIN(TestLayoutDamage)
#include "tst_layoutdamage.moc"
