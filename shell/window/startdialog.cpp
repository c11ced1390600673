#include "shell/window/startdialog.h"

#include "shell/startdialogmodel.h"
#include "shell/window/commandicons.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

namespace {

// The side picture: the product's name over a gradient.
class SidePicture : public QWidget
{
public:
    explicit SidePicture(QWidget *parent) : QWidget(parent) { setFixedWidth(150); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
        g.setColorAt(1, QColor(0x5b, 0x9b, 0xd5));
        p.fillRect(rect(), g);
        p.setPen(Qt::white);
        QFont f = font();
        f.setPointSizeF(f.pointSizeF() * 1.8);
        f.setBold(true);
        p.setFont(f);
        p.drawText(rect().adjusted(12, 24, -8, 0), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap,
                   QStringLiteral("OrvReport"));
        p.setFont(font());
        p.drawText(rect().adjusted(12, 0, -8, -16), Qt::AlignBottom | Qt::AlignLeft | Qt::TextWordWrap,
                   QStringLiteral("Using Orv Report Engine Technology"));
    }
};

QIcon newTypeIcon(const QString &key)
{
    return commandIcon(key == QLatin1String("Import Access") ? QStringLiteral("document-open") : QStringLiteral("document-new"));
}

} // namespace

frmFileDialog::frmFileDialog(StartDialogModel &model, QWidget *parent)
    : QDialog(parent), m_model(model)
{
    setObjectName(QStringLiteral("frmFileDialog"));
    setWindowTitle(tr("打开"));
    setModal(true);

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(new SidePicture(this));
    auto *right = new QVBoxLayout;
    right->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(right, 1);

    auto *lblTitle = new QLabel(QStringLiteral("OrvReport"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblTitle->setFont(big);
    right->addWidget(lblTitle);

    m_tabMain = new QTabBar(this);
    m_tabMain->setObjectName(QStringLiteral("tabMain"));
    m_tabMain->setExpanding(false);
    right->addWidget(m_tabMain);
    m_pages = new QStackedWidget(this);
    right->addWidget(m_pages, 1);

    // New: the ways to start a report.
    auto *newPage = new QWidget(m_pages);
    auto *newLayout = new QVBoxLayout(newPage);
    newLayout->setContentsMargins(0, 6, 0, 0);
    m_lvwNew = new QListWidget(newPage);
    m_lvwNew->setObjectName(QStringLiteral("lvwNew"));
    m_lvwNew->setViewMode(QListView::IconMode);
    m_lvwNew->setIconSize(QSize(48, 48));
    m_lvwNew->setGridSize(QSize(130, 90));
    m_lvwNew->setMovement(QListView::Static);
    m_lvwNew->setWordWrap(true);
    for (const StartDialogModel::NewType &type : model.newTypes())
        m_lvwNew->addItem(new QListWidgetItem(newTypeIcon(type.icon), tr(qPrintable(type.name))));
    if (m_lvwNew->count() > 0)
        m_lvwNew->setCurrentRow(0);
    newLayout->addWidget(m_lvwNew, 1);
    auto *newButtons = new QHBoxLayout;
    newButtons->addStretch();
    m_cmdNewOpen = new QPushButton(tr("打开[&O]"), newPage);
    m_cmdNewOpen->setObjectName(QStringLiteral("cmdNewOpen"));
    m_cmdNewOpen->setDefault(true);
    m_cmdNewCancel = new QPushButton(tr("取消[&C]"), newPage);
    m_cmdNewCancel->setObjectName(QStringLiteral("CmdNewCancel"));
    newButtons->addWidget(m_cmdNewOpen);
    newButtons->addWidget(m_cmdNewCancel);
    newLayout->addLayout(newButtons);
    connect(m_lvwNew, &QListWidget::itemDoubleClicked, this, &frmFileDialog::openNew);
    connect(m_lvwNew, &QListWidget::itemActivated, this, &frmFileDialog::openNew);
    connect(m_cmdNewOpen, &QPushButton::clicked, this, &frmFileDialog::openNew);
    connect(m_cmdNewCancel, &QPushButton::clicked, this, [this] { m_model.cancel(); });

    // Existing: the file browser itself.
    m_files = new QFileDialog(m_pages, tr("打开"), model.initialFolder(), model.filter());
    m_files->setObjectName(QStringLiteral("dlgExisting"));
    m_files->setWindowFlags(Qt::Widget);
    m_files->setOption(QFileDialog::DontUseNativeDialog, true);
    m_files->setFileMode(QFileDialog::ExistingFile);
    m_files->setAcceptMode(QFileDialog::AcceptOpen);
    m_files->setDefaultSuffix(model.defaultSuffix());
    m_files->setSizeGripEnabled(false);
    // Names only: the detail columns do not fit beside the side picture.
    m_files->setViewMode(QFileDialog::List);
    connect(m_files, &QFileDialog::fileSelected, this, [this](const QString &path) { m_model.chooseFile(path); });
    connect(m_files, &QFileDialog::rejected, this, [this] { m_model.cancel(); });

    // Recent: the recent files with their folders and dates.
    auto *recentPage = new QWidget(m_pages);
    auto *recentLayout = new QVBoxLayout(recentPage);
    recentLayout->setContentsMargins(0, 6, 0, 0);
    m_lvwRecent = new QTreeWidget(recentPage);
    m_lvwRecent->setObjectName(QStringLiteral("lvwRecent"));
    m_lvwRecent->setRootIsDecorated(false);
    m_lvwRecent->setHeaderLabels({tr("名称"), tr("文件夹"), tr("日期")});
    const QIcon rpx = commandIcon(QStringLiteral("x-office-document"));
    for (int i = 0; i < model.existItems().size(); ++i) {
        const auto &item = model.existItems()[i];
        auto *row = new QTreeWidgetItem(m_lvwRecent, {item.name, item.folder, model.recentDateText(i)});
        row->setIcon(0, rpx);
    }
    m_lvwRecent->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_lvwRecent->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_lvwRecent->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    if (m_lvwRecent->topLevelItemCount() > 0)
        m_lvwRecent->setCurrentItem(m_lvwRecent->topLevelItem(0));
    recentLayout->addWidget(m_lvwRecent, 1);
    auto *recentButtons = new QHBoxLayout;
    recentButtons->addStretch();
    m_cmdRecentOpen = new QPushButton(tr("打开[&O]"), recentPage);
    m_cmdRecentOpen->setObjectName(QStringLiteral("cmdRecentOpen"));
    m_cmdRecentCancel = new QPushButton(tr("取消[&C]"), recentPage);
    m_cmdRecentCancel->setObjectName(QStringLiteral("cmdRecentCancel"));
    recentButtons->addWidget(m_cmdRecentOpen);
    recentButtons->addWidget(m_cmdRecentCancel);
    recentLayout->addLayout(recentButtons);
    connect(m_lvwRecent, &QTreeWidget::currentItemChanged, this, [this] {
        const QString path = m_model.recentPath(m_lvwRecent->indexOfTopLevelItem(m_lvwRecent->currentItem()));
        m_files->selectFile(path);
        m_cmdRecentOpen->setEnabled(!path.isEmpty());
    });
    connect(m_lvwRecent, &QTreeWidget::itemDoubleClicked, this, &frmFileDialog::openRecent);
    connect(m_lvwRecent, &QTreeWidget::itemActivated, this, &frmFileDialog::openRecent);
    connect(m_cmdRecentOpen, &QPushButton::clicked, this, &frmFileDialog::openRecent);
    connect(m_cmdRecentCancel, &QPushButton::clicked, this, [this] { m_model.cancel(); });
    m_cmdRecentOpen->setEnabled(m_lvwRecent->topLevelItemCount() > 0);

    const QStringList keys = model.tabKeys();
    const QHash<QString, QString> captions = {{QStringLiteral("New"), tr("新建")},
                                              {QStringLiteral("Existing"), tr("现存")},
                                              {QStringLiteral("Recent"), tr("最近")}};
    const QHash<QString, QWidget *> pages = {{QStringLiteral("New"), newPage},
                                             {QStringLiteral("Existing"), m_files},
                                             {QStringLiteral("Recent"), recentPage}};
    for (const QString &key : keys) {
        const int index = m_tabMain->addTab(captions.value(key));
        m_tabMain->setTabData(index, key);
        m_pages->addWidget(pages.value(key));
    }
    if (!model.ShowNew())
        newPage->hide();
    connect(m_tabMain, &QTabBar::currentChanged, this, &frmFileDialog::tabChanged);

    m_chkDont = new QCheckBox(tr("不再显示这个对话框[&U]"), this);
    m_chkDont->setObjectName(QStringLiteral("chkDont"));
    m_chkDont->setChecked(model.dontShowAgain());
    connect(m_chkDont, &QCheckBox::toggled, this, [this](bool on) { m_model.setDontShowAgain(on); });
    right->addWidget(m_chkDont);

    // A choice ends the dialog from the event loop, not from inside the
    // embedded dialog's own signal.
    connect(&m_model, &StartDialogModel::finished, this, [this] {
        QTimer::singleShot(0, this, [this] { QDialog::done(m_model.Cancelled() ? Rejected : Accepted); });
    });
    resize(model.ShowNew() ? QSize(820, 520) : QSize(780, 500));
    tabChanged(0);
}

void frmFileDialog::showTab(const QString &key)
{
    for (int i = 0; i < m_tabMain->count(); ++i) {
        if (m_tabMain->tabData(i).toString() == key)
            m_tabMain->setCurrentIndex(i);
    }
}

void frmFileDialog::tabChanged(int index)
{
    m_pages->setCurrentIndex(index);
    const QString key = m_tabMain->tabData(index).toString();
    if (key == QLatin1String("New"))
        m_lvwNew->setFocus();
    else if (key == QLatin1String("Recent"))
        m_lvwRecent->setFocus();
}

void frmFileDialog::openNew()
{
    if (m_lvwNew->currentRow() >= 0)
        m_model.chooseNew(m_lvwNew->currentRow());
}

void frmFileDialog::openRecent()
{
    const int index = m_lvwRecent->indexOfTopLevelItem(m_lvwRecent->currentItem());
    m_model.chooseFile(m_model.recentPath(index));
}

void frmFileDialog::keyPressEvent(QKeyEvent *event)
{
    // Escape cancels the whole dialog, wherever the focus is.
    if (event->key() == Qt::Key_Escape) {
        m_model.cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Closing by any other means (the window's close button) cancels.
void frmFileDialog::done(int result)
{
    if (!m_model.isDone())
        m_model.cancel();
    QDialog::done(result);
}

} // namespace Orv
