#include "dialogs/reportwizard/reportwizard.h"

#include "dialogs/reportwizard/applylayout.h"
#include "engine/model/report.h"
#include "ui/recordingui.h"
#include "ui/uiseam.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>

namespace Orv {

namespace {

QLabel *wrapped(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QPixmap light(const QColor &color)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(color);
    p.drawEllipse(QRectF(1, 1, 10, 10));
    return pixmap;
}

void fillList(QListWidget *list, const Wizard::ChoiceList &choices)
{
    list->clear();
    list->addItems(choices.items);
    list->setCurrentRow(choices.current);
}

void fillCombo(QComboBox *combo, const Wizard::ChoiceList &choices)
{
    combo->clear();
    combo->addItems(choices.items);
    combo->setCurrentIndex(choices.current);
}

} // namespace

frmReportWizard::frmReportWizard(Ui &ui, SortMemory *sortMemory, QWidget *parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_flow(&ui, sortMemory)
    , m_prompt(dialogConnectionPrompt(ui, this))
{
    setObjectName(QStringLiteral("frmReportWizard"));
    m_flow.setOpener([this](Wizard::CDataSource &ds) { return openDataSource(ds); });
    m_flow.setRelateTables([this](Wizard::Report &model) { relateTables(model); });
    build();
    m_flow.showPage(0);
    refresh();
}

frmReportWizard::~frmReportWizard() = default;

void frmReportWizard::SetReport(Orv::Report *report)
{
    m_flow.SetReport(report);
}

void frmReportWizard::build()
{
    setWindowTitle(tr("向导"));
    auto *outer = new QVBoxLayout(this);
    auto *body = new QHBoxLayout;
    outer->addLayout(body, 1);

    // The steps on the left, each with its light.
    auto *steps = new QFrame;
    steps->setFrameShape(QFrame::StyledPanel);
    steps->setMinimumWidth(120);
    auto *stepLayout = new QGridLayout(steps);
    const QStringList captions = {tr("开始"), tr("数据库"), tr("字段"), tr("分组"),
                                  tr("排序"), tr("样式"), tr("标题"), tr("摘要")};
    for (int i = 0; i < WizardFlow::PageCount; ++i) {
        m_shpStepLight[size_t(i)] = new QLabel;
        m_shpStepLight[size_t(i)]->setObjectName(QStringLiteral("shpStepLight%1").arg(i));
        m_lblStep[size_t(i)] = new QLabel(captions[i]);
        m_lblStep[size_t(i)]->setObjectName(QStringLiteral("lblStep%1").arg(i));
        stepLayout->addWidget(m_shpStepLight[size_t(i)], i, 0);
        stepLayout->addWidget(m_lblStep[size_t(i)], i, 1);
    }
    stepLayout->setRowStretch(WizardFlow::PageCount, 1);
    stepLayout->setColumnStretch(1, 1);
    body->addWidget(steps);

    m_fraStep = new QStackedWidget;
    m_fraStep->addWidget(buildIntro());
    m_fraStep->addWidget(buildDatabase());
    m_fraStep->addWidget(buildFields());
    m_fraStep->addWidget(buildGroups());
    m_fraStep->addWidget(buildSort());
    m_fraStep->addWidget(buildStyle());
    m_fraStep->addWidget(buildTitle());
    m_fraStep->addWidget(buildSummary());
    for (int i = 0; i < m_fraStep->count(); ++i)
        m_fraStep->widget(i)->setObjectName(QStringLiteral("fraStep%1").arg(i));
    body->addWidget(m_fraStep, 1);

    auto *line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    outer->addWidget(line);
    auto *buttons = new QHBoxLayout;
    m_lblBusy = new QLabel;
    m_lblBusy->setObjectName(QStringLiteral("lblBusy"));
    buttons->addWidget(m_lblBusy, 1);
    m_btnBack = new QPushButton(tr("< 上一步[&B]"));
    m_btnNext = new QPushButton(tr("下一步[&N] >"));
    m_btnFinish = new QPushButton(tr("完成[&E]"));
    m_btnCancel = new QPushButton(tr("取消[&C]"));
    m_btnBack->setObjectName(QStringLiteral("btnBack"));
    m_btnNext->setObjectName(QStringLiteral("btnNext"));
    m_btnFinish->setObjectName(QStringLiteral("btnFinish"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *b : {m_btnBack, m_btnNext, m_btnFinish, m_btnCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    m_btnNext->setDefault(true);
    outer->addLayout(buttons);

    connect(m_btnBack, &QPushButton::clicked, this, &frmReportWizard::back);
    connect(m_btnNext, &QPushButton::clicked, this, &frmReportWizard::next);
    connect(m_btnFinish, &QPushButton::clicked, this, &frmReportWizard::finish);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(720, 480);
}

QWidget *frmReportWizard::buildIntro()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *heading = new QLabel(tr("自定义报表向导"));
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addSpacing(12);
    layout->addWidget(wrapped(tr("本向导将根据您的每一步设置的参数，最后生成一个新的报表。")));
    layout->addStretch(1);
    return page;
}

QWidget *frmReportWizard::buildDatabase()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("数据库连接字符串:")));
    auto *row = new QHBoxLayout;
    m_txtConnectString = new QLineEdit;
    m_txtConnectString->setObjectName(QStringLiteral("txtConnectString"));
    m_btnOpenDB = new QPushButton(tr("连接向导"));
    m_btnOpenDB->setObjectName(QStringLiteral("btnOpenDB"));
    m_btnOpenDB->setAutoDefault(false);
    row->addWidget(m_txtConnectString, 1);
    row->addWidget(m_btnOpenDB);
    layout->addLayout(row);
    layout->addWidget(wrapped(tr("输入ADO连接字符串，用以连接您所需要的数据源。或者点击右边【连接向导】按钮，使用数据源连接向导。")));
    layout->addStretch(1);
    connect(m_txtConnectString, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_updating)
            m_flow.connectString = text;
    });
    connect(m_btnOpenDB, &QPushButton::clicked, this, &frmReportWizard::openConnectionWizard);
    return page;
}

