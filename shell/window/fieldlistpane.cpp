#include "shell/window/fieldlistpane.h"

#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace Orv {

namespace {

// Drags a field's name under the field list's own data type.
class FieldListWidget : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    QStringList mimeTypes() const override { return {QString::fromLatin1(FieldList::MimeType)}; }
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override
    {
        if (items.isEmpty())
            return nullptr;
        auto *data = new QMimeData;
        data->setData(QString::fromLatin1(FieldList::MimeType), items.first()->text().toUtf8());
        data->setText(items.first()->text());
        return data;
    }
};

} // namespace

FieldListPane::FieldListPane(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FieldListPane"));
    m_lstFields = new FieldListWidget(this);
    m_lstFields->setObjectName(QStringLiteral("lstFields"));
    m_lstFields->setDragEnabled(true);
    m_lstFields->setDragDropMode(QAbstractItemView::DragOnly);
    m_lblNote = new QLabel(this);
    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_lblNote->setWordWrap(true);
    auto *refresh = new QPushButton(tr("刷新"), this);
    refresh->setObjectName(QStringLiteral("btnRefresh"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_lblNote);
    layout->addWidget(m_lstFields, 1);
    layout->addWidget(refresh);
    connect(refresh, &QPushButton::clicked, this, &FieldListPane::refreshRequested);
    connect(&m_watcher, &QFutureWatcher<FieldList::Result>::finished, this, [this] {
        if (m_watcher.property("generation").toInt() == m_generation)
            showResult(m_watcher.result());
    });
}

void FieldListPane::refresh(const Report &report, const QString &reportFolder)
{
    ++m_generation;
    m_lstFields->clear();
    Data::ReportDataSource source;
    QString note;
    if (!FieldList::sourceOf(report, reportFolder, &source, &note)) {
        showResult({{}, note});
        return;
    }
    // A database that does not answer keeps only this pane waiting.
    m_lblNote->setText(tr("正在读取字段..."));
    m_lblNote->show();
    m_watcher.setProperty("generation", m_generation);
    m_watcher.setFuture(QtConcurrent::run([source] { return FieldList::readFields(source); }));
}

void FieldListPane::showResult(const FieldList::Result &result)
{
    m_lstFields->clear();
    m_lstFields->addItems(result.fields);
    m_lblNote->setText(result.note);
    m_lblNote->setVisible(!result.note.isEmpty());
    Q_EMIT fieldsRead();
}

} // namespace Orv
