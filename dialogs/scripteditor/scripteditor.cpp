#include "dialogs/scripteditor/scripteditor.h"

#include "ui/uiseam.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QVBoxLayout>

namespace Orv {

namespace {

class LineMargin : public QWidget
{
public:
    explicit LineMargin(CodeEdit *editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return {m_editor->lineNumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent *event) override { m_editor->paintLineNumbers(event); }

private:
    CodeEdit *m_editor;
};

// Colours keywords, strings, comments and numbers by the model's spans.
class ScriptHighlighter : public QSyntaxHighlighter
{
public:
    explicit ScriptHighlighter(QTextDocument *document) : QSyntaxHighlighter(document)
    {
        m_formats[0].setForeground(QColor(0x00, 0x00, 0xc0));
        m_formats[0].setFontWeight(QFont::Bold);
        m_formats[1].setForeground(QColor(0xa3, 0x15, 0x15));
        m_formats[2].setForeground(QColor(0x00, 0x80, 0x00));
        m_formats[2].setFontItalic(true);
        m_formats[3].setForeground(QColor(0x80, 0x40, 0x00));
    }

protected:
    void highlightBlock(const QString &text) override
    {
        for (const ScriptEditorModel::Span &s : ScriptEditorModel::highlight(text))
            setFormat(s.start, s.length, m_formats[int(s.token)]);
    }

private:
    QTextCharFormat m_formats[4];
};

} // namespace

CodeEdit::CodeEdit(QWidget *parent) : QPlainTextEdit(parent), m_margin(new LineMargin(this))
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(lineNumberWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy)
            m_margin->scroll(0, dy);
        else
            m_margin->update(0, rect.y(), m_margin->width(), rect.height());
    });
    setViewportMargins(lineNumberWidth(), 0, 0, 0);
    new ScriptHighlighter(document());
}

int CodeEdit::lineNumberWidth() const
{
    const int digits = int(QString::number(std::max(1, blockCount())).size());
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(3, digits);
}

void CodeEdit::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    m_margin->setGeometry(QRect(r.left(), r.top(), lineNumberWidth(), r.height()));
}

void CodeEdit::paintLineNumbers(QPaintEvent *event)
{
    QPainter p(m_margin);
    p.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    p.setPen(palette().color(QPalette::PlaceholderText));
    QTextBlock block = firstVisibleBlock();
    int top = int(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int height = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible())
            p.drawText(0, top, m_margin->width() - 4, height, Qt::AlignRight, QString::number(block.blockNumber() + 1));
        top += int(blockBoundingRect(block).height());
        block = block.next();
    }
}

