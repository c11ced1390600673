#pragma once
// The field list dock's contents: the fields of the report's data source,
// read off the window's thread, listed for dragging onto a section. While
// they are read, and when they cannot be, a note says so.
#include "shell/fieldlist.h"

#include <QFutureWatcher>
#include <QWidget>

class QLabel;
class QListWidget;

namespace Orv {

class FieldListPane : public QWidget
{
    Q_OBJECT

public:
    explicit FieldListPane(QWidget *parent = nullptr);

    // Reads the fields of report's data source again.
    void refresh(const Report &report, const QString &reportFolder);
    bool isReading() const { return m_watcher.isRunning(); }
    QListWidget *lstFields() const { return m_lstFields; }
    QLabel *lblNote() const { return m_lblNote; }

Q_SIGNALS:
    void refreshRequested();
    void fieldsRead();

private:
    void showResult(const FieldList::Result &result);

    QListWidget *m_lstFields;
    QLabel *m_lblNote;
    QFutureWatcher<FieldList::Result> m_watcher;
    int m_generation = 0;
};

} // namespace Orv
