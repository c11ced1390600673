#pragma once
// frmScriptEditor: the scripts of the design, the report's and each
// section's, in one window: a list of their owners, the code with line
// numbers and colouring, find and replace, and a check that compiles the
// script shown and puts the cursor where it fails. OK and Apply write the
// changed scripts into the design as one undo step.
#include "dialogs/scripteditor/scripteditormodel.h"

#include <QDialog>
#include <QPlainTextEdit>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace Orv {

class Ui;

// A plain-text editor with a line-number margin.
class CodeEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CodeEdit(QWidget *parent = nullptr);
    int lineNumberWidth() const;
    void paintLineNumbers(QPaintEvent *event);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_margin;
};

class frmScriptEditor : public QDialog
{
    Q_OBJECT

public:
    // current: the entry shown first (the report's, or a section's).
    frmScriptEditor(ScriptEditorModel &model, Ui &ui, int current = 0, QWidget *parent = nullptr);

    CodeEdit *txtScript() const { return m_txtScript; }
    QListWidget *lstObjects() const { return m_lstObjects; }
    QLineEdit *txtFind() const { return m_txtFind; }
    QLineEdit *txtReplace() const { return m_txtReplace; }
    QLabel *lblStatus() const { return m_lblStatus; }

    void showEntry(int index);
    // The check of the script shown; true when it compiles.
    bool checkScript();
    bool findNext(bool backwards = false);
    void replaceOne();
    int replaceAll();

    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void storeText();
    void apply();
    ScriptEditorModel::FindOptions findOptions(bool backwards) const;

    ScriptEditorModel &m_model;
    Ui &m_ui;
    int m_current = -1;
    QListWidget *m_lstObjects;
    CodeEdit *m_txtScript;
    QLineEdit *m_txtFind;
    QLineEdit *m_txtReplace;
    QCheckBox *m_chkMatchCase;
    QCheckBox *m_chkWholeWord;
    QLabel *m_lblStatus;
    QPushButton *m_btnApply;
};

} // namespace Orv
