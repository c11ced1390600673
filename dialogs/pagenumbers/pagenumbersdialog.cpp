#include "dialogs/pagenumbers/pagenumbersdialog.h"

#include "dialogs/common/dialogbanner.h"
#include "dialogs/common/topicpages.h"
#include "ui/uiseam.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orv {

frmPageNumbers::frmPageNumbers(Ui &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("frmPageNumbers"));
    setWindowTitle(tr("页码"));
    auto *banner = new DialogBanner(tr("页码"), tr("向报表加入一个新页码"), this);

    m_cboStyle = new QComboBox(this);
    m_cboStyle->setObjectName(QStringLiteral("cboStyle"));
    m_cboStyle->addItems(PageNumbersModel::styles());
    m_cboStyle->setCurrentIndex(PageNumbersModel::DefaultStyle);
    m_cboLocation = new QComboBox(this);
    m_cboLocation->setObjectName(QStringLiteral("cboLocation"));
    m_cboLocation->addItems(PageNumbersModel::locations());
    m_cboLocation->setCurrentIndex(PageNumbersModel::DefaultLocation);
    connect(m_cboStyle, &QComboBox::currentIndexChanged, this, [this](int i) { m_model.setStyle(i); });
    connect(m_cboLocation, &QComboBox::currentIndexChanged, this, [this](int i) { m_model.setLocation(i); });

    auto *form = new QFormLayout;
    form->setContentsMargins(16, 12, 16, 4);
    auto *lblStyle = new QLabel(tr("样式"), this);
    lblStyle->setBuddy(m_cboStyle);
    auto *lblLocation = new QLabel(tr("定位:"), this);
    lblLocation->setBuddy(m_cboLocation);
    form->addRow(lblStyle, m_cboStyle);
    form->addRow(lblLocation, m_cboLocation);

    auto *buttons = new QDialogButtonBox(this);
    m_btnOK = buttons->addButton(tr("确定[&O]"), QDialogButtonBox::AcceptRole);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = buttons->addButton(tr("取消[&C]"), QDialogButtonBox::RejectRole);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_btnOK, &QPushButton::clicked, this, &frmPageNumbers::ok);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 10, 10);
    layout->addWidget(banner);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons);
    resize(360, 210);
}

void frmPageNumbers::SetReport(Report *rpt, DesignerCore *designer)
{
    m_model.SetReport(rpt, designer);
}

void frmPageNumbers::ok()
{
    if (m_model.report()) {
        // The dialog closes even when adding failed; what was added stays.
        if (const Status status = m_model.AddPageNumber(); !status.ok())
            m_ui.showError(status, tr("Error: AddPageNumber"));
    }
    accept();
}

} // namespace Orv
