#include "dialogs/expressionbuilder/expressionbuilderdialog.h"

#include "dialogs/common/dialogbanner.h"
#include "ui/uiseam.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

ExpressionBuilderDialog::ExpressionBuilderDialog(Ui &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("frmExpressionBuilder"));
    setWindowTitle(tr("公式向导"));
    setModal(true);
    setSizeGripEnabled(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new DialogBanner(tr("公式向导"), tr("使用字段或属性来建立公式表达式"), this));

    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 10, 10, 6);
    body->setSpacing(6);
    layout->addLayout(body, 1);

    // The expression area: the text, the operators, paste and undo.
    m_txtExpression = new QPlainTextEdit(this);
    m_txtExpression->setObjectName(QStringLiteral("txtExpression"));
    m_txtExpression->setTabChangesFocus(true);
    m_txtExpression->setFixedHeight(m_txtExpression->fontMetrics().lineSpacing() * 4 + 12);
    body->addWidget(m_txtExpression);

    auto *ops = new QHBoxLayout;
    ops->setSpacing(3);
    for (int i = 0; i < ExpressionBuilderModel::OperatorCount; ++i) {
        // "&" doubled: a single one would mark a shortcut key.
        auto *b = new QPushButton(ExpressionBuilderModel::operatorText(i).replace(QLatin1Char('&'), QStringLiteral("&&")), this);
        b->setObjectName(QStringLiteral("btnOp%1").arg(i));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        const int width = std::max(28, b->fontMetrics().horizontalAdvance(b->text()) + 14);
        b->setFixedWidth(width);
        connect(b, &QPushButton::clicked, this, [this, i] {
            m_model.insertOperator(i);
            m_txtExpression->setFocus();
        });
        m_btnOp[i] = b;
        ops->addWidget(b);
    }
    ops->addStretch(1);
    m_btnPaste = new QPushButton(tr("粘贴[&P]"), this);
    m_btnPaste->setObjectName(QStringLiteral("btnPaste"));
    m_btnPaste->setAutoDefault(false);
    connect(m_btnPaste, &QPushButton::clicked, this, [this] {
        m_model.paste(m_ui.clipboardText());
        m_txtExpression->setFocus();
    });
    m_btnUndo = new QPushButton(tr("撤销[&U]"), this);
    m_btnUndo->setObjectName(QStringLiteral("btnUndo"));
    m_btnUndo->setAutoDefault(false);
    m_btnUndo->setEnabled(false);
    connect(m_btnUndo, &QPushButton::clicked, this, [this] {
        m_model.undo();
        m_txtExpression->setFocus();
    });
    ops->addWidget(m_btnPaste);
    ops->addWidget(m_btnUndo);
    body->addLayout(ops);

    // The tree of categories and the entries of the one selected.
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    m_tv = new QTreeWidget(split);
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setHeaderHidden(true);
    m_tv->setColumnCount(1);
    m_lv = new QTreeWidget(split);
    m_lv->setObjectName(QStringLiteral("lv"));
    m_lv->setRootIsDecorated(false);
    m_lv->setUniformRowHeights(true);
    m_lv->setColumnCount(3);
    m_lv->setHeaderLabels({tr("Item"), tr("插入内容"), tr("Description")});
    m_lv->header()->setStretchLastSection(true);
    m_lv->setColumnWidth(0, 150);
    m_lv->setColumnWidth(1, 220);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 5);
    split->setSizes({200, 640});
    body->addWidget(split, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = new QPushButton(tr("确定[&O]"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(tr("取消[&C]"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    auto *help = new QPushButton(tr("帮助[&H]"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    help->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &ExpressionBuilderDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ExpressionBuilderDialog::reject);
    connect(help, &QPushButton::clicked, this, &ExpressionBuilderDialog::showHelp);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    body->addLayout(buttons);

    m_sb = new QStatusBar(this);
    m_sb->setObjectName(QStringLiteral("sb"));
    m_sb->setSizeGripEnabled(false);
    layout->addWidget(m_sb);

    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(400);
    connect(m_checkTimer, &QTimer::timeout, this, &ExpressionBuilderDialog::runCheck);

    connect(m_txtExpression, &QPlainTextEdit::textChanged, this, &ExpressionBuilderDialog::textEdited);
    connect(m_txtExpression, &QPlainTextEdit::cursorPositionChanged, this, &ExpressionBuilderDialog::textEdited);
    connect(m_tv, &QTreeWidget::currentItemChanged, this, &ExpressionBuilderDialog::nodeSelected);
    connect(m_lv, &QTreeWidget::itemActivated, this, &ExpressionBuilderDialog::entryActivated);
    connect(m_lv, &QTreeWidget::currentItemChanged, this,
            [this] { m_sb->showMessage(m_model.entryText(m_lv->indexOfTopLevelItem(m_lv->currentItem()))); });
    connect(&m_model, &ExpressionBuilderModel::entriesChanged, this, &ExpressionBuilderDialog::showEntries);
    connect(&m_model, &ExpressionBuilderModel::nodesChanged, this, &ExpressionBuilderDialog::rebuildTree);
    connect(&m_model, &ExpressionBuilderModel::editChanged, this, &ExpressionBuilderDialog::showEdit);
    connect(&m_model.fields(), &ReportFields::finished, this, [this] {
        if (const QString note = m_model.fieldsNote(); !note.isEmpty())
            m_sb->showMessage(note);
        m_checkTimer->start();
    });

    rebuildTree();
    resize(860, 540);
    m_txtExpression->setFocus();
}

ExpressionBuilderDialog::~ExpressionBuilderDialog() = default;

void ExpressionBuilderDialog::SetReport(Report *rpt)
{
    m_model.setReport(rpt, m_reportFolder);
}

void ExpressionBuilderDialog::SetControl(Control *ctl)
{
    m_model.setControl(ctl);
}

void ExpressionBuilderDialog::SetSEction(Section *sec)
{
    m_model.setSection(sec);
}

void ExpressionBuilderDialog::setExpression(const QString &text)
{
    m_model.setEdit({text, int(text.size()), int(text.size())});
    showEdit();
}

void ExpressionBuilderDialog::rebuildTree()
{
    const QSignalBlocker blocker(m_tv);
    m_tv->clear();
    QHash<QString, QTreeWidgetItem *> items;
    for (const ExpressionBuilderModel::Node &n : m_model.nodes()) {
        QTreeWidgetItem *parent = items.value(n.parentKey);
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tv);
        item->setText(0, n.caption);
        item->setData(0, Qt::UserRole, n.key);
        items.insert(n.key, item);
    }
    if (QTreeWidgetItem *rpt = items.value(QStringLiteral("rpt")))
        rpt->setExpanded(true);
}

void ExpressionBuilderDialog::showEntries()
{
    m_lv->clear();
    for (const ExpressionBuilderModel::Entry &e : m_model.entries()) {
        auto *item = new QTreeWidgetItem(m_lv, {e.caption, e.expression, e.help});
        if (!e.arguments.isEmpty())
            item->setText(0, QStringLiteral("%1(%2)").arg(e.caption, e.arguments));
        item->setToolTip(0, item->text(0));
        item->setToolTip(1, e.expression);
        item->setToolTip(2, e.help);
        if (e.expression.isEmpty())
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
    }
}

void ExpressionBuilderDialog::showEdit()
{
    const ExpressionBuilderModel::Edit &e = m_model.edit();
    m_showing = true;
    if (m_txtExpression->toPlainText() != e.text)
        m_txtExpression->setPlainText(e.text);
    QTextCursor c = m_txtExpression->textCursor();
    c.setPosition(std::clamp(e.start, 0, int(e.text.size())));
    c.setPosition(std::clamp(e.end, 0, int(e.text.size())), QTextCursor::KeepAnchor);
    m_txtExpression->setTextCursor(c);
    m_showing = false;
    m_btnUndo->setEnabled(m_model.canUndo());
    m_checkTimer->start();
}

void ExpressionBuilderDialog::textEdited()
{
    if (m_showing)
        return;
    const QTextCursor c = m_txtExpression->textCursor();
    const QString text = m_txtExpression->toPlainText();
    const bool changed = text != m_model.edit().text;
    m_model.setEdit({text, c.anchor(), c.position()});
    m_btnUndo->setEnabled(m_model.canUndo());
    if (changed)
        m_checkTimer->start();
}

void ExpressionBuilderDialog::nodeSelected()
{
    QTreeWidgetItem *item = m_tv->currentItem();
    if (!item)
        return;
    const QString key = item->data(0, Qt::UserRole).toString();
    m_model.selectNode(key);
    if (key == ExpressionBuilderModel::fieldsKey() && !m_model.fieldsNote().isEmpty())
        m_sb->showMessage(m_model.fieldsNote());
}

void ExpressionBuilderDialog::entryActivated()
{
    if (m_model.insertEntry(m_lv->indexOfTopLevelItem(m_lv->currentItem())))
        m_txtExpression->setFocus();
}

void ExpressionBuilderDialog::runCheck()
{
    if (m_model.edit().text.trimmed().isEmpty()) {
        m_sb->clearMessage();
        return;
    }
    m_sb->showMessage(ExpressionBuilderModel::checkText(m_model.check()));
}

void ExpressionBuilderDialog::showHelp()
{
    m_ui.messageBox(tr("双击列表中的一项，或在其上按回车键，可将它插入到光标处；"
                       "运算符按钮插入各自的运算符。表达式在输入时即被检查，按“确定”时再检查一次，"
                       "并保存为控件或分组的数据字段。"),
                    tr("公式向导"), MessageButtons::Ok, MessageIcon::Information);
}

void ExpressionBuilderDialog::accept()
{
    m_checkTimer->stop();
    const Status target = m_model.validateTarget();
    if (!target.ok()) {
        m_ui.showError(target, tr("公式向导"));
        return;
    }
    const QString text = m_model.edit().text;
    if (!text.trimmed().isEmpty()) {
        const Script::ExpressionCheck check = m_model.check();
        if (!check.ok) {
            m_sb->showMessage(ExpressionBuilderModel::checkText(check));
            if (!check.inReportScript) {
                const int at = ExpressionBuilderModel::errorOffset(text, check.error);
                m_model.setEdit({text, at, std::min(at + 1, int(text.size()))});
                showEdit();
            }
            const MessageResult answer =
                m_ui.messageBox(tr("%1\n\n仍然保存此表达式吗？").arg(ExpressionBuilderModel::checkText(check)),
                                tr("公式向导"), MessageButtons::YesNo, MessageIcon::Exclamation);
            if (answer != MessageResult::Yes) {
                m_txtExpression->setFocus();
                return;
            }
        }
    }
    Status status;
    m_model.store(m_core, &status);
    if (!status.ok()) {
        m_ui.showError(status, tr("公式向导"));
        return;
    }
    QDialog::accept();
}

} // namespace Orv
