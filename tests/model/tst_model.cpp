#include "engine/model/chart.h"
#include "engine/model/controlregistry.h"
#include "engine/model/controls.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QSignalSpy>
#include <QTest>

using namespace Orv;

namespace {
QStringList sectionNames(const Report &r)
{
    QStringList names;
    for (const Section *s : *r.sections())
        names << s->name();
    return names;
}
} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newReportHasPageHeaderDetailPageFooter()
    {
        Report r;
        QCOMPARE(sectionNames(r), (QStringList{"PageHeader", "Detail", "PageFooter"}));
        QCOMPARE(r.sections()->Item(1)->type(), Section::Detail);
        QCOMPARE(r.sections()->Item(QStringLiteral("detail")), r.sections()->Item(1));
        QVERIFY(!r.sections()->Item(3));
        QVERIFY(!r.IsDirty());
    }

    void controlsByTypeIdentifier()
    {
        Report r;
        Section *detail = r.sections()->Item(QStringLiteral("Detail"));
        // Identifiers compare without regard to case.
        Control *a = detail->controls()->Add(QStringLiteral("orvEngine.Field"));
        Control *b = r.sections()->Item(0)->controls()->Add(QStringLiteral("OrvEngine.Checkbox"));
        Control *c = detail->controls()->Add(QStringLiteral("OrvEngine.Field"));
        QVERIFY(a && b && c);
        QCOMPARE(a->typeId(), QStringLiteral("OrvEngine.Field"));
        QCOMPARE(b->typeId(), QStringLiteral("OrvEngine.CheckBox"));
        // Names are unique across the report, not per section.
        QCOMPARE(a->name(), QStringLiteral("Field1"));
        QCOMPARE(c->name(), QStringLiteral("Field2"));
        QCOMPARE(c->section(), detail);
        QCOMPARE(c->report(), &r);

        Status status;
        QVERIFY(!detail->controls()->Add(QStringLiteral("OrvEngine.Gauge"), &status));
        QCOMPARE(status.number(), 429);
        QVERIFY(status.description().contains(QStringLiteral("OrvEngine.Gauge")));
        QCOMPARE(detail->controls()->Count(), 2);

        // Every built-in kind can be made and names itself.
        for (const QString &id : ControlRegistry::builtIn().typeIds()) {
            std::unique_ptr<Control> made(ControlRegistry::builtIn().create(id.toUpper()));
            QVERIFY2(made, qPrintable(id));
            QCOMPARE(made->typeId(), id);
        }
        QCOMPARE(ControlRegistry::builtIn().typeIds().size(), 15);
    }

    void propertiesThroughReflection()
    {
        Report r;
        Control *field = r.sections()->Item(1)->controls()->Add(QStringLiteral("OrvEngine.Field"));
        QVERIFY(Reflection::setValue(field, QStringLiteral("font.bold"), true).ok());
        QCOMPARE(static_cast<Field *>(field)->font()->bold(), true);
        QVERIFY(Reflection::setValue(field, QStringLiteral("Left"), QStringLiteral("720")).ok());
        QCOMPARE(field->left(), 720.0);
        QCOMPARE(Reflection::value(field, QStringLiteral("LEFT")).toDouble(), 720.0);

        QCOMPARE(Reflection::setValue(field, QStringLiteral("Colour"), 1).number(), 438);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Font.Weight"), 1).number(), 438);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Left.X"), 1).number(), 438);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Alignment"), 7).number(), 380);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Width"), -1).number(), 380);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Left"), 1e30).number(), 380);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Left"), std::nan("")).number(), 380);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Left"), QStringLiteral("abc")).number(), 13);
        QCOMPARE(Reflection::setValue(field, QStringLiteral("Font.Bold"), QStringLiteral("maybe")).number(), 13);
        QCOMPARE(Reflection::setValue(r.sections()->Item(0), QStringLiteral("Type"), 4).number(), 383);
        // Failed writes change nothing.
        QCOMPARE(field->left(), 720.0);
        QCOMPARE(r.sections()->Item(0)->type(), Section::PageHeader);

        // System colours (0x80000000 | index) are stored as they come.
        QVERIFY(Reflection::setValue(field, QStringLiteral("ForeColor"), int(0x80000008)).ok());
        QCOMPARE(static_cast<Field *>(field)->foreColor(), int(0x80000008));

        Section *detail = r.sections()->Item(1);
        detail->setRepeatSection(true);
        QCOMPARE(detail->repeatStyle(), 3);
        QCOMPARE(Reflection::value(detail, QStringLiteral("RepeatSection")).toBool(), true);
    }

    void lineBoxFollowsEndPoints()
    {
        Line line;
        line.setX1(2000);
        line.setY1(500);
        line.setX2(1000);
        line.setY2(100);
        QCOMPARE(line.left(), 1000.0);
        QCOMPARE(line.top(), 100.0);
        QCOMPARE(line.width(), 1000.0);
        QCOMPARE(line.height(), 400.0);
        line.setLeft(0); // moves both ends
        QCOMPARE(line.x1(), 1000.0);
        QCOMPARE(line.x2(), 0.0);
        line.setWidth(300); // keeps the left end
        QCOMPARE(line.x2(), 0.0);
        QCOMPARE(line.x1(), 300.0);
    }

    void sectionsAndGroupPairs()
    {
        Report r;
        Sections *s = r.sections();
        Section *outer = s->addGroupPair();
        Section *inner = s->addGroupPair();
        QCOMPARE(sectionNames(r), (QStringList{"PageHeader", "GroupHeader1", "GroupHeader2", "Detail", "GroupFooter2",
                                               "GroupFooter1", "PageFooter"}));
        QCOMPARE(s->groupFooterFor(outer)->name(), QStringLiteral("GroupFooter1"));
        QCOMPARE(s->groupFooterFor(inner)->name(), QStringLiteral("GroupFooter2"));
        QCOMPARE(s->groupHeaderFor(s->Item(QStringLiteral("GroupFooter1"))), outer);
        QVERIFY(s->addReportHeaderFooter().ok());
        QVERIFY(!s->addReportHeaderFooter().ok());
        QCOMPARE(s->Item(0)->type(), Section::ReportHeader);
        QCOMPARE(s->Item(s->Count() - 1)->type(), Section::ReportFooter);

        QVERIFY(s->removeGroupPair(outer).ok());
        QCOMPARE(s->countOfType(Section::GroupHeader), 1);
        QCOMPARE(s->countOfType(Section::GroupFooter), 1);
        QVERIFY(s->validate().ok());
        // A single remove can break a pair; validate says so.
        QVERIFY(s->Remove(s->indexOf(inner)).ok());
        QVERIFY(!s->validate().ok());

        Status status;
        QVERIFY(!s->Add(QStringLiteral("X"), 0, Section::Type(7), 100, &status));
        QCOMPARE(status.number(), 5);
        QVERIFY(!s->Add(QStringLiteral("X"), 99, Section::Detail, 100, &status));
        QCOMPARE(status.number(), 9);
        QVERIFY(!s->Add(QStringLiteral("X"), 0, Section::Detail, -5, &status));
        QCOMPARE(status.number(), 380);
        QCOMPARE(s->Remove(-1).number(), 9);
        Section *added = s->Add(QString(), 1, Section::GroupHeader, 500, &status);
        QVERIFY(added && status.ok());
        QCOMPARE(s->indexOf(added), 1);
        QCOMPARE(added->height(), 500.0);
    }

    void dirtyStateAndNewLayout()
    {
        Report r;
        QSignalSpy dirty(&r, &Report::dirtyChanged);
        r.sections()->Item(1)->setHeight(2000);
        QVERIFY(r.IsDirty());
        QCOMPARE(dirty.count(), 1);
        r.setIsDirty(false);
        // A setter that does not change the value leaves the report clean.
        r.sections()->Item(1)->setHeight(2000);
        QVERIFY(!r.IsDirty());
        auto *label = static_cast<Label *>(r.sections()->Item(0)->controls()->Add(QStringLiteral("OrvEngine.Label")));
        label->font()->setSize(14); // a part's change reaches the report
        QVERIFY(r.IsDirty());
        r.setDocumentName(QStringLiteral("Changed"));
        r.NewLayout();
        QVERIFY(!r.IsDirty());
        QCOMPARE(r.documentName(), QStringLiteral("OrvReport Document"));
        QCOMPARE(sectionNames(r), (QStringList{"PageHeader", "Detail", "PageFooter"}));
        QCOMPARE(r.allControls().size(), size_t(0));
    }

    void copyLayoutIsDeepAndIndependent()
    {
        Report source;
        source.setScript(QStringLiteral("Sub OnReportStart\r\nEnd Sub"));
        source.pageSettings()->setOrientation(2);
        source.sections()->addGroupPair()->setDataField(QStringLiteral("Country"));
        auto *chart = static_cast<Chart *>(source.sections()->Item(1)->controls()->Add(QStringLiteral("OrvEngine.Chart")));
        chart->title()->backdrop()->fill()->brush()->fillColor()->Set(10, 20, 30);
        chart->setTitleText(QStringLiteral("Sales"));
        source.setIsDirty(false);

        Report target;
        target.sections()->Item(1)->controls()->Add(QStringLiteral("OrvEngine.Label"));
        source.CopyLayoutTo(&target);
        QVERIFY(target.IsDirty());
        QVERIFY(!source.IsDirty());
        QCOMPARE(sectionNames(target), sectionNames(source));
        QCOMPARE(target.script(), source.script());
        QCOMPARE(target.pageSettings()->orientation(), 2);
        QCOMPARE(target.sections()->Item(1)->dataField(), QStringLiteral("Country"));
        QCOMPARE(target.allControls().size(), size_t(1));
        auto *copy = qobject_cast<Chart *>(target.allControls().front());
        QVERIFY(copy && copy != chart);
        QCOMPARE(copy->name(), chart->name());
        QCOMPARE(copy->title()->backdrop()->fill()->brush()->fillColor()->green(), 20);
        // Changing the copy leaves the original alone.
        copy->setTitleText(QStringLiteral("Other"));
        QCOMPARE(chart->titleText(), QStringLiteral("Sales"));
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