QWidget *frmReportWizard::buildFields()
{
    auto *page = new QWidget;
    auto *layout = new QGridLayout(page);
    layout->addWidget(wrapped(tr("你的报表需要显示哪些字段，您可以从一个以上的表或查询选择产生。")), 0, 0, 1, 3);
    m_cboTables = new QComboBox;
    m_cboTables->setObjectName(QStringLiteral("cboTables"));
    m_chkShowSystem = new QCheckBox(tr("显示系统表"));
    m_chkShowSystem->setObjectName(QStringLiteral("chkShowSystem"));
    layout->addWidget(m_cboTables, 1, 0);
    layout->addWidget(m_chkShowSystem, 1, 2);
    m_lstFields = new QListWidget;
    m_lstFields->setObjectName(QStringLiteral("lstFields"));
    m_lstSelFields = new QListWidget;
    m_lstSelFields->setObjectName(QStringLiteral("lstSelFields"));
    layout->addWidget(m_lstFields, 2, 0);
    auto *moves = new QVBoxLayout;
    moves->addStretch(1);
    const QStringList texts = {QStringLiteral(">"), QStringLiteral(">>"), QStringLiteral("<"), QStringLiteral("<<")};
    for (int i = 0; i < 4; ++i) {
        m_btnFldMove[size_t(i)] = new QPushButton(texts[i]);
        m_btnFldMove[size_t(i)]->setObjectName(QStringLiteral("btnFldMove%1").arg(i));
        m_btnFldMove[size_t(i)]->setAutoDefault(false);
        m_btnFldMove[size_t(i)]->setFixedWidth(48);
        moves->addWidget(m_btnFldMove[size_t(i)]);
        connect(m_btnFldMove[size_t(i)], &QPushButton::clicked, this, [this, i] {
            m_flow.moveFields(i);
            refresh();
            if (i < 2)
                m_lstFields->setFocus();
        });
    }
    moves->addStretch(1);
    layout->addLayout(moves, 2, 1);
    layout->addWidget(m_lstSelFields, 2, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);

    connect(m_cboTables, &QComboBox::activated, this, [this](int index) {
        m_flow.chooseTable(index);
        refresh();
    });
    connect(m_chkShowSystem, &QCheckBox::toggled, this, [this](bool on) {
        if (m_updating)
            return;
        m_flow.setShowSystem(on);
        refresh();
    });
    connect(m_lstFields, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updating)
            m_flow.fields.current = row;
    });
    connect(m_lstSelFields, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updating)
            m_flow.selFields.current = row;
    });
    connect(m_lstFields, &QListWidget::itemDoubleClicked, this, [this] { m_btnFldMove[0]->click(); });
    connect(m_lstSelFields, &QListWidget::itemDoubleClicked, this, [this] { m_btnFldMove[2]->click(); });
    return page;
}

