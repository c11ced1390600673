#pragma once
// Which language the program speaks, and loading its translation. The
// program's source texts are Chinese; orvreport_en.qm (built from
// translations/orvreport_en.ts) gives their English.
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <optional>

class QCoreApplication;

namespace Orv {

enum class UiLanguage { Chinese, English };

// "zh" or "en" (as --lang takes them, any case), else nothing.
std::optional<UiLanguage> languageFromName(const QString &name);

// Chinese when the first of the user's languages (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG) is Chinese, English otherwise.
UiLanguage defaultLanguage(const QLocale &locale = QLocale::system());

// Where orvreport_<lang>.qm is looked for: the installed folder beside the
// program (<prefix>/share/orvreport/translations), then the build tree's.
QStringList translationFolders();

// The translators of one language, installed on the application for as
// long as this object lives.
class Translations
{
public:
    Translations() = default;
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;
    ~Translations();

    // Chinese: Qt's own dialogs in Chinese (the program's texts are
    // already). English: the program's English translation. False, with a
    // message in *error, when the English file is not found: the program
    // then shows its source texts.
    bool install(UiLanguage language, QString *error = nullptr);

private:
    QTranslator m_program;
    QTranslator m_qt;
    bool m_programInstalled = false;
    bool m_qtInstalled = false;
};

} // namespace Orv
