#include "engine/widgets/designer/designereditor.h"
#include "engine/look/controllook.h"

#include "engine/core/units.h"
#include "engine/model/controls.h"
#include "engine/pages/fontresolver.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/look/richtext.h"
#include "engine/widgets/designer/designitempainter.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace Orv {

using namespace DesignerAction;

namespace {

constexpr double Unit = Units::TwipsPerPixel; // twips per document unit

// Point sizes convert at 96 dpi whatever the screen, as on pages.
QPaintDevice *referenceDevice()
{
    thread_local QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return &device;
}

QString textOf(const Control *control)
{
    if (auto *l = qobject_cast<const Label *>(control))
        return l->caption();
    if (auto *b = qobject_cast<const CheckBox *>(control))
        return b->caption();
    if (auto *r = qobject_cast<const RichEdit *>(control))
        return r->text();
    if (auto *f = qobject_cast<const Field *>(control))
        return f->dataField();
    return QString();
}

PageFont pageFontOf(const Control *control)
{
    if (auto *t = qobject_cast<const TextControl *>(control))
        return Look::pageFont(*t->font());
    return PageFont();
}

} // namespace

InPlaceEditor::InPlaceEditor(DesignerCore *core, Control *control)
    : m_core(core)
    , m_control(control)
    , m_rich(qobject_cast<RichEdit *>(control) != nullptr)
    , m_original(textOf(control))
{
    document()->documentLayout()->setPaintDevice(referenceDevice());
    document()->setDocumentMargin(0);
    setScale(Unit);
    setPos(control->left(), control->top());
    setTextInteractionFlags(Qt::TextEditorInteraction);
    takeControlLook();
    if (m_rich)
        RichText::load(document(), m_original);
    else
        document()->setPlainText(m_original);
    document()->setModified(false);
    document()->clearUndoRedoStacks();
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    setTextCursor(all);
    setZValue(1e9);
}

InPlaceEditor::~InPlaceEditor()
{
    // Deleted with its band, the editor must not stay the designer's.
    if (m_core && m_core->textEditor() == this)
        m_core->setTextEditor(nullptr);
}

void InPlaceEditor::takeControlLook()
{
    const PageFont base = pageFontOf(m_control);
    QFont font(FontResolver::instance().familyFor(base.family));
    font.setPointSizeF(std::clamp(base.pointSize, 1.0, 1000.0));
    font.setBold(base.bold);
    font.setItalic(base.italic);
    font.setUnderline(base.underline);
    font.setStrikeOut(base.strikeOut);
    document()->setDefaultFont(font);
    setTextWidth(std::max(30.0, m_control->width()) / Unit);
    if (auto *t = qobject_cast<TextControl *>(m_control)) {
        setDefaultTextColor(QColor::fromRgb(Look::color(t->foreColor())));
        if (!m_rich) {
            QTextOption option = document()->defaultTextOption();
            const int a = t->alignment();
            option.setAlignment(a == 1 ? Qt::AlignRight : a == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
            document()->setDefaultTextOption(option);
        }
    }
}

QString InPlaceEditor::result() const
{
    if (m_rich)
        return RichText::toRtf(document(), pageFontOf(m_control));
    return document()->toPlainText();
}

bool InPlaceEditor::changed() const
{
    return document()->isModified();
}

QRectF InPlaceEditor::boundingRect() const
{
    const QRectF box(0, 0, m_control->width() / Unit, m_control->height() / Unit);
    return QGraphicsTextItem::boundingRect().united(box).adjusted(-2, -2, 2, 2);
}

void InPlaceEditor::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    const QRectF box = QGraphicsTextItem::boundingRect().united(QRectF(0, 0, m_control->width() / Unit,
                                                                         m_control->height() / Unit));
    painter->fillRect(box, Qt::white);
    QGraphicsTextItem::paint(painter, option, widget);
    QPen frame(QColor(40, 90, 200), 0);
    frame.setCosmetic(true);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(box.adjusted(-1, -1, 1, 1));
}

void InPlaceEditor::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT finished(false);
        return;
    }
    if (enter && (m_rich ? bool(event->modifiers() & Qt::ControlModifier) : !(event->modifiers() & Qt::ShiftModifier))) {
        Q_EMIT finished(true);
        return;
    }
    if (event->matches(QKeySequence::Bold) && m_rich) {
        executeAction(Bold);
        return;
    }
    if (event->matches(QKeySequence::Italic) && m_rich) {
        executeAction(Italic);
        return;
    }
    if (event->matches(QKeySequence::Underline) && m_rich) {
        executeAction(Underline);
        return;
    }
    QGraphicsTextItem::keyPressEvent(event);
}

void InPlaceEditor::keyReleaseEvent(QKeyEvent *event)
{
    QGraphicsTextItem::keyReleaseEvent(event);
    m_core->refreshActionStates();
}

void InPlaceEditor::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsTextItem::mouseReleaseEvent(event);
    m_core->refreshActionStates();
}

