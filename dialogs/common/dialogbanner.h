#pragma once
// The white strip across the top of a dialog: a bold title and, indented
// below it, a subtitle.
#include <QFrame>

class QLabel;

namespace Orv {

class DialogBanner : public QFrame
{
    Q_OBJECT

public:
    explicit DialogBanner(const QString &title = QString(), const QString &subtitle = QString(),
                          QWidget *parent = nullptr);
    QLabel *title() const { return m_title; }
    QLabel *subtitle() const { return m_subtitle; }

private:
    QLabel *m_title;
    QLabel *m_subtitle;
};

} // namespace Orv