QWidget *frmReportWizard::buildGroups()
{
    auto *page = new QWidget;
    auto *layout = new QGridLayout(page);
    layout->addWidget(wrapped(tr("是否需要增加汇总统计字段？")), 0, 0, 1, 4);
    m_lstAvlGrpFields = new QListWidget;
    m_lstAvlGrpFields->setObjectName(QStringLiteral("lstAvlGrpFields"));
    layout->addWidget(m_lstAvlGrpFields, 1, 0, 2, 1);
    auto *moves = new QVBoxLayout;
    moves->addStretch(1);
    for (int i = 0; i < 2; ++i) {
        m_btnGrpFldMove[size_t(i)] = new QPushButton(i == 0 ? QStringLiteral(">") : QStringLiteral("<"));
        m_btnGrpFldMove[size_t(i)]->setObjectName(QStringLiteral("btnGrpFldMove%1").arg(i));
        m_btnGrpFldMove[size_t(i)]->setAutoDefault(false);
        m_btnGrpFldMove[size_t(i)]->setFixedWidth(48);
        moves->addWidget(m_btnGrpFldMove[size_t(i)]);
    }
    moves->addStretch(1);
    layout->addLayout(moves, 1, 1, 2, 1);

    auto *levels = new QFrame;
    levels->setFrameShape(QFrame::StyledPanel);
    levels->setBackgroundRole(QPalette::Base);
    levels->setAutoFillBackground(true);
    auto *levelLayout = new QVBoxLayout(levels);
    for (int i = 0; i < WizardFlow::GroupSlots; ++i) {
        auto *slot = new QLabel;
        slot->setObjectName(QStringLiteral("lblGrpField%1").arg(i));
        slot->setContentsMargins(12 * i, 2, 2, 2);
        slot->installEventFilter(this);
        slot->setCursor(Qt::PointingHandCursor);
        m_lblGrpField[size_t(i)] = slot;
        levelLayout->addWidget(slot);
    }
    m_txtRptFields = new QPlainTextEdit;
    m_txtRptFields->setObjectName(QStringLiteral("txtRptFields"));
    m_txtRptFields->setReadOnly(true);
    levelLayout->addWidget(m_txtRptFields, 1);
    layout->addWidget(levels, 1, 2, 2, 1);

    auto *side = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        m_btnGrpPriority[size_t(i)] = new QPushButton(style()->standardIcon(i == 0 ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown),
                                                      tr("优先"));
        m_btnGrpPriority[size_t(i)]->setObjectName(QStringLiteral("btnGrpPriority%1").arg(i));
        m_btnGrpPriority[size_t(i)]->setAutoDefault(false);
        side->addWidget(m_btnGrpPriority[size_t(i)]);
    }
    side->addStretch(1);
    m_btnGrpOptions = new QPushButton(tr("分组选项..."));
    m_btnGrpOptions->setObjectName(QStringLiteral("btnGrpOptions"));
    m_btnGrpOptions->setAutoDefault(false);
    side->addWidget(m_btnGrpOptions);
    layout->addLayout(side, 1, 3, 2, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(2, 4);
    layout->setRowStretch(1, 1);

    connect(m_lstAvlGrpFields, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updating)
            m_flow.availableGroupFields.current = row;
    });
    connect(m_lstAvlGrpFields, &QListWidget::itemDoubleClicked, this, [this] { m_btnGrpFldMove[0]->click(); });
    connect(m_btnGrpFldMove[0], &QPushButton::clicked, this, [this] {
        m_flow.addGroupLevel();
        refresh();
    });
    connect(m_btnGrpFldMove[1], &QPushButton::clicked, this, [this] {
        m_flow.removeGroupLevel();
        refresh();
    });
    connect(m_btnGrpPriority[0], &QPushButton::clicked, this, [this] {
        m_flow.moveSlot(true);
        refresh();
    });
    connect(m_btnGrpPriority[1], &QPushButton::clicked, this, [this] {
        m_flow.moveSlot(false);
        refresh();
    });
    connect(m_btnGrpOptions, &QPushButton::clicked, this, &frmReportWizard::showGroupOptions);
    return page;
}

