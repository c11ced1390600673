// VBScript's regular-expression dialect where it parts from PCRE: what
// scripts and the Access importer both rely on.
#include "engine/vbregexp/vbregexp.h"

#include <QTest>

using Orv::Status;
using Orv::VbRegExp;

namespace {

// Every match as value@index, groups in brackets ("-" for a group that
// did not take part), joined by "|".
QString matches(const VbRegExp &re, const QString &subject)
{
    Status s;
    QStringList out;
    for (const VbRegExp::Match &m : re.execute(subject, &s)) {
        QString item = m.value + u'@' + QString::number(m.firstIndex);
        for (const auto &sub : m.subMatches)
            item += u'[' + (sub ? *sub : QStringLiteral("-")) + u']';
        out << item;
    }
    return s.ok() ? out.join(u'|') : QStringLiteral("error %1").arg(s.number());
}

} // namespace

class TestVbRegExp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialect_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("flags"); // g global, i ignore case, m multiline
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *p, const char *f, const QString &s, const char *e) {
            QTest::newRow(name) << QString::fromUtf8(p) << QString::fromLatin1(f) << s << QString::fromUtf8(e);
        };
        row("dot stops at every line end", "a.", "g", QStringLiteral("a\rab a\n a\u2028"), "ab@2");
        row("dollar is the very end", "b$", "", QStringLiteral("ab\n"), "");
        row("multiline knows CR", "^x|y$", "gm", QStringLiteral("y\rx"), "y@0|x@2");
        row("ascii word characters", "\\w+", "g", QStringLiteral("caf\u00e9 d"), "caf@0|d@5");
        row("vertical tab and code points", "\\v\\u0041\\x42", "", QStringLiteral("\x0b" "AB"), "\x0b" "AB@0");
        row("short hex and unicode escapes are letters", "\\x4\\u12", "", QStringLiteral("x4u12"), "x4u12@0");
        row("unknown escapes are the letter", "\\q\\A\\z", "", QStringLiteral("qAz"), "qAz@0");
        row("control letter", "\\cJ", "", QStringLiteral("a\nb"), "\n@1");
        row("backreference to an idle group is empty", "(a)|b\\1", "g", QStringLiteral("ab"), "a@0[a]|b@1[-]");
        row("backreference then digit, else octal", "(a)\\12\\101", "", QStringLiteral("aa2A"), "aa2A@0[a]");
        row("empty class and any class", "[]|x[^]", "g", QStringLiteral("x\n"), "x\n@0");
        row("brackets are no posix classes", "[[:a]+", "g", QStringLiteral("a:[b"), "a:[@0");
        row("class escapes and dash", "[\\d-z]+", "", QStringLiteral("1-z9"), "1-z9@0");
        row("backspace in a class", "[\\b]", "", QStringLiteral("a\bb"), "\b@1");
        row("case folding", "AbC", "i", QStringLiteral("xabc"), "abc@1");
        row("literal brace", "a{,2}b{x", "", QStringLiteral("a{,2}b{x"), "a{,2}b{x@0");
        row("lazy quantifier", "<.+?>", "g", QStringLiteral("<a><b>"), "<a>@0|<b>@3");
        row("lookahead", "\\d(?=px)", "g", QStringLiteral("1em 2px"), "2@4");
        row("empty matches advance by one", "x*", "g", QStringLiteral("ab"), "@0|@1|@2");
        row("not global takes the first", "\\d", "", QStringLiteral("12"), "1@0");
        row("lookbehind is a syntax error", "(?<=a)b", "", QStringLiteral("ab"), "error 5017");
        row("named group is a syntax error", "(?<n>a)", "", QStringLiteral("a"), "error 5017");
        row("possessive is a quantifier error", "a*+", "", QStringLiteral("a"), "error 5018");
        row("nothing to repeat", "*a", "", QStringLiteral("a"), "error 5018");
        row("unclosed class", "[ab", "", QStringLiteral("a"), "error 5019");
        row("unclosed group", "(ab", "", QStringLiteral("a"), "error 5020");
        row("stray close", "ab)", "", QStringLiteral("a"), "error 5017");
        row("reversed range", "[z-a]", "", QStringLiteral("a"), "error 5021");
        row("trailing backslash", "a\\", "", QStringLiteral("a"), "error 5017");
    }

    void dialect()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, flags);
        QFETCH(QString, subject);
        QFETCH(QString, expected);
        VbRegExp re(pattern, flags.contains(u'g'), flags.contains(u'i'), flags.contains(u'm'));
        QString pcre;
        std::ignore = VbRegExp::translate(pattern, flags.contains(u'm'), &pcre); // only the text, for the failure message
        QVERIFY2(matches(re, subject) == expected, qPrintable(matches(re, subject) + QStringLiteral(" from ") + pcre));
    }

    void replaceAndOptionChanges()
    {
        VbRegExp re(QStringLiteral("(\\w+) (\\w+)"), true);
        QCOMPARE(re.replace(QStringLiteral("ab cd ef"), QStringLiteral("$2,$1[$&]($`|$')$$$3$")),
                 QStringLiteral("cd,ab[ab cd](| ef)$$3$ ef"));
        re.setGlobal(false);
        re.setPattern(QStringLiteral("x*"));
        QCOMPARE(re.replace(QStringLiteral("ab"), QStringLiteral("-")), QStringLiteral("-ab"));
        re.setGlobal(true);
        QCOMPARE(re.replace(QStringLiteral("ab"), QStringLiteral("-")), QStringLiteral("-a-b-"));
        // Options recompile the pattern; a bad pattern fails every call
        // with its error and leaves nothing behind.
        re.setPattern(QStringLiteral("^b"));
        QVERIFY(!re.test(QStringLiteral("a\nb")));
        re.setMultiline(true);
        QVERIFY(re.test(QStringLiteral("a\nb")));
        re.setPattern(QStringLiteral("[b"));
        Status s;
        QCOMPARE(re.replace(QStringLiteral("abc"), QStringLiteral("x"), &s), QString());
        QCOMPARE(s.number(), 5019);
        QCOMPARE(re.check().description(), QStringLiteral("Expected ']' in regular expression"));
        QVERIFY(!re.test(QStringLiteral("b"), &s));
        QCOMPARE(s.number(), 5019);
    }
};

QTEST_GUILESS_MAIN(TestVbRegExp)
#include "tst_vbregexp.moc"
