#pragma once
// The frame of the dialogs with a tree of topics: a banner with a title
// and a subtitle, the tree tv on the left, one option page per topic on
// the right (only the page of the selected topic shows), OK and Cancel.
#include <QDialog>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace Orv {

class TopicDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TopicDialog(QWidget *parent = nullptr);

    void setBanner(const QString &title, const QString &subtitle);
    // A page with its title line; lay its controls out in the layout returned.
    QVBoxLayout *addPage(const QString &title);
    // A topic showing page (-1: none). Group topics are bold, stay expanded
    // and cannot be collapsed.
    QTreeWidgetItem *addTopic(const QString &key, const QString &caption, QTreeWidgetItem *parent, int page,
                              bool group = false);
    QTreeWidgetItem *topic(const QString &key) const;
    static QString keyOf(const QTreeWidgetItem *item);
    void selectTopic(const QString &key);
    // The page shown (-1 before any topic with a page was selected).
    int currentPage() const { return m_current; }
    QWidget *page(int index) const;

    QTreeWidget *tv() const { return m_tv; }
    QLabel *bannerTitle() const { return m_title; }
    QLabel *bannerSubtitle() const { return m_subtitle; }
    QPushButton *btnOK() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

private:
    void topicChanged(QTreeWidgetItem *item);

    QLabel *m_title;
    QLabel *m_subtitle;
    QTreeWidget *m_tv;
    QStackedWidget *m_pages;
    QWidget *m_blank;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    int m_current = -1;
};

} // namespace Orv
