#pragma once
// A coolbar: toolbars as bands side by side, wrapping onto further rows
// when the window is too narrow. Its height follows the bands shown and
// how they wrap; the page lays itself out again when it changes.
#include <QList>
#include <QWidget>

class QToolBar;

namespace Orv {

class Coolbar : public QWidget
{
    Q_OBJECT

public:
    explicit Coolbar(QWidget *parent = nullptr);

    void addBand(QToolBar *band);
    QToolBar *band(const QString &name) const;
    // Shows or hides the band of that object name.
    void setBandVisible(const QString &name, bool visible);
    bool isBandVisible(const QString &name) const;
    // The height the bands need at width.
    int heightFor(int width) const;
    QSize sizeHint() const override;

Q_SIGNALS:
    void heightChanged(int height);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int arrange(int width, bool apply) const;
    void relayout();

    QList<QToolBar *> m_bands;
    int m_lastHeight = -1;
};

} // namespace Orv
