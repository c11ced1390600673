#include "designertesting.h"
#include <QTest>
class TestDesignerWidget : public QObject { Q_OBJECT };
QTEST_MAIN(TestDesignerWidget)
#include "tst_designerwidget.moc"
