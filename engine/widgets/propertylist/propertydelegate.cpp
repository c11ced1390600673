#include "engine/widgets/propertylist/propertydelegate.h"

#include "engine/widgets/propertylist/propertymodel.h"
#include "engine/widgets/propertylist/propertytext.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

namespace Orv {

ButtonEditor::ButtonEditor(bool editableLine, bool clearButton, QWidget *parent)
    : QWidget(parent)
    , m_line(new QLineEdit(this))
    , m_button(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_line->setFrame(false);
    m_line->setReadOnly(!editableLine);
    layout->addWidget(m_line, 1);
    // The buttons take no focus, so clicking them does not end the edit.
    m_button->setText(QStringLiteral("…"));
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setToolTip(tr("选择"));
    layout->addWidget(m_button);
    if (clearButton) {
        m_clear = new QToolButton(this);
        m_clear->setText(QStringLiteral("×"));
        m_clear->setToolTip(tr("清除"));
        m_clear->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(m_clear);
        connect(m_clear, &QToolButton::clicked, this, [this] {
            setValue(QString());
            finish();
        });
    }
    setFocusProxy(m_line);
    setAutoFillBackground(true);
    connect(m_button, &QToolButton::clicked, this, &ButtonEditor::buttonClicked);
    connect(m_line, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_value = text;
        m_changed = true;
    });
    // Leaving the line ends the edit, but not while a dialog of ours is open.
    connect(m_line, &QLineEdit::editingFinished, this, [this] {
        if (!m_inDialog)
            finish();
    });
}

void ButtonEditor::setText(const QString &text)
{
    m_line->setText(text);
    m_line->setCursorPosition(0);
}

void ButtonEditor::setValue(const QVariant &value)
{
    m_value = value;
    m_changed = true;
}

void ButtonEditor::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    Q_EMIT finished();
}

