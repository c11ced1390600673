#include "dialogs/reportproperties/reportpropertiesdialog.h"

#include "engine/model/report.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

namespace {

QLabel *errorLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    label->setPalette(pal);
    label->hide();
    return label;
}

void showError(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

} // namespace

frmReportProperties::frmReportProperties(PaperCatalogue papers, LengthUnit unit, QWidget *parent)
    : TopicDialog(parent), m_model(std::move(papers), unit)
{
    setObjectName(QStringLiteral("frmReportProperties"));
    setWindowTitle(tr("报表属性"));
    setBanner(tr("报表属性"), tr("填写报表设置项"));
    buildPages();

    QTreeWidgetItem *prt = addTopic(QStringLiteral("RS_PRT"), tr("打印选项"), nullptr, 0, true);
    addTopic(QStringLiteral("RP1"), tr("纸张大小"), prt, 0);
    addTopic(QStringLiteral("RP2"), tr("页边距"), prt, 1);
    addTopic(QStringLiteral("RP3"), tr("打印质量"), prt, 2);
    addTopic(QStringLiteral("RP4"), tr("纸张处理"), prt, 3);
    QTreeWidgetItem *rpt = addTopic(QStringLiteral("RS_RPT"), tr("报表选项"), nullptr, 4, true);
    addTopic(QStringLiteral("RP5"), tr("文档名称"), rpt, 4);
    addTopic(QStringLiteral("RP6"), tr("摘要"), rpt, 5);
    QTreeWidgetItem *sec = addTopic(QStringLiteral("RS_SEC"), tr("安全"), nullptr, 6, true);
    addTopic(QStringLiteral("RP8"), tr("组织"), sec, 6);
    addTopic(QStringLiteral("RP9"), tr("用户"), sec, 7);
    // The paper page first, so the dialog never opens on an empty pane.
    selectTopic(QStringLiteral("RP1"));

    connect(btnOK(), &QPushButton::clicked, this, &frmReportProperties::ok);
    resize(600, 400);
}

void frmReportProperties::buildPages()
{
    const QString unit = DialogUnits::unitName(m_model.unit());
    const auto lengthBox = [this](const QString &name) {
        auto *box = new QLineEdit(this);
        box->setObjectName(name);
        box->setMaximumWidth(90);
        return box;
    };

    // 0: paper.
    QVBoxLayout *page = addPage(tr("  纸张设置"));
    auto *grid = new QGridLayout;
    m_cboPaperSizes = new QComboBox(this);
    m_cboPaperSizes->setObjectName(QStringLiteral("cboPaperSizes"));
    m_cboPaperSizes->addItems(m_model.paperNames());
    m_cboPaperSizes->setMaxVisibleItems(20);
    m_txtPaperWidth = lengthBox(QStringLiteral("txtPaperWidth"));
    m_txtPaperHeight = lengthBox(QStringLiteral("txtPaperHeight"));
    grid->addWidget(new QLabel(tr("纸张大小:"), this), 0, 0);
    grid->addWidget(m_cboPaperSizes, 0, 1, 1, 2);
    grid->addWidget(new QLabel(tr("宽:"), this), 1, 0);
    grid->addWidget(m_txtPaperWidth, 1, 1);
    grid->addWidget(new QLabel(unit, this), 1, 2);
    grid->addWidget(new QLabel(tr("高:"), this), 2, 0);
    grid->addWidget(m_txtPaperHeight, 2, 1);
    grid->addWidget(new QLabel(unit, this), 2, 2);
    grid->setColumnStretch(3, 1);
    page->addLayout(grid);
    m_lblPaperNote = new QLabel(this);
    m_lblPaperNote->setObjectName(QStringLiteral("lblPaperNote"));
    m_lblPaperNote->setWordWrap(true);
    page->addWidget(m_lblPaperNote);
    const QString printer = m_model.papers().printerName();
    auto *lblPrinter = new QLabel(printer.isEmpty() ? tr("没有安装打印机，列出的是标准纸张大小。")
                                                    : tr("打印机 %1 的纸张大小。").arg(printer),
                                  this);
    lblPrinter->setObjectName(QStringLiteral("lblPrinter"));
    lblPrinter->setWordWrap(true);
    page->addWidget(lblPrinter);
    m_lblPaperError = errorLabel(this, QStringLiteral("lblPaperError"));
    page->addWidget(m_lblPaperError);
    page->addStretch(1);
    connect(m_cboPaperSizes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_loading || index < 0)
            return;
        m_model.setPaperIndex(index);
        showPaper();
    });
    connect(m_txtPaperWidth, &QLineEdit::textEdited, this, [this](const QString &t) { m_model.paperWidth().setText(t); });
    connect(m_txtPaperHeight, &QLineEdit::textEdited, this, [this](const QString &t) { m_model.paperHeight().setText(t); });

    // 1: margins.
    page = addPage(tr("  页边距设置"));
    grid = new QGridLayout;
    const QString names[ReportPropertiesModel::MarginCount] = {tr("左"), tr("右"), tr("上"), tr("下"), tr("行隔")};
    for (int i = 0; i < ReportPropertiesModel::MarginCount; ++i) {
        m_txtMargin[size_t(i)] = lengthBox(QStringLiteral("txtMargin%1").arg(i));
        m_txtMargin[size_t(i)]->setText(QStringLiteral("1"));
        grid->addWidget(new QLabel(names[i], this), i, 0);
        grid->addWidget(m_txtMargin[size_t(i)], i, 1);
        grid->addWidget(new QLabel(unit, this), i, 2);
        connect(m_txtMargin[size_t(i)], &QLineEdit::textEdited, this,
                [this, i](const QString &t) { m_model.margin(i).setText(t); });
    }
    grid->setColumnStretch(3, 1);
    page->addLayout(grid);
    m_chkMirrorMargins = new QCheckBox(tr("对称页边距"), this);
    m_chkMirrorMargins->setObjectName(QStringLiteral("chkMirrorMargins"));
    connect(m_chkMirrorMargins, &QCheckBox::toggled, this, [this](bool on) { m_model.setMirrorMargins(on); });
    page->addWidget(m_chkMirrorMargins);
    m_lblMarginError = errorLabel(this, QStringLiteral("lblMarginError"));
    page->addWidget(m_lblMarginError);
    page->addStretch(1);

    // 2: orientation.
    page = addPage(tr("  打印质量"));
    auto *group = new QButtonGroup(this);
    const QString orientations[3] = {tr("打印机默认"), tr("照片"), tr("景观")};
    for (int i = 0; i < 3; ++i) {
        m_optOrientation[size_t(i)] = new QRadioButton(orientations[i], this);
        m_optOrientation[size_t(i)]->setObjectName(QStringLiteral("optOrientation%1").arg(i));
        group->addButton(m_optOrientation[size_t(i)], i);
        page->addWidget(m_optOrientation[size_t(i)]);
    }
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            m_model.setOrientationIndex(id);
    });
    page->addStretch(1);

    // 3: paper handling. Bins, collation and duplex are chosen in the
    // print dialog for each printing, so these stay empty here.
    page = addPage(tr("  文件处理"));
    grid = new QGridLayout;
    const std::pair<const char *, QString> handling[] = {
        {"cboPaperBin", tr("纸本:")}, {"cboCollate", tr("整理:")}, {"cboDuplex", tr("全双工:")}};
    int row = 0;
    for (const auto &[name, label] : handling) {
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        box->setEnabled(false);
        box->setMinimumWidth(160);
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(box, row++, 1);
    }
    grid->setColumnStretch(2, 1);
    page->addLayout(grid);
    page->addStretch(1);

    // 4: document name.
    page = addPage(tr("  文档名称"));
    m_txtDocumentName = new QLineEdit(this);
    m_txtDocumentName->setObjectName(QStringLiteral("txtDocumentName"));
    connect(m_txtDocumentName, &QLineEdit::textEdited, this, [this](const QString &t) { m_model.setDocumentName(t); });
    page->addWidget(m_txtDocumentName);
    auto *note = new QLabel(tr("报告文件的名称将出现在打印机工作任务中"), this);
    note->setWordWrap(true);
    page->addWidget(note);
    page->addStretch(1);

    // 5: summary. A layout keeps no author or keywords, so the boxes are
    // shown but take nothing.
    page = addPage(tr("  概述"));
    grid = new QGridLayout;
    const std::pair<const char *, QString> summary[] = {{"txtAuthor", tr("作者: ")},
                                                        {"txtCompany", tr("公司:")},
                                                        {"txtDepartment", tr("部门:")},
                                                        {"txtCategory", tr("级别:")},
                                                        {"txtKeywords", tr("关键字:")}};
    row = 0;
    for (const auto &[name, label] : summary) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setEnabled(false);
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(box, row++, 1);
    }
    page->addLayout(grid);
    page->addStretch(1);

    // 6, 7: nothing to set.
    addPage(tr("  组织"))->addStretch(1);
    addPage(tr("  用户"))->addStretch(1);
}

