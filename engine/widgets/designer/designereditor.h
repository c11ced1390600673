#pragma once
// Editing a control's text where it stands: a label's or check box's
// caption, a text box's data field, or a rich-text control's formatted
// text. The editor lies over the control at its size and font; Enter (Ctrl+Enter
// in rich text) or a click elsewhere keeps the text, Escape drops it.
#include "engine/widgets/designer/designeractions.h"
#include "engine/widgets/designer/designercore.h"

#include <QGraphicsTextItem>
#include <QPointer>
#include <QTextCharFormat>

namespace Orv {

class Control;

class InPlaceEditor : public QGraphicsTextItem, public DesignerTextEditor
{
    Q_OBJECT

public:
    InPlaceEditor(DesignerCore *core, Control *control);
    ~InPlaceEditor() override;

    Control *control() const { return m_control; }
    // The edited text as the control stores it (RTF for rich text).
    QString result() const;
    bool changed() const;

    int actionState(DesignerAction::Code code) const override;
    bool executeAction(DesignerAction::Code code) override;
    bool isRich() const override { return m_rich; }

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

Q_SIGNALS:
    void finished(bool keep);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void copy(bool cut);
    void paste();
    void mergeFormat(const QTextCharFormat &format);
    void takeControlLook();

    QPointer<DesignerCore> m_core; // an editor let go may outlive the designer
    Control *m_control;
    bool m_rich;
    QString m_original;
};

} // namespace Orv