frmScriptEditor::frmScriptEditor(ScriptEditorModel &model, Ui &ui, int current, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui)
{
    setObjectName(QStringLiteral("frmScriptEditor"));
    setWindowTitle(tr("脚本编辑"));
    m_lstObjects = new QListWidget(this);
    m_lstObjects->setObjectName(QStringLiteral("lstObjects"));
    for (int i = 0; i < model.count(); ++i)
        m_lstObjects->addItem(model.title(i));
    m_txtScript = new CodeEdit(this);
    m_txtScript->setObjectName(QStringLiteral("txtScript"));

    m_txtFind = new QLineEdit(this);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtReplace = new QLineEdit(this);
    m_txtReplace->setObjectName(QStringLiteral("txtReplace"));
    m_chkMatchCase = new QCheckBox(tr("Match case"), this);
    m_chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_chkWholeWord = new QCheckBox(tr("Whole words"), this);
    m_chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    auto *btnFind = new QPushButton(tr("Find Next"), this);
    btnFind->setObjectName(QStringLiteral("btnFindNext"));
    auto *btnReplace = new QPushButton(tr("Replace"), this);
    btnReplace->setObjectName(QStringLiteral("btnReplace"));
    auto *btnReplaceAll = new QPushButton(tr("Replace All"), this);
    btnReplaceAll->setObjectName(QStringLiteral("btnReplaceAll"));
    auto *findLabel = new QLabel(tr("Find:"), this);
    findLabel->setBuddy(m_txtFind);
    auto *replaceLabel = new QLabel(tr("Replace with:"), this);
    replaceLabel->setBuddy(m_txtReplace);

    auto *find = new QGridLayout;
    find->addWidget(findLabel, 0, 0);
    find->addWidget(m_txtFind, 0, 1);
    find->addWidget(btnFind, 0, 2);
    find->addWidget(m_chkMatchCase, 0, 3);
    find->addWidget(replaceLabel, 1, 0);
    find->addWidget(m_txtReplace, 1, 1);
    find->addWidget(btnReplace, 1, 2);
    find->addWidget(btnReplaceAll, 1, 3);
    find->addWidget(m_chkWholeWord, 0, 4);
    find->setColumnStretch(1, 1);

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setWordWrap(true);
    auto *btnCheck = new QPushButton(tr("Check"), this);
    btnCheck->setObjectName(QStringLiteral("btnCheck"));
    btnCheck->setToolTip(tr("Compile the script shown (F7)"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    m_btnApply = buttons->button(QDialogButtonBox::Apply);
    m_btnApply->setObjectName(QStringLiteral("btnApply"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    buttons->button(QDialogButtonBox::Ok)->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Ok)->setDefault(false);

    auto *split = new QSplitter(this);
    split->addWidget(m_lstObjects);
    split->addWidget(m_txtScript);
    split->setStretchFactor(1, 1);
    split->setSizes({160, 560});
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(btnCheck);
    bottom->addWidget(m_lblStatus, 1);
    bottom->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(find);
    layout->addLayout(bottom);

    connect(m_lstObjects, &QListWidget::currentRowChanged, this, &frmScriptEditor::showEntry);
    connect(m_txtScript, &QPlainTextEdit::textChanged, this, [this] {
        storeText();
        m_btnApply->setEnabled(m_model.anyModified());
    });
    connect(btnFind, &QPushButton::clicked, this, [this] { findNext(); });
    connect(m_txtFind, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(btnReplace, &QPushButton::clicked, this, &frmScriptEditor::replaceOne);
    connect(btnReplaceAll, &QPushButton::clicked, this, &frmScriptEditor::replaceAll);
    connect(btnCheck, &QPushButton::clicked, this, &frmScriptEditor::checkScript);
    connect(m_btnApply, &QPushButton::clicked, this, &frmScriptEditor::apply);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmScriptEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmScriptEditor::reject);
    auto *findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, [this] {
        m_txtFind->setFocus();
        m_txtFind->selectAll();
    });
    auto *replaceKey = new QShortcut(QKeySequence::Replace, this);
    connect(replaceKey, &QShortcut::activated, this, [this] { m_txtReplace->setFocus(); });
    auto *nextKey = new QShortcut(QKeySequence::FindNext, this);
    connect(nextKey, &QShortcut::activated, this, [this] { findNext(); });
    auto *previousKey = new QShortcut(QKeySequence::FindPrevious, this);
    connect(previousKey, &QShortcut::activated, this, [this] { findNext(true); });
    auto *checkKey = new QShortcut(QKeySequence(Qt::Key_F7), this);
    connect(checkKey, &QShortcut::activated, this, &frmScriptEditor::checkScript);

    resize(820, 560);
    m_lstObjects->setCurrentRow(std::clamp(current, 0, std::max(0, model.count() - 1)));
    m_btnApply->setEnabled(false);
    m_txtScript->setFocus();
}

void frmScriptEditor::keyPressEvent(QKeyEvent *event)
{
    // Enter finds (in the find box) or breaks a line; it never closes the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmScriptEditor::showEntry(int index)
{
    if (index < 0 || index >= m_model.count() || index == m_current)
        return;
    m_current = -1; // the text set below is not an edit
    m_txtScript->setPlainText(QString(m_model.text(index)).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    m_current = index;
    m_lblStatus->clear();
    if (m_lstObjects->currentRow() != index)
        m_lstObjects->setCurrentRow(index);
}

void frmScriptEditor::storeText()
{
    if (m_current >= 0)
        m_model.setText(m_current, m_txtScript->toPlainText());
}

bool frmScriptEditor::checkScript()
{
    if (m_current < 0)
        return false;
    storeText();
    const ScriptEditorModel::CheckResult result = m_model.check(m_current);
    if (result.ok) {
        m_lblStatus->setText(tr("%1: no errors.").arg(m_model.title(m_current)));
        return true;
    }
    m_lblStatus->setText(tr("Line %1, column %2: %3").arg(result.line).arg(result.column).arg(result.message));
    // The cursor goes where the interpreter stopped.
    QTextBlock block = m_txtScript->document()->findBlockByNumber(result.line - 1);
    if (!block.isValid())
        block = m_txtScript->document()->lastBlock();
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, std::min(result.column - 1, block.length() - 1));
    m_txtScript->setTextCursor(cursor);
    m_txtScript->setFocus();
    return false;
}

ScriptEditorModel::FindOptions frmScriptEditor::findOptions(bool backwards) const
{
    return {m_chkMatchCase->isChecked(), m_chkWholeWord->isChecked(), backwards};
}

bool frmScriptEditor::findNext(bool backwards)
{
    const QString what = m_txtFind->text();
    const QString text = m_txtScript->toPlainText();
    const QTextCursor cursor = m_txtScript->textCursor();
    const int from = backwards ? cursor.selectionStart() : cursor.selectionEnd();
    const int at = ScriptEditorModel::find(text, what, from, findOptions(backwards));
    if (at < 0) {
        if (!what.isEmpty())
            m_lblStatus->setText(tr("\"%1\" was not found.").arg(what));
        return false;
    }
    QTextCursor found(m_txtScript->document());
    found.setPosition(at);
    found.setPosition(at + int(what.size()), QTextCursor::KeepAnchor);
    m_txtScript->setTextCursor(found);
    m_lblStatus->clear();
    return true;
}

void frmScriptEditor::replaceOne()
{
    const QString what = m_txtFind->text();
    QTextCursor cursor = m_txtScript->textCursor();
    const Qt::CaseSensitivity cs = m_chkMatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() && cursor.selectedText().compare(what, cs) == 0)
        cursor.insertText(m_txtReplace->text());
    findNext();
}

int frmScriptEditor::replaceAll()
{
    QString text = m_txtScript->toPlainText();
    const int n = ScriptEditorModel::replaceAll(&text, m_txtFind->text(), m_txtReplace->text(), findOptions(false));
    if (n > 0) {
        // One step of the editor's own undo.
        QTextCursor all(m_txtScript->document());
        all.select(QTextCursor::Document);
        all.insertText(text);
    }
    m_lblStatus->setText(tr("%n replacement(s).", nullptr, n));
    return n;
}

void frmScriptEditor::apply()
{
    storeText();
    m_model.apply();
    m_btnApply->setEnabled(false);
}

void frmScriptEditor::accept()
{
    apply();
    QDialog::accept();
}

void frmScriptEditor::reject()
{
    storeText();
    if (m_model.anyModified()) {
        const MessageResult answer = m_ui.messageBox(tr("Discard the changes made to the scripts?"), tr("脚本编辑"),
                                                     MessageButtons::YesNo, MessageIcon::Question);
        if (answer != MessageResult::Yes)
            return;
    }
    QDialog::reject();
}

} // namespace Orv