void frmReportProperties::SetReport(Report *rpt, DesignerCore *designer)
{
    m_model.SetReport(rpt, designer);
    loadValues();
}

void frmReportProperties::loadValues()
{
    m_loading = true;
    m_cboPaperSizes->setCurrentIndex(m_model.paperIndex());
    m_loading = false;
    showPaper();
    for (int i = 0; i < ReportPropertiesModel::MarginCount; ++i)
        m_txtMargin[size_t(i)]->setText(m_model.margin(i).text());
    m_chkMirrorMargins->setChecked(m_model.mirrorMargins());
    const int o = m_model.orientationIndex();
    if (o >= 0)
        m_optOrientation[size_t(o)]->setChecked(true);
    m_txtDocumentName->setText(m_model.documentName());
}

void frmReportProperties::showPaper()
{
    m_txtPaperWidth->setText(m_model.paperWidth().text());
    m_txtPaperHeight->setText(m_model.paperHeight().text());
    m_txtPaperWidth->setEnabled(m_model.paperSizeEditable());
    m_txtPaperHeight->setEnabled(m_model.paperSizeEditable());
    m_lblPaperNote->setText(m_model.paperNote());
    m_lblPaperNote->setVisible(!m_model.paperNote().isEmpty());
    showError(m_lblPaperError, QString());
}

void frmReportProperties::ok()
{
    if (!m_model.report())
        return;
    showError(m_lblPaperError, QString());
    showError(m_lblMarginError, QString());
    const ReportPropertiesModel::Problem problem = m_model.save();
    if (problem.status.ok()) {
        accept();
        return;
    }
    // Said next to the box, which gets the focus; nothing has been written.
    using Box = ReportPropertiesModel::Box;
    const QString text = problem.status.description();
    QLineEdit *box = nullptr;
    if (problem.box == Box::Margin) {
        selectTopic(QStringLiteral("RP2"));
        showError(m_lblMarginError, text);
        box = m_txtMargin[size_t(std::max(0, problem.margin))];
    } else {
        selectTopic(QStringLiteral("RP1"));
        showError(m_lblPaperError, text);
        box = problem.box == Box::PaperHeight ? m_txtPaperHeight : m_txtPaperWidth;
    }
    box->setFocus();
    box->selectAll();
}

} // namespace Orv
