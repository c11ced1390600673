#pragma once
// The white strip across the top of a dialog with its title and subtitle.
#include <QFrame>

namespace Orv {

class DialogBanner : public QFrame
{
    Q_OBJECT

public:
    DialogBanner(const QString &title, const QString &subtitle, QWidget *parent = nullptr);
};

} // namespace Orv
