#include "dialogs/datasource/datasource.h"

#include "ui/uiseam.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

frmDataSource::frmDataSource(Ui &ui, QWidget *parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_prompt(dialogConnectionPrompt(ui, this))
{
    setObjectName(QStringLiteral("frmDataSource"));
    setWindowTitle(tr("报表数据源"));
    auto *layout = new QVBoxLayout(this);

    // The banner.
    auto *banner = new QFrame;
    banner->setBackgroundRole(QPalette::Base);
    banner->setAutoFillBackground(true);
    banner->setFrameShape(QFrame::StyledPanel);
    auto *bannerLayout = new QVBoxLayout(banner);
    auto *heading = new QLabel(tr("报表数据源"));
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    heading->setFont(font);
    bannerLayout->addWidget(heading);
    bannerLayout->addWidget(new QLabel(tr("设置数据源，字段，格式等")));
    layout->addWidget(banner);

    auto *body = new QHBoxLayout;
    m_tv = new QTreeWidget;
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setHeaderHidden(true);
    m_tv->setRootIsDecorated(false);
    m_tv->setFixedWidth(140);
    const QList<QPair<QString, QString>> nodes = {{QStringLiteral("DS_CNN"), tr("Connection")},
                                                  {QStringLiteral("DS_FIELDS"), tr("Fields")},
                                                  {QStringLiteral("DS_RELATE"), tr("Relate")},
                                                  {QStringLiteral("DS_SORT"), tr("Sort")},
                                                  {QStringLiteral("DS_FILTER"), tr("Filter")}};
    for (const auto &[key, caption] : nodes) {
        auto *item = new QTreeWidgetItem(m_tv, {caption});
        item->setData(0, Qt::UserRole, key);
        QFont bold = item->font(0);
        bold.setBold(true);
        item->setFont(0, bold);
    }
    m_tv->setCurrentItem(m_tv->topLevelItem(0));
    body->addWidget(m_tv);

    auto *page = new QGroupBox(tr("  连接"));
    page->setObjectName(QStringLiteral("fraConnection"));
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(new QLabel(tr("连接数据源字符串")));
    auto *row = new QHBoxLayout;
    m_txtCnn = new QLineEdit;
    m_txtCnn->setObjectName(QStringLiteral("txtCnn"));
    m_txtCnn->setMinimumWidth(360);
    m_btnConnect = new QPushButton(tr("连接..."));
    m_btnConnect->setObjectName(QStringLiteral("btnConnect"));
    m_btnConnect->setAutoDefault(false);
    row->addWidget(m_txtCnn, 1);
    row->addWidget(m_btnConnect);
    pageLayout->addLayout(row);
    pageLayout->addStretch(1);
    body->addWidget(page, 1);
    layout->addLayout(body, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *btnOK = new QPushButton(tr("确定[&O]"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    auto *btnCancel = new QPushButton(tr("取消[&C]"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOK->setDefault(true);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(m_btnConnect, &QPushButton::clicked, this, &frmDataSource::connectClicked);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        SaveDataSource();
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(600, 320);
}

void frmDataSource::connectClicked()
{
    if (m_prompt)
        m_txtCnn->setText(m_prompt(QString(), QString()));
}

bool frmDataSource::SaveDataSource()
{
    // The topics beyond the connection are not built, so there is nothing
    // to store yet; the report stays as it was.
    return true;
}

} // namespace Orv
