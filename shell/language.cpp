#include "shell/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

namespace Orv {

std::optional<UiLanguage> languageFromName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("zh"))
        return UiLanguage::Chinese;
    if (n == QLatin1String("en"))
        return UiLanguage::English;
    return std::nullopt;
}

UiLanguage defaultLanguage(const QLocale &locale)
{
    const QStringList languages = locale.uiLanguages();
    const QString first = languages.isEmpty() ? locale.name() : languages.first();
    return first.startsWith(QLatin1String("zh"), Qt::CaseInsensitive) ? UiLanguage::Chinese : UiLanguage::English;
}

QStringList translationFolders()
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/orvreport/translations"));
#ifdef ORV_TRANSLATIONS_BUILD_DIR
    folders << QStringLiteral(ORV_TRANSLATIONS_BUILD_DIR);
#endif
    return folders;
}

Translations::~Translations()
{
    if (m_programInstalled)
        QCoreApplication::removeTranslator(&m_program);
    if (m_qtInstalled)
        QCoreApplication::removeTranslator(&m_qt);
}

bool Translations::install(UiLanguage language, QString *error)
{
    if (language == UiLanguage::Chinese) {
        // Qt's file browser and message box buttons follow the program, in
        // the traditional script where the user's locale writes it.
        const QLocale locale = QLocale::system();
        const bool traditional = locale.language() == QLocale::Chinese && locale.script() == QLocale::TraditionalChineseScript;
        if (m_qt.load(traditional ? QStringLiteral("qtbase_zh_TW") : QStringLiteral("qtbase_zh_CN"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            m_qtInstalled = QCoreApplication::installTranslator(&m_qt);
        return true;
    }
    const QStringList folders = translationFolders();
    for (const QString &folder : folders) {
        if (m_program.load(QStringLiteral("orvreport_en"), folder)) {
            m_programInstalled = QCoreApplication::installTranslator(&m_program);
            return m_programInstalled;
        }
    }
    if (error)
        *error = QStringLiteral("The English translation orvreport_en.qm is in none of: %1").arg(folders.join(QStringLiteral(", ")));
    return false;
}

} // namespace Orv
