// Locales and the patterns behind named formats: the locale in use, the
// English and system conventions, and the layouts of negative numbers and
// currency amounts.

#include "engine/vbformat/vbformat_p.h"

#include <QLocale>

#include <mutex>

namespace Orv::VbFormat {

namespace Detail {

// ---------------------------------------------------------------- locale

namespace {

std::mutex envMutex;
std::shared_ptr<const Env> envSlot; // guarded by envMutex

} // namespace

std::atomic<unsigned> envGeneration{1};

namespace {

// Parses a locale's date pattern; composite tokens (ddddd, ttttt, c) are
// dropped there, since they would refer back to the patterns themselves.
DateSection localePattern(const QString &pattern)
{
    DateSection s;
    parseDate(pattern, s);
    std::erase_if(s.tokens, [](const DateToken &t) {
        return t.kind == DateToken::ShortDate || t.kind == DateToken::LongDate
            || t.kind == DateToken::LongTime || t.kind == DateToken::General;
    });
    return s;
}

std::shared_ptr<const Env> makeEnv(Locale loc, unsigned generation)
{
    // Whatever is missing or out of range is taken from English.
    const Locale en = Locale::english();
    const auto keep = [](auto &field, const auto &fallback, bool good) {
        if (!good)
            field = fallback;
    };
    keep(loc.decimalSeparator, en.decimalSeparator, !loc.decimalSeparator.isNull());
    keep(loc.groupSeparator, en.groupSeparator, !loc.groupSeparator.isNull());
    keep(loc.monthNames, en.monthNames, loc.monthNames.size() == 12);
    keep(loc.monthAbbreviations, en.monthAbbreviations, loc.monthAbbreviations.size() == 12);
    keep(loc.dayNames, en.dayNames, loc.dayNames.size() == 7);
    keep(loc.dayAbbreviations, en.dayAbbreviations, loc.dayAbbreviations.size() == 7);
    keep(loc.shortDate, en.shortDate, !loc.shortDate.isEmpty());
    keep(loc.longDate, en.longDate, !loc.longDate.isEmpty());
    keep(loc.longTime, en.longTime, !loc.longTime.isEmpty());
    keep(loc.numberDigits, en.numberDigits, loc.numberDigits >= 0 && loc.numberDigits <= 9);
    keep(loc.currencyDigits, en.currencyDigits, loc.currencyDigits >= 0 && loc.currencyDigits <= 9);
    keep(loc.negativeNumber, en.negativeNumber, loc.negativeNumber >= 0 && loc.negativeNumber <= 4);
    keep(loc.currencyPosition, en.currencyPosition, loc.currencyPosition >= 0 && loc.currencyPosition <= 3);
    keep(loc.negativeCurrency, en.negativeCurrency, loc.negativeCurrency >= 0 && loc.negativeCurrency <= 15);
    keep(loc.firstDayOfWeek, en.firstDayOfWeek, loc.firstDayOfWeek >= Sunday && loc.firstDayOfWeek <= Saturday);
    keep(loc.firstWeekOfYear, en.firstWeekOfYear,
         loc.firstWeekOfYear >= FirstJan1 && loc.firstWeekOfYear <= FirstFullWeek);
    auto env = std::make_shared<Env>();
    env->shortDate = localePattern(loc.shortDate);
    env->longDate = localePattern(loc.longDate);
    env->longTime = localePattern(loc.longTime);
    const QString sd = loc.shortDate.toLower();
    const qsizetype d = sd.indexOf(u'd'), m = sd.indexOf(u'm');
    env->dayFirst = d >= 0 && (m < 0 || d < m);
    env->loc = std::move(loc);
    env->generation = generation;
    return env;
}

} // namespace

std::shared_ptr<const Env> currentEnv()
{
    std::lock_guard<std::mutex> lock(envMutex);
    if (!envSlot)
        envSlot = makeEnv(Locale::english(), envGeneration.load());
    return envSlot;
}

// ---------------------------------------------------------------- named formats

namespace {

// Every character escaped, so that a currency symbol such as "Fr." stays
// literal inside a number format.
QString escaped(QStringView s)
{
    QString r;
    for (QChar c : s) {
        r += u'\\';
        r += c;
    }
    return r;
}

const char *const currencyPositiveForms[4] = {"$1", "1$", "$ 1", "1 $"};
const char *const currencyNegativeForms[16] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                               "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};

bool parenthesised(int negativeCurrency)
{
    return currencyNegativeForms[negativeCurrency][0] == '(';
}

// A form above with $ standing for the symbol and 1 for the amount.
QString expandForm(const char *form, const QString &symbol, const QString &amount)
{
    QString r;
    for (; *form; ++form) {
        if (*form == '$')
            r += symbol;
        else if (*form == '1')
            r += amount;
        else
            r += QLatin1Char(*form);
    }
    return r;
}

// Qt's date and time patterns in Format's syntax.
QString fromQtPattern(QStringView qt, QChar dateSep, QChar timeSep)
{
    QString out;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt[i];
        qsizetype run = 1;
        while (i + run < qt.size() && qt[i + run] == c)
            ++run;
        const char16_t u = c.unicode();
        if (u == u'\'') {
            if (run >= 2) {
                out += QLatin1String("\\'");
                i += 1;
                continue;
            }
            qsizetype j = i + 1;
            for (; j < qt.size() && qt[j] != u'\''; ++j)
                out += escaped(qt.mid(j, 1));
            i = j;
            continue;
        }
        QString piece;
        switch (u) {
        case u'd': piece = QString(std::min<qsizetype>(run, 4), u'd'); break;
        case u'M': case u'L': piece = QString(std::min<qsizetype>(run, 4), u'm'); break;
        case u'y': piece = run >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
        case u'h': case u'H': piece = QString(std::min<qsizetype>(run, 2), u'h'); break;
        case u'm': piece = QString(std::min<qsizetype>(run, 2), u'n'); break;
        case u's': piece = QString(std::min<qsizetype>(run, 2), u's'); break;
        case u'z': case u't': break;
        case u'a': case u'A':
            piece = QStringLiteral("AMPM");
            if (i + run < qt.size() && (qt[i + run] == u'p' || qt[i + run] == u'P'))
                ++run;
            break;
        default:
            for (qsizetype k = 0; k < run; ++k) {
                if (c == dateSep)
                    piece += u'/';
                else if (c == timeSep)
                    piece += u':';
                else if (c.isLetter() || u == u'/' || u == u':' || u == u'"' || u == u'\\')
                    piece += escaped(qt.mid(i, 1));
                else
                    piece += c;
            }
            break;
        }
        out += piece;
        i += run - 1;
    }
    return out.trimmed();
}

QChar separatorOf(const QString &qtPattern, QChar fallback)
{
    bool quoted = false;
    for (QChar c : qtPattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && !c.isLetterOrNumber() && !c.isSpace() && c != u',')
            return c;
    }
    return fallback;
}

} // namespace

