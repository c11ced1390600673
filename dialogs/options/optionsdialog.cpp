#include "dialogs/options/optionsdialog.h"

#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/propertylist/propertyset.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

frmOptions::frmOptions(DesignerCore *designer, PropertyDialogs *dialogs, QWidget *parent)
    : TopicDialog(parent), m_model(designer)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("选项"));
    setBanner(tr("报表选项"), tr("修改报表缺省设置项"));

    // 0: the grid.
    QVBoxLayout *page = addPage(tr("  网格设置"));
    m_chkShowGrid = new QCheckBox(tr("显示网格"), this);
    m_chkShowGrid->setObjectName(QStringLiteral("chkShowGrid"));
    m_chkShowGrid->setChecked(m_model.showGrid());
    m_chkSnapToGrid = new QCheckBox(tr("控件对齐网格"), this);
    m_chkSnapToGrid->setObjectName(QStringLiteral("chkSnapToGrid"));
    m_chkSnapToGrid->setChecked(m_model.snapToGrid());
    page->addWidget(m_chkShowGrid);
    page->addWidget(m_chkSnapToGrid);
    auto *fraGrid = new QGroupBox(tr("单位"), this);
    fraGrid->setObjectName(QStringLiteral("fraGrid"));
    auto *grid = new QGridLayout(fraGrid);
    auto *group = new QButtonGroup(this);
    const QString rulers[2] = {tr("英制(英寸)"), tr("公制(厘米)")};
    for (int i = 0; i < 2; ++i) {
        m_optRuler[size_t(i)] = new QRadioButton(rulers[i], fraGrid);
        m_optRuler[size_t(i)]->setObjectName(QStringLiteral("optRuler%1").arg(i));
        group->addButton(m_optRuler[size_t(i)], i);
        m_txtGridUnits[size_t(i)] = new QLineEdit(m_model.rowsText(i), fraGrid);
        m_txtGridUnits[size_t(i)]->setObjectName(QStringLiteral("txtGridUnits%1").arg(i));
        m_txtGridUnits[size_t(i)]->setMaximumWidth(60);
        grid->addWidget(m_optRuler[size_t(i)], i, 0);
        grid->addWidget(m_txtGridUnits[size_t(i)], i, 1);
        grid->addWidget(new QLabel(tr("行"), fraGrid), i, 2);
        connect(m_txtGridUnits[size_t(i)], &QLineEdit::textEdited, this, [this, i](const QString &text) {
            m_model.setRowsText(i, text);
            showRowsProblem();
        });
    }
    grid->setColumnStretch(3, 1);
    m_optRuler[size_t(m_model.ruler())]->setChecked(true);
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            m_model.setRuler(id);
            showRowsProblem();
        }
    });
    connect(m_chkShowGrid, &QCheckBox::toggled, this, [this](bool on) { m_model.setShowGrid(on); });
    connect(m_chkSnapToGrid, &QCheckBox::toggled, this, [this](bool on) { m_model.setSnapToGrid(on); });
    page->addWidget(fraGrid);
    m_lblGridError = new QLabel(this);
    m_lblGridError->setObjectName(QStringLiteral("lblGridError"));
    m_lblGridError->setWordWrap(true);
    QPalette pal = m_lblGridError->palette();
    pal.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    m_lblGridError->setPalette(pal);
    m_lblGridError->hide();
    page->addWidget(m_lblGridError);
    page->addStretch(1);

    // 1: the styles.
    page = addPage(tr("样式"));
    m_plStyle = new PropertyList(this);
    m_plStyle->setObjectName(QStringLiteral("plStyle"));
    m_plStyle->setDialogs(dialogs);
    m_plStyle->view()->setFrameShape(QFrame::NoFrame);
    page->addWidget(m_plStyle, 1);
    // Each edit of a style shows in the designer at once.
    connect(m_plStyle->propertySet(), &PropertySet::valuesChanged, this, [this] { m_model.stylesEdited(); });
    auto *buttons = new QHBoxLayout;
    // The four styles are fixed: there is nothing to add or delete yet.
    for (const auto &[name, text] : {std::pair{"btnStyNew", tr("新建[&N]")}, std::pair{"btnStyDelete", tr("删除[&D]")}}) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setEnabled(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    page->addLayout(buttons);

    addTopic(QStringLiteral("OPT_GRID"), tr("网格设置"), nullptr, 0);
    QTreeWidgetItem *styles = addTopic(QStringLiteral("OPT_STYLES"), tr("样式"), nullptr, 1, true);
    const char *const captions[] = {QT_TR_NOOP("正文"), QT_TR_NOOP("标题 1"), QT_TR_NOOP("标题 2"), QT_TR_NOOP("标题 3")};
    for (int i = 0; i < 4; ++i)
        addTopic(QStringLiteral("STY%1").arg(i + 1), tr(captions[i]), styles, 1);
    connect(tv(), &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { showStyle(item); });
    selectTopic(QStringLiteral("OPT_GRID"));

    connect(btnOK(), &QPushButton::clicked, this, &QDialog::accept);
    resize(560, 400);
}

void frmOptions::showStyle(QTreeWidgetItem *item)
{
    // Each style shows its own values; the group shows Normal's.
    const QString key = keyOf(item);
    if (!item || (!key.startsWith(QLatin1String("STY")) && key != QLatin1String("OPT_STYLES")))
        return;
    const int index = key.startsWith(QLatin1String("STY")) ? key.mid(3).toInt() - 1 : 0;
    if (index >= 0 && index < int(m_model.styles().size()))
        m_plStyle->SetObjects({m_model.styles()[size_t(index)].get()});
}

void frmOptions::showRowsProblem()
{
    const Status s = m_model.rowsProblem();
    m_lblGridError->setText(s.ok() ? QString() : s.description());
    m_lblGridError->setVisible(!s.ok());
}

void frmOptions::done(int result)
{
    if (result == QDialog::Accepted) {
        if (const Status s = m_model.accept(); !s.ok()) {
            selectTopic(QStringLiteral("OPT_GRID"));
            showRowsProblem();
            m_txtGridUnits[size_t(m_model.ruler())]->setFocus();
            return;
        }
    } else {
        m_model.reject();
    }
    TopicDialog::done(result);
}

} // namespace Orv