int InPlaceEditor::actionState(DesignerAction::Code code) const
{
    const QTextCursor cursor = textCursor();
    switch (code) {
    case Cut:
    case Copy:
        return cursor.hasSelection() ? Enabled : 0;
    case Paste: {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasText() ? Enabled : 0;
    }
    case Undo:
        return document()->isUndoAvailable() ? Enabled : 0;
    case Delete:
        return document()->isEmpty() ? 0 : Enabled;
    default:
        break;
    }
    if (!m_rich)
        return -1;
    const QTextCharFormat f = cursor.charFormat();
    switch (code) {
    case Bold: return Enabled | (f.fontWeight() >= QFont::Bold ? Checked : 0);
    case Italic: return Enabled | (f.fontItalic() ? Checked : 0);
    case Underline: return Enabled | (f.fontUnderline() ? Checked : 0);
    case AlignLeft:
    case AlignCenter:
    case AlignRight: {
        const Qt::Alignment a = cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        const bool on = code == AlignLeft ? !(a & (Qt::AlignHCenter | Qt::AlignRight | Qt::AlignJustify))
                      : code == AlignCenter ? bool(a & Qt::AlignHCenter)
                                            : bool(a & Qt::AlignRight);
        return Enabled | (on ? Checked : 0);
    }
    case Bullet: return Enabled | (RichText::hasBullets(cursor) ? Checked : 0);
    case Indent: return Enabled;
    case Outdent: return RichText::isIndented(cursor) ? Enabled : 0;
    case InsertField:
    case ForeColor:
    case FontName:
    case FontSize:
        return m_core->prompts() ? Enabled : 0;
    case Style:
    case BackColor:
    case LineStyle:
    case LineColor:
    case DesignerAction::Border:
        return 0;
    default:
        return -1;
    }
}

void InPlaceEditor::copy(bool cut)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;
    auto *data = new QMimeData;
    const QTextDocumentFragment fragment = cursor.selection();
    data->setText(fragment.toPlainText());
    if (m_rich)
        data->setHtml(fragment.toHtml());
    QGuiApplication::clipboard()->setMimeData(data);
    if (cut) {
        cursor.removeSelectedText();
        setTextCursor(cursor);
    }
}

void InPlaceEditor::paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    QTextCursor cursor = textCursor();
    if (m_rich && data->hasHtml())
        cursor.insertFragment(QTextDocumentFragment::fromHtml(data->html()));
    else if (data->hasText())
        cursor.insertText(data->text());
    setTextCursor(cursor);
}

void InPlaceEditor::mergeFormat(const QTextCharFormat &format)
{
    // Without a selection this sets the format of what is typed next.
    QTextCursor cursor = textCursor();
    cursor.mergeCharFormat(format);
    setTextCursor(cursor);
}

bool InPlaceEditor::executeAction(DesignerAction::Code code)
{
    QTextCursor cursor = textCursor();
    const QTextCharFormat current = cursor.charFormat();
    QTextCharFormat f;
    switch (code) {
    case Cut: copy(true); return true;
    case Copy: copy(false); return true;
    case Paste: paste(); return true;
    case Undo:
        document()->undo(&cursor);
        setTextCursor(cursor);
        return true;
    case Delete:
        if (cursor.hasSelection())
            cursor.removeSelectedText();
        else
            cursor.deleteChar();
        setTextCursor(cursor);
        return true;
    default:
        break;
    }
    if (!m_rich)
        return false;
    switch (code) {
    case Bold:
        f.setFontWeight(current.fontWeight() >= QFont::Bold ? QFont::Normal : QFont::Bold);
        mergeFormat(f);
        return true;
    case Italic:
        f.setFontItalic(!current.fontItalic());
        mergeFormat(f);
        return true;
    case Underline:
        f.setFontUnderline(!current.fontUnderline());
        mergeFormat(f);
        return true;
    case AlignLeft:
    case AlignCenter:
    case AlignRight: {
        QTextBlockFormat bf;
        bf.setAlignment(code == AlignLeft ? Qt::AlignLeft : code == AlignCenter ? Qt::AlignHCenter : Qt::AlignRight);
        cursor.mergeBlockFormat(bf);
        setTextCursor(cursor);
        return true;
    }
    case Bullet:
        RichText::toggleBullets(cursor);
        return true;
    case Indent:
    case Outdent:
        RichText::indent(cursor, code == Indent ? 1 : -1);
        return true;
    default:
        break;
    }
    DesignerPrompts *prompts = m_core->prompts();
    if (!prompts)
        return false;
    switch (code) {
    case InsertField: {
        const auto name = prompts->chooseFieldName();
        if (!name || name->trimmed().isEmpty())
            return false;
        cursor.insertText(QStringLiteral("[!%1]").arg(name->trimmed()));
        setTextCursor(cursor);
        return true;
    }
    case ForeColor: {
        const QColor c = current.foreground().color();
        const auto chosen = prompts->chooseColor(code, c.red() | (c.green() << 8) | (c.blue() << 16));
        if (!chosen)
            return false;
        f.setForeground(QColor::fromRgb(Look::color(*chosen)));
        mergeFormat(f);
        return true;
    }
    case FontName: {
        const QFont qf = current.font();
        const QStringList families = current.fontFamilies().toStringList();
        DesignerFont initial{families.isEmpty() ? pageFontOf(m_control).family : families.front(),
                             current.fontPointSize() > 0 ? current.fontPointSize() : pageFontOf(m_control).pointSize,
                             qf.bold(), qf.italic(), qf.underline(), qf.strikeOut()};
        const auto chosen = prompts->chooseFont(initial);
        if (!chosen)
            return false;
        f.setFontFamilies({chosen->name});
        f.setFontPointSize(chosen->size);
        f.setFontWeight(chosen->bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(chosen->italic);
        f.setFontUnderline(chosen->underline);
        f.setFontStrikeOut(chosen->strikethrough);
        mergeFormat(f);
        return true;
    }
    case FontSize: {
        const auto size = prompts->chooseFontSize(current.fontPointSize() > 0 ? current.fontPointSize()
                                                                             : pageFontOf(m_control).pointSize);
        if (!size || *size < 1 || *size > 1638)
            return false;
        f.setFontPointSize(*size);
        mergeFormat(f);
        return true;
    }
    default:
        return false;
    }
}

} // namespace Orv