QWidget *frmReportWizard::buildSort()
{
    auto *page = new QWidget;
    auto *layout = new QGridLayout(page);
    layout->addWidget(wrapped(tr("您可以分类信息最多4个字段，进行升序或降序排列。")), 0, 0, 1, 4);
    for (int i = 0; i < WizardFlow::SortLevels; ++i) {
        auto *number = new QLabel(QString::number(i + 1));
        m_cboSortFields[size_t(i)] = new QComboBox;
        m_cboSortFields[size_t(i)]->setObjectName(QStringLiteral("cboSortFields%1").arg(i));
        m_cboSortFields[size_t(i)]->setMinimumWidth(260);
        m_optAsc[size_t(i)] = new QRadioButton(tr("升序"));
        m_optAsc[size_t(i)]->setObjectName(QStringLiteral("optAsc%1").arg(i));
        m_optDesc[size_t(i)] = new QRadioButton(tr("降序"));
        m_optDesc[size_t(i)]->setObjectName(QStringLiteral("optDesc%1").arg(i));
        auto *group = new QButtonGroup(page);
        group->addButton(m_optAsc[size_t(i)]);
        group->addButton(m_optDesc[size_t(i)]);
        layout->addWidget(number, i + 1, 0);
        layout->addWidget(m_cboSortFields[size_t(i)], i + 1, 1);
        layout->addWidget(m_optAsc[size_t(i)], i + 1, 2);
        layout->addWidget(m_optDesc[size_t(i)], i + 1, 3);
        connect(m_cboSortFields[size_t(i)], &QComboBox::activated, this, [this, i](int position) {
            m_flow.chooseSort(i, position);
            refresh();
        });
        connect(m_optAsc[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!m_updating)
                m_flow.setSortAscending(i, on);
        });
    }
    layout->addWidget(wrapped(tr("对于您的详细记录，您可以选择参与排序或汇总的字段。")), WizardFlow::SortLevels + 1, 0, 1, 4);
    layout->setRowStretch(WizardFlow::SortLevels + 2, 1);
    layout->setColumnStretch(1, 1);
    return page;
}

QWidget *frmReportWizard::buildStyle()
{
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    auto *options = new QVBoxLayout;
    const QStringList names = {tr("&Bold"), tr("&Casual"), tr("C&ompact"), tr("Co&rporate"), tr("&Formal"), tr("&Soft Gray")};
    auto *group = new QButtonGroup(page);
    for (int i = 0; i < 6; ++i) {
        m_optStyle[size_t(i)] = new QRadioButton(names[i]);
        m_optStyle[size_t(i)]->setObjectName(QStringLiteral("optStyle%1").arg(i));
        group->addButton(m_optStyle[size_t(i)], i);
        options->addWidget(m_optStyle[size_t(i)]);
    }
    options->addStretch(1);
    layout->addLayout(options);
    m_picStyle = new QLabel;
    m_picStyle->setObjectName(QStringLiteral("picStyle"));
    m_picStyle->setFrameShape(QFrame::StyledPanel);
    m_picStyle->setFixedSize(380, 300);
    layout->addWidget(m_picStyle, 1, Qt::AlignTop);
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on || m_updating)
            return;
        m_flow.style = id;
        refresh();
    });
    return page;
}