QString decimalsPattern(int digits)
{
    return digits > 0 ? QLatin1Char('.') + QString(digits, QLatin1Char('0')) : QString();
}

QString negativeNumberPattern(const QString &body, int style)
{
    switch (style) {
    case 0: return u'(' + body + u')';
    case 2: return QLatin1String("- ") + body;
    case 3: return body + u'-';
    case 4: return body + QLatin1String(" -");
    default: return u'-' + body;
    }
}

QString currencyPattern(const Locale &loc, const QString &symbol, const QString &body, Tristate parens)
{
    const QString sym = escaped(symbol);
    const QString positive = expandForm(currencyPositiveForms[loc.currencyPosition], sym, body);
    QString negative;
    if (parens == TriUseDefault)
        negative = expandForm(currencyNegativeForms[loc.negativeCurrency], sym, body);
    else if (parens != TriFalse)
        negative = u'(' + positive + u')';
    else if (parenthesised(loc.negativeCurrency))
        negative = u'-' + positive;
    else
        negative = expandForm(currencyNegativeForms[loc.negativeCurrency], sym, body);
    return positive + u';' + negative;
}

} // namespace Detail

using namespace Detail;

// ---------------------------------------------------------------- public

Locale Locale::english()
{
    Locale l;
    for (const char *m : englishMonths) {
        l.monthNames << QLatin1String(m);
        l.monthAbbreviations << QString::fromLatin1(m, 3);
    }
    for (const char *d : englishDays) {
        l.dayNames << QLatin1String(d);
        l.dayAbbreviations << QString::fromLatin1(d, 3);
    }
    return l;
}

