#include "shell/startdialogmodel.h"

#include "shell/reportdocument.h"

#include <QCoreApplication>
#include <QLocale>

namespace Orv {

QString StartDialogModel::blankReport()
{
    return QString::fromUtf8(QT_TRANSLATE_NOOP("Orv::frmFileDialog", "空白报表"));
}

QString StartDialogModel::reportWizard()
{
    return QString::fromUtf8(QT_TRANSLATE_NOOP("Orv::frmFileDialog", "新建报表向导"));
}

QString StartDialogModel::importAccess()
{
    return QString::fromUtf8(QT_TRANSLATE_NOOP("Orv::frmFileDialog", "导入Access报表"));
}

StartDialogModel::StartDialogModel(QObject *parent) : QObject(parent) {}

void StartDialogModel::AddNewType(const QString &sName, const QString &vIcon)
{
    m_newTypes.append({sName, vIcon});
}

void StartDialogModel::addStandardNewTypes()
{
    AddNewType(blankReport(), QStringLiteral("New Report"));
    AddNewType(reportWizard(), QStringLiteral("Report Wizard"));
    AddNewType(importAccess(), QStringLiteral("Import Access"));
}

namespace {

// Short dates may carry two-digit years, which Qt reads as 19xx; the
// program wrote them, so they are this century's.
QDate readDate(const QString &text)
{
    const QLocale locale;
    QDate date = locale.toDate(text, QLocale::ShortFormat);
    if (!date.isValid())
        date = locale.toDate(text, QLocale::LongFormat);
    if (!date.isValid())
        date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid() && date.year() < 1970 && !text.contains(QString::number(date.year())))
        date = date.addYears(100);
    return date;
}

} // namespace

void StartDialogModel::AddExistItem(const QString &sName, const QString &sFolder, const QString &dateText,
                                    const QString &vIcon)
{
    m_existItems.append({sName, sFolder, readDate(dateText), dateText, vIcon});
}

QStringList StartDialogModel::tabKeys() const
{
    QStringList keys;
    if (m_showNew)
        keys << QStringLiteral("New");
    keys << QStringLiteral("Existing") << QStringLiteral("Recent");
    return keys;
}

QString StartDialogModel::recentPath(int index) const
{
    if (index < 0 || index >= m_existItems.size())
        return QString();
    const ExistItem &item = m_existItems[index];
    QString folder = item.folder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + item.name;
}

QString StartDialogModel::recentDateText(int index) const
{
    if (index < 0 || index >= m_existItems.size())
        return QString();
    const ExistItem &item = m_existItems[index];
    return item.date.isValid() ? QLocale().toString(item.date, QLocale::ShortFormat) : item.dateText;
}

QString StartDialogModel::filter() const
{
    return ReportDocument::qtFilter(ReportDocument::startDialogFilter());
}

void StartDialogModel::chooseNew(int index)
{
    if (m_done || index < 0 || index >= m_newTypes.size())
        return;
    m_filename = m_newTypes[index].name;
    m_isNew = true;
    m_cancelled = false;
    m_done = true;
    Q_EMIT finished();
}

void StartDialogModel::chooseFile(const QString &path)
{
    if (m_done || path.isEmpty())
        return;
    m_filename = path;
    m_isNew = false;
    m_cancelled = false;
    m_done = true;
    Q_EMIT finished();
}

void StartDialogModel::cancel()
{
    if (m_done)
        return;
    m_cancelled = true;
    m_done = true;
    Q_EMIT finished();
}

} // namespace Orv