QWidget *frmReportWizard::buildTitle()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("请输入报表标题名称")));
    m_txtReportTitle = new QLineEdit;
    m_txtReportTitle->setObjectName(QStringLiteral("txtReportTitle"));
    layout->addWidget(m_txtReportTitle);
    layout->addStretch(1);
    connect(m_txtReportTitle, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_updating)
            m_flow.titleEdited(text);
    });
    return page;
}

QWidget *frmReportWizard::buildSummary()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("报表摘要")));
    layout->addWidget(wrapped(tr("向导收集到了您所要创建报表的所有参数信息，我们将根据这些参数来生成您所要的报表。当然您也可以在生成报表后，用本系统打开并修改该报表。")));
    m_txtRptSummary = new QPlainTextEdit;
    m_txtRptSummary->setObjectName(QStringLiteral("txtRptSummary"));
    m_txtRptSummary->setReadOnly(true);
    m_txtRptSummary->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_txtRptSummary, 1);
    return page;
}

void frmReportWizard::refresh()
{
    m_updating = true;
    const int page = m_flow.page();
    m_fraStep->setCurrentIndex(qMax(0, page));
    for (int i = 0; i < WizardFlow::PageCount; ++i) {
        m_shpStepLight[size_t(i)]->setPixmap(light(i == page ? QColor(0x80, 0xFF, 0x80) : QColor(128, 128, 128)));
        QFont font = m_lblStep[size_t(i)]->font();
        font.setBold(i == page);
        m_lblStep[size_t(i)]->setFont(font);
    }
    m_btnBack->setEnabled(m_flow.backEnabled());
    m_btnNext->setEnabled(m_flow.nextEnabled());
    m_btnFinish->setEnabled(m_flow.finishEnabled());

    if (m_txtConnectString->text() != m_flow.connectString)
        m_txtConnectString->setText(m_flow.connectString);

    fillCombo(m_cboTables, m_flow.tables);
    m_chkShowSystem->setChecked(m_flow.showSystem);
    fillList(m_lstFields, m_flow.fields);
    fillList(m_lstSelFields, m_flow.selFields);

    fillList(m_lstAvlGrpFields, m_flow.availableGroupFields);
    for (int i = 0; i < WizardFlow::GroupSlots; ++i) {
        QLabel *slot = m_lblGrpField[size_t(i)];
        slot->setText(m_flow.slots[size_t(i)].caption);
        slot->setVisible(m_flow.slots[size_t(i)].visible);
        QFont font = slot->font();
        font.setBold(i == m_flow.selectedSlot);
        slot->setFont(font);
    }
    m_btnGrpPriority[0]->setEnabled(m_flow.canMoveSlotUp());
    m_btnGrpPriority[1]->setEnabled(m_flow.canMoveSlotDown());
    m_btnGrpFldMove[0]->setEnabled(m_flow.usedSlots < WizardFlow::GroupSlots);
    m_btnGrpFldMove[1]->setEnabled(m_flow.selectedSlot >= 0);
    m_btnGrpOptions->setEnabled(m_flow.groupOptionsEnabled());
    m_txtRptFields->setPlainText(m_flow.reportFields);

    for (int i = 0; i < WizardFlow::SortLevels; ++i) {
        fillCombo(m_cboSortFields[size_t(i)], m_flow.sortCombos[size_t(i)]);
        m_optAsc[size_t(i)]->setChecked(m_flow.sortAscending[size_t(i)]);
        m_optDesc[size_t(i)]->setChecked(!m_flow.sortAscending[size_t(i)]);
        const bool enabled = m_flow.sortEnabled[size_t(i)];
        m_cboSortFields[size_t(i)]->setEnabled(enabled);
        m_optAsc[size_t(i)]->setEnabled(enabled);
        m_optDesc[size_t(i)]->setEnabled(enabled);
    }

    if (m_flow.style >= 0 && m_flow.style < 6)
        m_optStyle[size_t(m_flow.style)]->setChecked(true);
    m_picStyle->setPixmap(stylePreview(m_flow.style, m_picStyle->size()));
    if (m_txtReportTitle->text() != m_flow.title)
        m_txtReportTitle->setText(m_flow.title);
    m_txtRptSummary->setPlainText(m_flow.summary);
    m_updating = false;
}

