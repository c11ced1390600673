#pragma once
// The start dialog's rules without its window: the ways to start a new
// report, the recent files, which tabs there are, what a choice returns.
// The dialog (shell/window/startdialog.h) shows this and reports the
// user's clicks to it.
#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Orv {

class StartDialogModel : public QObject
{
    Q_OBJECT

public:
    struct NewType
    {
        QString name;
        QString icon;
    };
    struct ExistItem
    {
        QString name;
        QString folder;
        QDate date;      // invalid when the stored text was not a date
        QString dateText; // as stored
        QString icon;
    };

    // The three ways to start a new report.
    static QString blankReport();
    static QString reportWizard();
    static QString importAccess();

    explicit StartDialogModel(QObject *parent = nullptr);

    bool ShowNew() const { return m_showNew; }
    void setShowNew(bool show) { m_showNew = show; }
    void AddNewType(const QString &sName, const QString &vIcon = QString());
    // The blank report, the report wizard and the Access import.
    void addStandardNewTypes();
    void AddExistItem(const QString &sName, const QString &sFolder, const QString &dateText,
                      const QString &vIcon = QString());
    const QList<NewType> &newTypes() const { return m_newTypes; }
    const QList<ExistItem> &existItems() const { return m_existItems; }

    // Tab keys in order: "New" (only with ShowNew), "Existing", "Recent".
    QStringList tabKeys() const;
    // The recent item's full path: folder, a separator when the folder
    // does not end with one, the name.
    QString recentPath(int index) const;
    // The recent item's date as the list shows it: the locale's short
    // date, or the stored text when it is not a date.
    QString recentDateText(int index) const;

    // The embedded file browser's settings.
    QString initialFolder() const { return m_folder; }
    void setInitialFolder(const QString &folder) { m_folder = folder; }
    QString filter() const;      // the Qt form of the start dialog's filter
    QString defaultSuffix() const { return QStringLiteral("rpx"); }

    // Choices; each ends the dialog.
    void chooseNew(int index);
    void chooseFile(const QString &path);
    void cancel();
    bool isDone() const { return m_done; }
    bool Cancelled() const { return m_cancelled; }
    bool IsNew() const { return m_isNew; }
    QString Filename() const { return m_filename; }

    // "Do not show this dialog again".
    bool dontShowAgain() const { return m_dont; }
    void setDontShowAgain(bool dont) { m_dont = dont; }

Q_SIGNALS:
    void finished();

private:
    bool m_showNew = true;
    QList<NewType> m_newTypes;
    QList<ExistItem> m_existItems;
    QString m_folder;
    bool m_done = false;
    bool m_cancelled = true;
    bool m_isNew = false;
    QString m_filename;
    bool m_dont = false;
};

} // namespace Orv
