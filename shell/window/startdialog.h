#pragma once
// frmFileDialog, the start dialog: the New, Existing and Recent tabs over
// a StartDialogModel. Existing embeds Qt's own (non-native) file dialog as
// a widget, with the start filter and the current report folder.
#include <QDialog>

class QCheckBox;
class QFileDialog;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTreeWidget;

namespace Orv {

class StartDialogModel;

class frmFileDialog : public QDialog
{
    Q_OBJECT

public:
    explicit frmFileDialog(StartDialogModel &model, QWidget *parent = nullptr);

    QTabBar *tabMain() const { return m_tabMain; }
    QListWidget *lvwNew() const { return m_lvwNew; }
    QTreeWidget *lvwRecent() const { return m_lvwRecent; }
    QFileDialog *fileDialog() const { return m_files; }
    QCheckBox *chkDont() const { return m_chkDont; }
    // The tab of that key ("New", "Existing", "Recent").
    void showTab(const QString &key);

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void tabChanged(int index);
    void openNew();
    void openRecent();

    StartDialogModel &m_model;
    QTabBar *m_tabMain;
    QStackedWidget *m_pages;
    QListWidget *m_lvwNew;
    QTreeWidget *m_lvwRecent;
    QFileDialog *m_files;
    QPushButton *m_cmdNewOpen;
    QPushButton *m_cmdNewCancel;
    QPushButton *m_cmdRecentOpen;
    QPushButton *m_cmdRecentCancel;
    QCheckBox *m_chkDont;
};

} // namespace Orv