void frmReportWizard::next()
{
    if (m_flow.next()) {
        refresh();
        if (m_flow.page() == 1)
            m_txtConnectString->setFocus();
        else if (m_flow.page() == 6)
            m_txtReportTitle->setFocus();
    } else {
        refresh();
    }
}

void frmReportWizard::back()
{
    m_flow.back();
    refresh();
}

void frmReportWizard::finish()
{
    if (!m_flow.finishEnabled())
        return;
    m_btnFinish->setEnabled(false);
    bool ok = false;
    if (m_designer && m_flow.model().report()) {
        ok = applyToDesigner();
    } else {
        ok = m_flow.finish();
    }
    refresh();
    if (ok)
        accept();
}

bool frmReportWizard::applyToDesigner()
{
    // Generated into a copy first, so that the design changes in one undo
    // step, or not at all when generation fails.
    Orv::Report *target = m_flow.model().report();
    Orv::Report scratch;
    target->CopyLayoutTo(&scratch);
    m_flow.model().SetReport(&scratch);
    const bool ok = m_flow.finish();
    m_flow.model().SetReport(target);
    if (!ok)
        return false;
    replaceLayoutAsOneStep(*m_designer, scratch, tr("报表向导"));
    return true;
}

void frmReportWizard::openConnectionWizard()
{
    if (!m_prompt)
        return;
    m_flow.connectString = m_prompt(QString(), QString());
    refresh();
    m_txtConnectString->setFocus();
}