PropertyDelegate::PropertyDelegate(PropertyDialogs *dialogs, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_dialogs(dialogs)
{
}

namespace {

PropertyKind kindOf(const QModelIndex &index)
{
    return PropertyKind(index.data(PropertyModel::KindRole).toInt());
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

const char *const OriginalText = "orvOriginalText";
const char *const Loaded = "orvLoaded";

} // namespace

QWidget *PropertyDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const PropertyKind kind = kindOf(index);
    const QPersistentModelIndex persistent(index);
    switch (kind) {
    case PropertyKind::Enumeration: {
        auto *combo = new QComboBox(parent);
        const QStringList names = index.data(PropertyModel::ChoicesRole).toStringList();
        const QVariantList values = index.data(PropertyModel::ChoiceValuesRole).toList();
        for (qsizetype i = 0; i < names.size(); ++i)
            combo->addItem(names[i], values.value(i));
        combo->setEditable(index.data(PropertyModel::OpenChoicesRole).toBool());
        combo->setMaxVisibleItems(20);
        // Choosing from the list is the whole edit.
        connect(combo, &QComboBox::activated, this, [this, combo] { endEdit(combo); });
        return combo;
    }
    case PropertyKind::FontName: {
        auto *combo = new QFontComboBox(parent);
        connect(combo, &QComboBox::activated, this, [this, combo] { endEdit(combo); });
        return combo;
    }
    case PropertyKind::LongText:
    case PropertyKind::Color:
    case PropertyKind::Picture:
    case PropertyKind::Font: {
        const bool editable = kind == PropertyKind::LongText || kind == PropertyKind::Color;
        auto *editor = new ButtonEditor(editable, kind == PropertyKind::Picture, parent);
        connect(editor, &ButtonEditor::buttonClicked, this, [this, editor, persistent] { runDialog(editor, persistent); });
        connect(editor, &ButtonEditor::finished, this, [this, editor] { endEdit(editor); });
        return editor;
    }
    case PropertyKind::Boolean:
    case PropertyKind::Part:
        return nullptr;
    default: {
        auto *line = new QLineEdit(parent);
        line->setFrame(false);
        return line;
    }
    }
}

void PropertyDelegate::endEdit(QWidget *editor) const
{
    auto *self = const_cast<PropertyDelegate *>(this);
    Q_EMIT self->commitData(editor);
    Q_EMIT self->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void PropertyDelegate::runDialog(ButtonEditor *editor, const QPersistentModelIndex &index) const
{
    if (!index.isValid() || editor->m_inDialog || !m_dialogs)
        return;
    const QPointer<ButtonEditor> guard(editor);
    editor->m_inDialog = true;
    // The view may drop the editor while a dialog is open (the objects
    // went away): the guard tells.
    const QString name = index.sibling(index.row(), PropertyModel::NameColumn).data().toString();
    switch (kindOf(index)) {
    case PropertyKind::LongText: {
        const QString current = editor->changed() ? editor->value().toString()
                                                  : index.data(PropertyModel::ValueRole).toString();
        const auto text = m_dialogs->editText(name, current);
        if (guard && text && *text != current)
            editor->setValue(*text);
        break;
    }
    case PropertyKind::Color: {
        int color = index.data(PropertyModel::ValueRole).toInt();
        std::ignore = PropertyText::parseColor(editor->line()->text(), &color); // text that is no colour starts the dialog at the stored one
        const auto chosen = m_dialogs->chooseColor(color);
        if (guard && chosen) {
            editor->setValue(*chosen);
            editor->setText(PropertyText::formatColor(*chosen));
        }
        break;
    }
    case PropertyKind::Picture: {
        const QString path = m_dialogs->choosePicture();
        if (guard && !path.isEmpty())
            editor->setValue(path);
        break;
    }
    case PropertyKind::Font: {
        const auto font = m_dialogs->chooseFont(index.data(Qt::EditRole).value<QFont>());
        if (guard && font)
            editor->setValue(*font);
        break;
    }
    default:
        break;
    }
    if (!guard)
        return;
    editor->m_inDialog = false;
    if (editor->changed())
        editor->finish();
    else
        editor->line()->setFocus();
}

void PropertyDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    // Only the first time: later value refreshes must not overwrite what
    // the user is typing.
    if (editor->property(Loaded).toBool())
        return;
    editor->setProperty(Loaded, true);
    const QString text = index.data(Qt::EditRole).toString();
    editor->setProperty(OriginalText, text);
    if (auto *button = qobject_cast<ButtonEditor *>(editor)) {
        const PropertyKind kind = kindOf(index);
        if (kind == PropertyKind::Picture || kind == PropertyKind::Font) {
            button->setText(index.data(Qt::DisplayRole).toString());
        } else if (kind == PropertyKind::LongText && hasLineBreak(text)) {
            // Several lines edit in the dialog only.
            button->line()->setReadOnly(true);
            button->setText(index.data(Qt::DisplayRole).toString());
        } else {
            button->setText(text);
        }
    } else if (auto *font = qobject_cast<QFontComboBox *>(editor)) {
        font->setEditText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const bool mixed = index.data(PropertyModel::MixedRole).toBool();
        const int at = mixed ? -1 : combo->findData(index.data(PropertyModel::ValueRole));
        combo->setCurrentIndex(at);
        if (combo->isEditable())
            combo->setEditText(text);
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(text);
        line->selectAll();
    }
}

void PropertyDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString original = editor->property(OriginalText).toString();
    if (auto *button = qobject_cast<ButtonEditor *>(editor)) {
        if (button->changed())
            model->setData(index, button->value());
    } else if (auto *font = qobject_cast<QFontComboBox *>(editor)) {
        if (font->currentText() != original)
            model->setData(index, font->currentText());
    } else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const int at = combo->currentIndex();
        if (at >= 0 && combo->currentText() == combo->itemText(at)) {
            const QVariant value = combo->itemData(at);
            if (index.data(PropertyModel::MixedRole).toBool() || value != index.data(PropertyModel::ValueRole))
                model->setData(index, value);
        } else if (combo->currentText() != original) {
            model->setData(index, combo->currentText());
        }
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        if (line->text() != original)
            model->setData(index, line->text());
    }
}

void PropertyDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}

QSize PropertyDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 8));
    return size;
}

} // namespace Orv
