#pragma once

#include "engine/core/status.h"

#include <QFont>
#include <QStyledItemDelegate>
#include <QVariant>

#include <optional>

class QLineEdit;
class QToolButton;

namespace Orv {

// What the property list asks of the desktop: the colour, font and file
// dialogs, the multi-line text editor and the error box. The list opens no
// dialog of its own; the host gives it these (ui/uipropertydialogs.h puts
// them on the program's Ui seam).
class PropertyDialogs
{
public:
    virtual ~PropertyDialogs() = default;
    // Colour numbers 0x00BBGGRR. Nothing when cancelled.
    virtual std::optional<int> chooseColor(int color) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &font) = 0;
    // The chosen image file, or an empty text when cancelled.
    virtual QString choosePicture() = 0;
    // title: the property's name.
    virtual std::optional<QString> editText(const QString &title, const QString &text) = 0;
    // An edit was refused.
    virtual void showError(const Status &status) = 0;
};

// The editor of values that have a dialog: a line (editable or not) with
// a "..." button and, for pictures, a clear button. It ends the edit
// itself when the dialog returns or the line is left.
class ButtonEditor : public QWidget
{
    Q_OBJECT

public:
    ButtonEditor(bool editableLine, bool clearButton, QWidget *parent);

    void setText(const QString &text); // what the line shows
    // The value to commit; valid only once the user changed something.
    QVariant value() const { return m_value; }
    bool changed() const { return m_changed; }
    void setValue(const QVariant &value); // marks the edit changed
    bool inDialog() const { return m_inDialog; }

    QLineEdit *line() const { return m_line; }

Q_SIGNALS:
    void buttonClicked();
    void clearClicked();
    // The user is done: commit (when changed) and close.
    void finished();

private:
    void finish();

    QLineEdit *m_line;
    QToolButton *m_button;
    QToolButton *m_clear = nullptr;
    QVariant m_value;
    bool m_changed = false;
    bool m_inDialog = false;
    bool m_finished = false;

    friend class PropertyDelegate;
};

// Creates the editor for a property by its kind: a line for texts and
// numbers, a list of names for enumerations, a font family list, and
// ButtonEditors for colours, fonts, pictures and long texts. Booleans are
// check boxes in the tree and need no editor.
class PropertyDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    PropertyDelegate(PropertyDialogs *dialogs, QObject *parent);
    void setDialogs(PropertyDialogs *dialogs) { m_dialogs = dialogs; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void runDialog(ButtonEditor *editor, const QPersistentModelIndex &index) const;
    void endEdit(QWidget *editor) const;

    PropertyDialogs *m_dialogs; // null: the buttons ask nothing
};

} // namespace Orv