bool frmReportWizard::openDataSource(Wizard::CDataSource &ds)
{
    // Opening a database and reading its schema can take a while (a server
    // that does not answer, a thousand tables): it runs on a thread of its
    // own while the window stays live; messages are shown afterwards.
    struct Job
    {
        std::unique_ptr<Wizard::CDataSource> dataSource;
        RecordingUi messages;
        bool ok = false;
    };
    auto job = std::make_shared<Job>();
    const QString text = ds.ConnectionString;
    QThread *mainThread = QThread::currentThread();
    QThread *thread = QThread::create([job, text, mainThread] {
        job->dataSource = std::make_unique<Wizard::CDataSource>(&job->messages);
        job->dataSource->ConnectionString = text;
        job->ok = job->dataSource->OpenDataSource();
        if (job->dataSource->ADOConnection())
            job->dataSource->ADOConnection()->moveToThread(mainThread);
        job->dataSource->moveToThread(mainThread);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    QEventLoop loop;
    bool cancelled = false;
    connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    // Cancel (or Escape, or closing the window) gives up waiting.
    const auto cancel = connect(this, &QDialog::finished, &loop, [&] {
        cancelled = true;
        loop.quit();
    });
    m_lblBusy->setText(tr("正在连接数据库并读取表..."));
    for (QPushButton *b : {m_btnBack, m_btnNext, m_btnFinish, m_btnOpenDB})
        b->setEnabled(false);
    m_txtConnectString->setEnabled(false);
    const QPointer<frmReportWizard> self(this);
    thread->start();
    loop.exec();
    if (!self)
        return false;
    disconnect(cancel);
    m_lblBusy->clear();
    m_txtConnectString->setEnabled(true);
    m_btnOpenDB->setEnabled(true);
    if (cancelled)
        return false; // the thread finishes on its own and lets go of the job
    for (const RecordingUi::Request &r : job->messages.requests())
        m_ui.messageBox(r.text, r.title, r.buttons, r.icon);
    if (!job->ok)
        return false;
    job->dataSource->setUi(&m_ui);
    m_flow.model().setDataSource(std::move(job->dataSource));
    return true;
}

bool frmReportWizard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < WizardFlow::GroupSlots; ++i) {
            if (watched == m_lblGrpField[size_t(i)]) {
                m_flow.selectSlot(i);
                refresh();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmReportWizard::relateTables(Wizard::Report &model)
{
    frmRelateTables dialog(model, m_ui, this);
    dialog.exec();
}

void frmReportWizard::showGroupOptions()
{
    if (!m_flow.groupOptionsEnabled())
        return;
    GroupOptionsModel model(m_flow.model());
    frmGroupOptions dialog(model, this);
    dialog.exec();
    model.apply();
}

// ---- frmRelateTables ----

frmRelateTables::frmRelateTables(Wizard::Report &model, Ui &ui, QWidget *parent)
    : QDialog(parent)
    , m_model(model, &ui)
{
    setObjectName(QStringLiteral("frmRelateTables"));
    setWindowTitle(tr("表关系"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(wrapped(tr("你可以选择多个表。  选择一个主表和多个外部关键字表建立关系")), 0, 0, 1, 3);
    m_cboPkFields = new QComboBox;
    m_cboPkFields->setObjectName(QStringLiteral("cboPkFields"));
    m_cboPkFields->addItems(m_model.pkFields);
    m_cboFKFields = new QComboBox;
    m_cboFKFields->setObjectName(QStringLiteral("cboFKFields"));
    m_cboFKFields->addItems(m_model.fkFields);
    layout->addWidget(m_cboPkFields, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("=")), 1, 1);
    layout->addWidget(m_cboFKFields, 1, 2);
    m_lstRelations = new QListWidget;
    m_lstRelations->setObjectName(QStringLiteral("lstRelations"));
    layout->addWidget(m_lstRelations, 2, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    auto *btnAdd = new QPushButton(tr("增加[&A]"));
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    auto *btnRemove = new QPushButton(tr("移除[&R]"));
    btnRemove->setObjectName(QStringLiteral("btnRemove"));
    auto *btnOK = new QPushButton(tr("确定[&O]"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    auto *btnCancel = new QPushButton(tr("取消[&C]"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *b : {btnAdd, btnRemove, btnOK, btnCancel})
        b->setAutoDefault(false);
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnRemove);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons, 3, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
    relist();
    connect(btnAdd, &QPushButton::clicked, this, [this] {
        if (m_model.add(m_cboPkFields->currentText(), m_cboFKFields->currentText()))
            relist();
    });
    connect(btnRemove, &QPushButton::clicked, this, [this] {
        m_model.remove(m_lstRelations->currentRow());
        relist();
    });
    // The joins are in the model as soon as they are listed.
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 320);
}

void frmRelateTables::relist()
{
    m_lstRelations->clear();
    m_lstRelations->addItems(m_model.relations);
}

// ---- frmGroupOptions ----

frmGroupOptions::frmGroupOptions(GroupOptionsModel &model, QWidget *parent)
    : QDialog(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("frmGroupOptions"));
    setWindowTitle(tr("分组属性"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("请设置你要分组的字段")), 0, 0, 1, 2);
    int row = 1;
    for (size_t i = 0; i < m_model.levels.size(); ++i) {
        const auto &level = m_model.levels[i];
        auto *caption = new QLabel(level.caption);
        caption->setObjectName(QStringLiteral("lblGrpLevel%1").arg(i));
        auto *combo = new QComboBox;
        combo->setObjectName(QStringLiteral("cboGrpInterval%1").arg(i));
        combo->addItems(level.entries);
        combo->setCurrentIndex(level.current);
        combo->setEnabled(level.enabled);
        combo->setMinimumWidth(180);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i](int index) { m_model.levels[i].current = index; });
        m_cboGrpInterval.push_back(combo);
        layout->addWidget(caption, row, 0);
        layout->addWidget(combo, row, 1);
        ++row;
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *btnOK = new QPushButton(tr("确定[&O]"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    auto *btnCancel = new QPushButton(tr("取消[&C]"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons, row, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        m_model.cancelled = false;
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace Orv