Locale Locale::system()
{
    const QLocale q = QLocale::system();
    Locale l = english();
    const auto first = [](const QString &s, QChar fallback) { return s.isEmpty() ? fallback : s.front(); };
    l.decimalSeparator = first(q.decimalPoint(), l.decimalSeparator);
    l.groupSeparator = first(q.groupSeparator(), l.groupSeparator);
    l.currencySymbol = q.currencySymbol();
    l.amDesignator = q.amText();
    l.pmDesignator = q.pmText();
    for (int i = 0; i < 12; ++i) {
        l.monthNames[i] = q.monthName(i + 1, QLocale::LongFormat);
        l.monthAbbreviations[i] = q.monthName(i + 1, QLocale::ShortFormat);
    }
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i; // Qt counts from Monday
        l.dayNames[i] = q.dayName(qtDay, QLocale::LongFormat);
        l.dayAbbreviations[i] = q.dayName(qtDay, QLocale::ShortFormat);
    }
    const QString shortDate = q.dateFormat(QLocale::ShortFormat);
    const QChar dateSep = separatorOf(shortDate, QLatin1Char('/'));
    const QChar timeSep = separatorOf(q.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    l.dateSeparator = dateSep;
    l.timeSeparator = timeSep;
    l.shortDate = fromQtPattern(shortDate, dateSep, timeSep);
    l.longDate = fromQtPattern(q.dateFormat(QLocale::LongFormat), dateSep, timeSep);
    l.longTime = fromQtPattern(q.timeFormat(QLocale::LongFormat), dateSep, timeSep);
    const Qt::DayOfWeek firstDay = q.firstDayOfWeek();
    l.firstDayOfWeek = firstDay == Qt::Sunday ? Sunday : FirstDayOfWeek(firstDay + 1);
    // Qt has no week rule; where weeks start on Monday, ISO's is usual.
    l.firstWeekOfYear = l.firstDayOfWeek == Monday ? FirstFourDays : FirstJan1;
    // The currency layout, recognised in Qt's own currency texts.
    const auto plain = [](QString s) {
        s.replace(QChar(0x00a0), u' ');
        s.replace(QChar(0x202f), u' ');
        return s;
    };
    const QString amount = QLatin1String("1") + l.decimalSeparator + QLatin1String("50");
    const QString positive = plain(q.toCurrencyString(1.5, l.currencySymbol, 2));
    const QString negative = plain(q.toCurrencyString(-1.5, l.currencySymbol, 2));
    for (int i = 0; i < 4; ++i) {
        if (expandForm(currencyPositiveForms[i], l.currencySymbol, amount) == positive)
            l.currencyPosition = i;
    }
    for (int i = 0; i < 16; ++i) {
        if (expandForm(currencyNegativeForms[i], l.currencySymbol, amount) == negative)
            l.negativeCurrency = i;
    }
    return l;
}

void setLocale(const Locale &locale)
{
    std::lock_guard<std::mutex> lock(envMutex);
    const unsigned generation = envGeneration.load() + 1;
    envSlot = makeEnv(locale, generation);
    envGeneration.store(generation, std::memory_order_release);
}

Locale locale()
{
    return currentEnv()->loc;
}

} // namespace Orv::VbFormat
