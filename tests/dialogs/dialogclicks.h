#pragma once
// What the dialog suites do with the keyboard and mouse, as a user would.
#include "dialogs/common/topicpages.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace DialogTest {

// Clicks a topic of the dialog's tree.
inline void clickTopic(Orv::TopicDialog &dialog, const QString &key)
{
    QTreeWidget *tv = dialog.tv();
    const QRect r = tv->visualItemRect(dialog.topic(key));
    QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, r.center());
}

// A key press, as a click in a wide row may miss the box's text.
inline void toggle(QAbstractButton *button)
{
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
}

// Replaces the box's text by typing.
inline void retype(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace DialogTest
