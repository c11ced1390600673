#include "dialogs/accessimport/frmaccesstoorv.h"

#include "dialogs/accessimport/accessimportmodel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace Orv {

namespace {

const QColor LightOff(128, 128, 128);
const QColor LightOn(128, 255, 128);

void paintLight(QLabel *light, const QColor &color)
{
    light->setStyleSheet(QStringLiteral("background:%1; border:1px solid #505050; border-radius:6px;").arg(color.name()));
}

QLabel *wrapped(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

frmAccessToOrv::frmAccessToOrv(AccessImportModel &model, QWidget *parent) : QDialog(parent), m_model(model)
{
    setObjectName(QStringLiteral("frmAccessToOrv"));
    setWindowTitle(tr("转换报表"));
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    auto *lblStepTitle = new QLabel(tr("Access报表导入系统 2.0"), this);
    lblStepTitle->setObjectName(QStringLiteral("lblStepTitle"));
    QFont big = lblStepTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblStepTitle->setFont(big);
    outer->addWidget(lblStepTitle);

    auto *middle = new QHBoxLayout;
    outer->addLayout(middle, 1);
    // The step rail: a light and a name per page.
    auto *rail = new QGridLayout;
    rail->setVerticalSpacing(10);
    const char *names[] = {QT_TR_NOOP("开始"), QT_TR_NOOP("数据库"), QT_TR_NOOP("报表"),
                           QT_TR_NOOP("选项"), QT_TR_NOOP("转换"), QT_TR_NOOP("完成")};
    for (int i = 0; i < 6; ++i) {
        m_shpStepLight[i] = new QLabel(this);
        m_shpStepLight[i]->setObjectName(QStringLiteral("shpStepLight%1").arg(i));
        m_shpStepLight[i]->setFixedSize(12, 12);
        paintLight(m_shpStepLight[i], LightOff);
        m_lblStep[i] = new QLabel(tr(names[i]), this);
        m_lblStep[i]->setObjectName(QStringLiteral("lblStep%1").arg(i));
        rail->addWidget(m_shpStepLight[i], i, 0);
        rail->addWidget(m_lblStep[i], i, 1);
    }
    rail->setRowStretch(6, 1);
    rail->setColumnMinimumWidth(1, 70);
    middle->addLayout(rail);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("picSteps"));
    for (int i = 0; i < 6; ++i)
        m_pages->addWidget(buildPage(i));
    middle->addWidget(m_pages, 1);

    auto *picButtons = new QHBoxLayout;
    picButtons->addStretch();
    m_btnBack = new QPushButton(tr("< 后退[&B]"), this);
    m_btnBack->setObjectName(QStringLiteral("btnBack"));
    m_btnNext = new QPushButton(tr("前进 >[&F]"), this);
    m_btnNext->setObjectName(QStringLiteral("btnNext"));
    m_btnNext->setDefault(true);
    m_btnFinish = new QPushButton(tr("完成[&E]"), this);
    m_btnFinish->setObjectName(QStringLiteral("btnFinish"));
    m_btnCancel = new QPushButton(tr("取消[&C]"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *b : {m_btnBack, m_btnNext, m_btnFinish, m_btnCancel}) {
        b->setAutoDefault(false);
        picButtons->addWidget(b);
    }
    outer->addLayout(picButtons);

    connect(m_btnNext, &QPushButton::clicked, this, &frmAccessToOrv::next);
    connect(m_btnBack, &QPushButton::clicked, this, [this] { m_model.goBack(); });
    connect(m_btnFinish, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &frmAccessToOrv::cancelPressed);

    connect(&m_model, &AccessImportModel::pageChanged, this, &frmAccessToOrv::showPage);
    connect(&m_model, &AccessImportModel::stateChanged, this, &frmAccessToOrv::updateState);
    connect(&m_model, &AccessImportModel::entriesChanged, this, &frmAccessToOrv::fillReports);
    connect(&m_model, &AccessImportModel::checksChanged, this, &frmAccessToOrv::showChecks);
    connect(&m_model, &AccessImportModel::statusCleared, m_lstStatus, &QListWidget::clear);
    connect(&m_model, &AccessImportModel::statusLineAdded, this, [this](const QString &line) {
        m_lstStatus->addItem(line);
        m_lstStatus->scrollToBottom();
    });
    connect(&m_model, &AccessImportModel::conversionFinished, this, [this] {
        if (m_closeWhenStopped)
            QDialog::reject();
    });

    showPage(m_model.currentPage());
    updateState();
    resize(720, 480);
}

QWidget *frmAccessToOrv::picStep(int page) const
{
    return m_pages->widget(page);
}

QWidget *frmAccessToOrv::buildPage(int page)
{
    auto *pic = new QWidget(this);
    pic->setObjectName(QStringLiteral("picStep%1").arg(page));
    auto *v = new QVBoxLayout(pic);
    v->setContentsMargins(12, 0, 0, 0);
    switch (page) {
    case AccessImportModel::StartPage: {
        auto *label1 = wrapped(tr("This wizard assists you in converting your Microsoft Access 2000 Reports to OrvReport format.  "
                                  "The converted files can be loaded into OrvReport designer for further modifications."),
                               pic);
        label1->setObjectName(QStringLiteral("Label1"));
        v->addWidget(label1);
        v->addSpacing(12);
        v->addWidget(new QLabel(tr("Press the Next button to start."), pic));
        break;
    }
    case AccessImportModel::DatabasePage: {
        v->addWidget(new QLabel(tr("Reports Database"), pic));
        auto *row = new QHBoxLayout;
        m_txtDatabase = new QLineEdit(pic);
        m_txtDatabase->setObjectName(QStringLiteral("txtDatabase"));
        auto *btnOpen = new QPushButton(tr("..."), pic);
        btnOpen->setObjectName(QStringLiteral("btnOpen"));
        btnOpen->setAutoDefault(false);
        row->addWidget(m_txtDatabase, 1);
        row->addWidget(btnOpen);
        v->addLayout(row);
        v->addSpacing(8);
        v->addWidget(new QLabel(tr("报表导出文件所在的文件夹"), pic));
        auto *row2 = new QHBoxLayout;
        m_txtExportsFolder = new QLineEdit(pic);
        m_txtExportsFolder->setObjectName(QStringLiteral("txtExportsFolder"));
        auto *btnBrowseExports = new QPushButton(tr("..."), pic);
        btnBrowseExports->setObjectName(QStringLiteral("btnBrowseExports"));
        btnBrowseExports->setAutoDefault(false);
        row2->addWidget(m_txtExportsFolder, 1);
        row2->addWidget(btnBrowseExports);
        v->addLayout(row2);
        m_lblExportCount = wrapped(QString(), pic);
        m_lblExportCount->setObjectName(QStringLiteral("lblExportCount"));
        v->addWidget(m_lblExportCount);
        v->addSpacing(8);
        auto *help = wrapped(
            tr("这里不运行Access，每个报表的设计从Access为它生成的文本导出文件中读取。"
               "在Access的立即窗口中用下面的语句导出一个报表:\n"
               "    SaveAsText acReport, \"Invoice\", \"C:\\Exports\\Invoice.txt\"\n"
               "或者用一个模块对 CurrentProject.AllReports 中的每个报表调用 SaveAsText，全部导出。"
               "把这些文件放在此文件夹中(留空时为数据库旁边与数据库同名的文件夹)。"),
            pic);
        help->setObjectName(QStringLiteral("lblExportsHelp"));
        help->setTextInteractionFlags(Qt::TextSelectableByMouse);
        v->addWidget(help);

        m_noteTimer = new QTimer(this);
        m_noteTimer->setSingleShot(true);
        m_noteTimer->setInterval(400);
        connect(m_noteTimer, &QTimer::timeout, this, &frmAccessToOrv::refreshExportsNote);
        connect(m_txtDatabase, &QLineEdit::textChanged, this, [this](const QString &text) {
            m_model.setDatabaseText(text);
            m_txtExportsFolder->setPlaceholderText(m_model.defaultExportsFolder());
            m_noteTimer->start();
        });
        connect(m_txtExportsFolder, &QLineEdit::textChanged, this, [this](const QString &text) {
            m_model.setExportsFolder(text);
            m_noteTimer->start();
        });
        connect(btnOpen, &QPushButton::clicked, this, [this] {
            m_model.browseDatabase();
            m_txtDatabase->setText(m_model.databaseText());
        });
        connect(btnBrowseExports, &QPushButton::clicked, this, [this] {
            m_model.browseExportsFolder();
            m_txtExportsFolder->setText(m_model.exportsFolder());
        });
        break;
    }
    case AccessImportModel::ReportsPage: {
        v->addWidget(new QLabel(tr("Select the reports that you want to convert"), pic));
        m_lstReports = new QListWidget(pic);
        m_lstReports->setObjectName(QStringLiteral("lstReports"));
        v->addWidget(m_lstReports, 1);
        v->addWidget(wrapped(tr("选中的报表会转换到设计器中；要把勾选的报表全部转换为布局文件，"
                                "请在下一页勾选“将勾选的报表全部转换为报表路径中的布局文件”。"),
                             pic));
        connect(m_lstReports, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
            if (m_filling)
                return;
            const int row = m_lstReports->row(item);
            const int current = m_lstReports->currentRow();
            m_model.setChecked(row, item->checkState() == Qt::Checked);
            m_lstReports->setCurrentRow(current);
        });
        connect(m_lstReports, &QListWidget::currentRowChanged, this, [this](int row) {
            if (!m_filling)
                m_model.setCurrentEntry(row);
        });
        break;
    }
    case AccessImportModel::OptionsPage: {
        auto *grid = new QGridLayout;
        grid->addWidget(new QLabel(tr("Reports Path"), pic), 0, 0);
        m_txtReportsPath = new QLineEdit(pic);
        m_txtReportsPath->setObjectName(QStringLiteral("txtReportsPath"));
        auto *btnBrowseReportPath = new QPushButton(tr("..."), pic);
        btnBrowseReportPath->setObjectName(QStringLiteral("btnBrowseReportPath"));
        btnBrowseReportPath->setAutoDefault(false);
        auto *pathRow = new QHBoxLayout;
        pathRow->addWidget(m_txtReportsPath, 1);
        pathRow->addWidget(btnBrowseReportPath);
        grid->addLayout(pathRow, 0, 1);
        m_label2 = new QLabel(tr("Report Path is Not used in Tesserane Reports"), pic);
        m_label2->setObjectName(QStringLiteral("Label2"));
        grid->addWidget(m_label2, 1, 1);
        grid->addWidget(new QLabel(tr("Fonts Charset"), pic), 2, 0);
        m_cmbCharset = new QComboBox(pic);
        m_cmbCharset->setObjectName(QStringLiteral("cmbCharset"));
        for (const AccessImportModel::Charset &c : AccessImportModel::charsets())
            m_cmbCharset->addItem(QCoreApplication::translate("AccessImportModel", c.name), c.value);
        m_cmbCharset->setCurrentIndex(m_model.charsetIndex());
        grid->addWidget(m_cmbCharset, 2, 1, Qt::AlignLeft);
        v->addLayout(grid);
        const CAccessImportSettings &o = m_model.options();
        const auto box = [&](const char *name, const QString &text, bool on) {
            auto *c = new QCheckBox(text, pic);
            c->setObjectName(QLatin1StringView(name));
            c->setChecked(on);
            v->addWidget(c);
            connect(c, &QCheckBox::toggled, this, &frmAccessToOrv::readOptions);
            return c;
        };
        m_chkCommentModuleText = box("chkCommentModuleText", tr("Comment Module Text"), o.mbCommentModule);
        m_chkStripSrcCode = box("chkStripSrcCode", tr("Strip sourcecode (typedecls, handler prefixes)"), o.mbStripSrcCode);
        m_chkUseADOInsteadDAO = box("chkUseADOInsteadDAO", tr("Use ADO for Data Control instead of DAO"), o.mbUseADOInsteadDAO);
        m_chkConvertChartCtls = box("chkConvertChartCtls", tr("Convert MSGraph Chart Controls"), o.mbConvertChartCtls);
        m_cbSaveAsBinary = box("cbSaveAsBinary", tr("Save to Binary Format"), m_model.saveAsBinary());
        m_chkConvertAll = box("chkConvertAll", tr("将勾选的报表全部转换为报表路径中的布局文件"),
                              m_model.convertAll());
        v->addSpacing(8);
        v->addWidget(new QLabel(tr("Press the Next button to start converting selected reports."), pic));
        connect(m_cmbCharset, &QComboBox::currentIndexChanged, this, [this](int i) { m_model.setCharsetIndex(i); });
        connect(m_txtReportsPath, &QLineEdit::textEdited, this, [this](const QString &t) { m_model.setReportsPath(t); });
        connect(btnBrowseReportPath, &QPushButton::clicked, this, [this] {
            m_model.browseReportsPath();
            m_txtReportsPath->setText(m_model.reportsPath());
        });
        break;
    }
    case AccessImportModel::ConvertingPage:
        v->addWidget(new QLabel(tr("Converting Reports"), pic));
        m_lstStatus = new QListWidget(pic);
        m_lstStatus->setObjectName(QStringLiteral("lstStatus"));
        m_lstStatus->setUniformItemSizes(true);
        v->addWidget(m_lstStatus, 1);
        break;
    case AccessImportModel::FinishedPage:
        m_txtSummary = new QPlainTextEdit(pic);
        m_txtSummary->setObjectName(QStringLiteral("txtSummary"));
        m_txtSummary->setReadOnly(true);
        m_txtSummary->setLineWrapMode(QPlainTextEdit::NoWrap);
        v->addWidget(m_txtSummary, 1);
        break;
    default:
        break;
    }
    m_lblMessage[page] = wrapped(QString(), pic);
    m_lblMessage[page]->setObjectName(QStringLiteral("lblMessage%1").arg(page));
    m_lblMessage[page]->setStyleSheet(QStringLiteral("color:#b00000;"));
    if (page != AccessImportModel::ReportsPage && page != AccessImportModel::ConvertingPage
        && page != AccessImportModel::FinishedPage)
        v->addStretch(1);
    v->addWidget(m_lblMessage[page]);
    return pic;
}

QString frmAccessToOrv::pageMessage() const
{
    const int page = m_model.currentPage();
    return page >= 0 && page < 6 ? m_lblMessage[page]->text() : QString();
}

void frmAccessToOrv::refreshExportsNote()
{
    if (m_noteTimer)
        m_noteTimer->stop();
    m_lblExportCount->setText(m_model.exportsNote());
}

void frmAccessToOrv::showPage(int page)
{
    for (int i = 0; i < 6; ++i) {
        const bool shown = i == page;
        picStep(i)->setEnabled(shown);
        if (i != AccessImportModel::FinishedPage) {
            paintLight(m_shpStepLight[i], shown ? LightOn : LightOff);
            QFont f = m_lblStep[i]->font();
            f.setBold(shown);
            m_lblStep[i]->setFont(f);
        }
    }
    m_pages->setCurrentIndex(page);
    switch (page) {
    case AccessImportModel::DatabasePage:
        m_txtDatabase->setFocus();
        break;
    case AccessImportModel::ReportsPage:
        m_lstReports->setFocus();
        break;
    case AccessImportModel::OptionsPage:
        m_txtReportsPath->setText(m_model.reportsPath());
        m_cmbCharset->setFocus();
        break;
    case AccessImportModel::FinishedPage:
        m_txtSummary->setPlainText(QString(m_model.summary()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        m_btnFinish->setFocus();
        break;
    default:
        break;
    }
}

void frmAccessToOrv::updateState()
{
    m_btnBack->setEnabled(m_model.backEnabled());
    m_btnNext->setEnabled(m_model.nextEnabled());
    m_btnFinish->setEnabled(m_model.finishEnabled());
    m_btnCancel->setEnabled(m_model.cancelEnabled());
    const int page = m_model.currentPage();
    if (page >= 0 && page < 6)
        m_lblMessage[page]->setText(m_model.pageMessage());
    // The reports path is where the layouts go when converting them all.
    m_label2->setText(m_model.convertAll() ? tr("布局文件写入此文件夹。")
                                           : tr("Report Path is Not used in Tesserane Reports"));
}

void frmAccessToOrv::fillReports()
{
    m_filling = true;
    const auto &entries = m_model.entries();
    m_lstReports->clear();
    for (int i = 0; i < entries.size(); ++i) {
        const AccessImportModel::Entry &e = entries[i];
        auto *item = new QListWidgetItem(e.hasExport ? e.name : tr("%1 (无导出文件)").arg(e.name), m_lstReports);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(e.checked ? Qt::Checked : Qt::Unchecked);
        if (!e.hasExport)
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    m_lstReports->setCurrentRow(m_model.currentEntry());
    m_filling = false;
}

void frmAccessToOrv::showChecks()
{
    // The items stay: one of them may be the item whose change is being
    // handled.
    m_filling = true;
    const auto &entries = m_model.entries();
    for (int i = 0; i < entries.size() && i < m_lstReports->count(); ++i)
        m_lstReports->item(i)->setCheckState(entries[i].checked ? Qt::Checked : Qt::Unchecked);
    m_filling = false;
}

void frmAccessToOrv::readOptions()
{
    CAccessImportSettings &o = m_model.options();
    o.mbCommentModule = m_chkCommentModuleText->isChecked();
    o.mbStripSrcCode = m_chkStripSrcCode->isChecked();
    o.mbUseADOInsteadDAO = m_chkUseADOInsteadDAO->isChecked();
    o.mbConvertChartCtls = m_chkConvertChartCtls->isChecked();
    m_model.setSaveAsBinary(m_cbSaveAsBinary->isChecked());
    if (m_chkConvertAll->isChecked() != m_model.convertAll()) {
        m_model.setConvertAll(m_chkConvertAll->isChecked());
        m_txtReportsPath->setText(m_model.reportsPath());
    }
    updateState();
}

void frmAccessToOrv::next()
{
    if (m_model.currentPage() == AccessImportModel::DatabasePage)
        m_model.setDatabaseText(m_txtDatabase->text());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model.goNext();
    QApplication::restoreOverrideCursor();
}

void frmAccessToOrv::cancelPressed()
{
    // While converting, Cancel stops after the report being converted and
    // the summary shows what was done.
    if (m_model.cancel())
        QDialog::reject();
}

void frmAccessToOrv::reject()
{
    if (m_model.cancel()) {
        QDialog::reject();
        return;
    }
    m_closeWhenStopped = true;
}

void frmAccessToOrv::closeEvent(QCloseEvent *event)
{
    if (!m_model.cancel()) {
        m_closeWhenStopped = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace Orv
