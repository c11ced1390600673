#include "dialogs/sortinggrouping/sortinggroupingdialog.h"

#include "dialogs/common/dialogbanner.h"
#include "dialogs/expressionbuilder/expressionbuilderdialog.h"
#include "engine/model/report.h"
#include "engine/script/expressioncheck.h"
#include "ui/uiseam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

SortingGroupingDialog::SortingGroupingDialog(Ui &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("frmSortingAndGrouping"));
    setWindowTitle(tr("排序和分组"));
    setModal(true);
    setSizeGripEnabled(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new DialogBanner(tr("排序和分组选项"), tr("设置报表分组选项和报表字段排序"), this));

    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 10, 10, 10);
    body->setSpacing(8);
    layout->addLayout(body, 1);

    m_lvGroups = new QTreeWidget(this);
    m_lvGroups->setObjectName(QStringLiteral("lvGroups"));
    m_lvGroups->setRootIsDecorated(false);
    m_lvGroups->setUniformRowHeights(true);
    m_lvGroups->setAllColumnsShowFocus(true);
    m_lvGroups->setHeaderLabels(SortingGroupingModel::columnHeaders());
    // Every column in sight at once: the expression widest, the numbers narrow.
    const int widths[] = {120, 170, 80, 100, 100, 120, 80};
    for (int c = 0; c < m_lvGroups->columnCount(); ++c)
        m_lvGroups->setColumnWidth(c, widths[c]);
    body->addWidget(m_lvGroups, 1);

    auto *area = new QGroupBox(this);
    auto *grid = new QGridLayout(area);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    grid->setHorizontalSpacing(8);

    m_cboFieldExpr = new QComboBox(area);
    m_cboFieldExpr->setObjectName(QStringLiteral("cboFieldExpr"));
    m_cboFieldExpr->setEditable(true);
    m_cboFieldExpr->setInsertPolicy(QComboBox::NoInsert);
    m_btnExpressionBuilder = new QPushButton(QStringLiteral("..."), area);
    m_btnExpressionBuilder->setObjectName(QStringLiteral("btnExpressionBuilder"));
    m_btnExpressionBuilder->setAutoDefault(false);
    m_btnExpressionBuilder->setFixedWidth(32);
    m_btnExpressionBuilder->setToolTip(tr("建立表达式"));
    auto *fieldRow = new QHBoxLayout;
    fieldRow->addWidget(m_cboFieldExpr, 1);
    fieldRow->addWidget(m_btnExpressionBuilder);

    m_cboSortOrder = new QComboBox(area);
    m_cboSortOrder->setObjectName(QStringLiteral("cboSortOrder"));
    m_cboSortOrder->addItems(SortingGroupingModel::sortOrderItems());
    // The rows come in the order of the report's statement; there is no
    // order of the group to set.
    m_cboSortOrder->setEnabled(false);
    m_cboSortOrder->setToolTip(tr("记录按报表查询语句的顺序排列"));

    m_cboGroupOn = new QComboBox(area);
    m_cboGroupOn->setObjectName(QStringLiteral("cboGroupOn"));
    m_cboGroupOn->addItems(SortingGroupingModel::groupOnItems());
    m_txtGroupInterval = new QLineEdit(area);
    m_txtGroupInterval->setObjectName(QStringLiteral("txtGroupInterval"));
    m_txtGroupInterval->setValidator(new QIntValidator(0, 2147483647, m_txtGroupInterval));
    m_cboKeeptogether = new QComboBox(area);
    m_cboKeeptogether->setObjectName(QStringLiteral("cboKeeptogether"));
    m_cboKeeptogether->addItems(SortingGroupingModel::keepTogetherItems());
    m_chkPageBreak[0] = new QCheckBox(tr("前分页"), area);
    m_chkPageBreak[0]->setObjectName(QStringLiteral("chkPageBreak0"));
    m_chkPageBreak[1] = new QCheckBox(tr("后分页"), area);
    m_chkPageBreak[1]->setObjectName(QStringLiteral("chkPageBreak1"));

    const auto label = [&](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, area);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(tr("字段/表达式:"), m_cboFieldExpr), 0, 0);
    grid->addLayout(fieldRow, 0, 1, 1, 4);
    grid->addWidget(label(tr("排序:"), m_cboSortOrder), 1, 0);
    grid->addWidget(m_cboSortOrder, 1, 1);
    grid->addWidget(label(tr("组不分页:"), m_cboKeeptogether), 1, 3);
    grid->addWidget(m_cboKeeptogether, 1, 4);
    grid->addWidget(label(tr("分组:"), m_cboGroupOn), 2, 0);
    grid->addWidget(m_cboGroupOn, 2, 1);
    grid->addWidget(label(tr("分组间隔:"), m_txtGroupInterval), 2, 3);
    grid->addWidget(m_txtGroupInterval, 2, 4);
    auto *breaks = new QHBoxLayout;
    breaks->addWidget(m_chkPageBreak[0]);
    breaks->addWidget(m_chkPageBreak[1]);
    breaks->addStretch(1);
    grid->addLayout(breaks, 3, 1, 1, 4);
    grid->setColumnMinimumWidth(2, 16);
    body->addWidget(area);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = new QPushButton(tr("确定[&O]"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(tr("取消[&C]"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &SortingGroupingDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SortingGroupingDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    body->addLayout(buttons);

    connect(m_lvGroups, &QTreeWidget::currentItemChanged, this, &SortingGroupingDialog::showRow);
    connect(m_cboFieldExpr, &QComboBox::currentTextChanged, this, &SortingGroupingDialog::editorChanged);
    connect(m_cboGroupOn, &QComboBox::currentIndexChanged, this, &SortingGroupingDialog::editorChanged);
    connect(m_txtGroupInterval, &QLineEdit::textEdited, this, &SortingGroupingDialog::editorChanged);
    connect(m_cboKeeptogether, &QComboBox::currentIndexChanged, this, &SortingGroupingDialog::editorChanged);
    for (QCheckBox *box : m_chkPageBreak)
        connect(box, &QCheckBox::toggled, this, &SortingGroupingDialog::editorChanged);
    connect(m_btnExpressionBuilder, &QPushButton::clicked, this, &SortingGroupingDialog::openExpressionBuilder);
    connect(&m_fields, &ReportFields::finished, this, [this] {
        const QString text = m_cboFieldExpr->currentText();
        const QSignalBlocker blocker(m_cboFieldExpr);
        m_cboFieldExpr->clear();
        m_cboFieldExpr->addItems(m_fields.fields());
        m_cboFieldExpr->setCurrentIndex(-1);
        m_cboFieldExpr->setEditText(text);
    });

    showRow();
    resize(820, 440);
}

SortingGroupingDialog::~SortingGroupingDialog() = default;

void SortingGroupingDialog::SetReport(Report *rpt)
{
    m_model.setReport(rpt);
    fillList();
    if (rpt)
        m_fields.start(*rpt, m_reportFolder);
    if (m_lvGroups->topLevelItemCount() > 0)
        m_lvGroups->setCurrentItem(m_lvGroups->topLevelItem(0));
    showRow();
}

void SortingGroupingDialog::fillList()
{
    const QSignalBlocker blocker(m_lvGroups);
    const int current = currentRow();
    m_lvGroups->clear();
    for (const SortingGroupingModel::Row &r : m_model.rows())
        new QTreeWidgetItem(m_lvGroups, {r.name, r.fieldExpr, r.sortOrder, r.groupOn, r.groupInterval, r.keepTogether,
                                         r.pageBreak});
    if (current >= 0 && current < m_lvGroups->topLevelItemCount())
        m_lvGroups->setCurrentItem(m_lvGroups->topLevelItem(current));
}

int SortingGroupingDialog::currentRow() const
{
    return m_lvGroups->indexOfTopLevelItem(m_lvGroups->currentItem());
}

void SortingGroupingDialog::showRow()
{
    const int row = currentRow();
    const bool any = row >= 0;
    for (QWidget *w : std::initializer_list<QWidget *>{m_cboFieldExpr, m_btnExpressionBuilder, m_cboGroupOn,
                                                        m_txtGroupInterval, m_cboKeeptogether, m_chkPageBreak[0],
                                                        m_chkPageBreak[1]})
        w->setEnabled(any);
    if (!any) {
        // Nothing selected: the editing area stays empty.
        m_showing = true;
        m_cboFieldExpr->setEditText(QString());
        m_cboSortOrder->setCurrentIndex(-1);
        m_cboGroupOn->setCurrentIndex(-1);
        m_txtGroupInterval->clear();
        m_cboKeeptogether->setCurrentIndex(-1);
        m_chkPageBreak[0]->setChecked(false);
        m_chkPageBreak[1]->setChecked(false);
        m_showing = false;
        return;
    }
    const SortingGroupingModel::Editor e = m_model.editorFor(row);
    m_showing = true;
    m_cboFieldExpr->setEditText(e.fieldExpr);
    m_cboSortOrder->setCurrentIndex(e.sortOrder);
    m_cboGroupOn->setCurrentIndex(e.groupOn);
    m_txtGroupInterval->setText(e.groupInterval);
    m_cboKeeptogether->setCurrentIndex(e.keepTogether >= 0 && e.keepTogether < m_cboKeeptogether->count() ? e.keepTogether : -1);
    m_chkPageBreak[0]->setChecked(e.pageBefore);
    m_chkPageBreak[1]->setChecked(e.pageAfter);
    m_showing = false;
}

void SortingGroupingDialog::editorChanged()
{
    const int row = currentRow();
    if (m_showing || row < 0)
        return;
    SortingGroupingModel::Editor e = m_model.editorFor(row);
    e.fieldExpr = m_cboFieldExpr->currentText();
    e.groupOn = std::max(0, m_cboGroupOn->currentIndex());
    e.groupInterval = m_txtGroupInterval->text();
    e.keepTogether = std::max(0, m_cboKeeptogether->currentIndex());
    e.pageBefore = m_chkPageBreak[0]->isChecked();
    e.pageAfter = m_chkPageBreak[1]->isChecked();
    m_model.setEditor(row, e);
    const SortingGroupingModel::Row &r = m_model.rows()[size_t(row)];
    QTreeWidgetItem *item = m_lvGroups->topLevelItem(row);
    const QStringList values{r.name, r.fieldExpr, r.sortOrder, r.groupOn, r.groupInterval, r.keepTogether, r.pageBreak};
    for (int c = 0; c < values.size(); ++c)
        item->setText(c, values[c]);
}

void SortingGroupingDialog::openExpressionBuilder()
{
    ExpressionBuilderDialog builder(m_ui, this);
    builder.setReportFolder(m_reportFolder);
    builder.SetReport(m_model.report());
    QString text = m_cboFieldExpr->currentText().trimmed();
    if (text.startsWith(QLatin1Char('=')))
        text = text.mid(1);
    else if (!text.isEmpty())
        text = QLatin1Char('[') + text + QLatin1Char(']');
    builder.setExpression(text);
    const int result = m_builderRunner ? m_builderRunner(builder) : builder.exec();
    // Nothing is stored by the builder here: its expression comes back
    // into the group's field box.
    if (result == QDialog::Accepted && currentRow() >= 0)
        m_cboFieldExpr->setEditText(builder.expression().trimmed().isEmpty()
                                        ? QString()
                                        : QLatin1Char('=') + builder.expression().trimmed());
}

void SortingGroupingDialog::accept()
{
    const Status valid = m_model.isModified() ? m_model.validate() : Status();
    if (!valid.ok()) {
        m_ui.showError(valid, tr("排序和分组"));
        return;
    }
    // An expression that does not compile is stored only when the user
    // insists.
    if (m_model.report()) {
        std::optional<QStringList> names;
        if (m_fields.state() == ReportFields::State::Ready || m_fields.state() == ReportFields::State::NoDataSource)
            names = m_fields.fields();
        std::unique_ptr<Script::ExpressionChecker> checker;
        const std::vector<SortingGroupingModel::Row> &rows = m_model.rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            const QString field = rows[i].fieldExpr.trimmed();
            if (!rows[i].section || !field.startsWith(QLatin1Char('=')) || field == rows[i].section->dataField().trimmed())
                continue;
            if (!checker)
                checker = std::make_unique<Script::ExpressionChecker>(*m_model.report(), names);
            const Script::ExpressionCheck check = checker->check(field.mid(1));
            if (check.ok)
                continue;
            m_lvGroups->setCurrentItem(m_lvGroups->topLevelItem(int(i)));
            const MessageResult answer = m_ui.messageBox(
                tr("“%1”的表达式无法编译:\n%2\n\n仍然保存吗？")
                    .arg(rows[i].name, ExpressionBuilderModel::checkText(check)),
                tr("排序和分组"), MessageButtons::YesNo, MessageIcon::Exclamation);
            if (answer != MessageResult::Yes)
                return;
        }
    }
    Status status;
    m_model.apply(m_core, &status);
    if (!status.ok()) {
        m_ui.showError(status, tr("排序和分组"));
        return;
    }
    QDialog::accept();
}

} // namespace Orv
