#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/propertylist/propertydelegate.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/propertylist/propertymodel.h"
#include "engine/widgets/propertylist/propertyset.h"
#include "ui/recordingui.h"
#include "ui/uipropertydialogs.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

using namespace Orv;

namespace {

template<typename T>
T *add(Report &r, const char *section = "Detail")
{
    return static_cast<T *>(r.sections()->Item(QLatin1String(section))->controls()->Add(T::staticTypeId()));
}

Control *control(Report &r, const char *name)
{
    for (Control *c : r.allControls()) {
        if (c->name() == QLatin1String(name))
            return c;
    }
    return nullptr;
}

QStringList names(const PropertySet &set)
{
    QStringList out;
    for (const auto &n : set.nodes())
        out << n->info.name;
    return out;
}

// The error boxes the list showed through the seam.
QList<RecordingUi::Request> errorBoxes(const RecordingUi &ui)
{
    QList<RecordingUi::Request> out;
    for (const auto &r : ui.requests()) {
        if (r.kind == RecordingUi::Kind::MessageBox && r.title == QStringLiteral("错误: 属性值"))
            out.append(r);
    }
    return out;
}

// An object outside any report that steers its properties with class info.
class TextStyle : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Orv::Font *Font READ font)
    Q_PROPERTY(int Backcolor MEMBER backcolor)
    Q_PROPERTY(int Horizontal MEMBER horizontal)
    Q_PROPERTY(double Indent MEMBER indent)
    Q_PROPERTY(QString Notes MEMBER notes)
    Q_CLASSINFO("category:Backcolor", "Color")
    Q_CLASSINFO("values:Horizontal", "0 Left|1 Right|2 Center")
    Q_CLASSINFO("editor:Indent", "length")
    Q_CLASSINFO("editor:Notes", "color") // not a number: ignored

public:
    Orv::Font *font() const { return m_font; }
    int backcolor = 0xFFFFFF;
    int horizontal = 0;
    double indent = 0;
    QString notes;

private:
    Orv::Font *m_font = new Orv::Font(this);
};

} // namespace

class TestPropertyList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commonPropertiesAndMixedValues()
    {
        Report r;
        auto *a = add<Label>(r);
        auto *b = add<Field>(r);
        auto *line = add<Line>(r);
        a->setLeft(100);
        b->setLeft(200);
        a->setTop(50);
        b->setTop(50);
        a->font()->setBold(true);
        b->setAlignment(2);
        a->setAlignment(2);

        PropertySet set;
        set.setObjects({a, b});
        // Label and field share the text control's properties, not their own.
        QVERIFY(set.node("Font.Bold") && set.node("Alignment") && set.node("DataField") == nullptr);
        QVERIFY(!set.node("Caption"));
        QVERIFY(set.node("Left")->mixed);
        QVERIFY(!set.node("Left")->value.isValid());
        QCOMPARE(set.node("Top")->value.toDouble(), 50.0);
        QVERIFY(set.node("Font.Bold")->mixed);
        QVERIFY(!set.node("Font.Size")->mixed);
        QCOMPARE(set.node("Font")->info.kind, PropertyKind::Font);
        QCOMPARE(set.node("Font.Name")->info.kind, PropertyKind::FontName);
        QCOMPARE(set.node("Alignment")->info.kind, PropertyKind::Enumeration);
        QCOMPARE(set.node("BackColor")->info.kind, PropertyKind::Color);
        QCOMPARE(set.node("Width")->info.kind, PropertyKind::Length);
        QCOMPARE(set.node("Font.Size")->info.kind, PropertyKind::Number);

        PropertyModel model(&set);
        QCOMPARE(model.indexOf(QStringLiteral("Left"), 1).data().toString(), QString());
        QCOMPARE(model.indexOf(QStringLiteral("Alignment"), 1).data().toString(), QStringLiteral("Center"));
        QCOMPARE(model.indexOf(QStringLiteral("Font.Bold"), 1).data(Qt::CheckStateRole).toInt(), int(Qt::PartiallyChecked));
        QCOMPARE(model.indexOf(QStringLiteral("Font"), 1).data().toString(), QStringLiteral("Arial, 10 pt"));
        // Grouped: categories on top, each property once under its own.
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("外观"));
        QCOMPARE(model.indexOf(QStringLiteral("Left")).parent().data().toString(), QStringLiteral("布局"));
        model.setAlphabetic(true);
        QStringList top;
        for (int i = 0; i < model.rowCount(); ++i)
            top << model.index(i, 0).data().toString();
        QStringList sorted = top;
        std::sort(sorted.begin(), sorted.end(), [](const QString &x, const QString &y) {
            return x.compare(y, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(top, sorted);
        QVERIFY(top.contains(QStringLiteral("Font")) && !top.contains(QStringLiteral("外观")));

        // A line shares only the control's own properties with them.
        set.addObject(line);
        QCOMPARE(names(set), (QStringList{"Name", "Tag", "Visible", "Left", "Top", "Width", "Height"}));
        // A section and a control: what both have, the collections never.
        Section *detail = r.sections()->Item(QStringLiteral("Detail"));
        set.setObjects({detail, a});
        QCOMPARE(names(set), (QStringList{"Name", "Tag", "Visible", "Height", "BackColor", "BackStyle"}));
        set.setObjects({detail});
        QVERIFY(!set.node("Controls"));
        QVERIFY(set.node("Type")->info.readOnly);
        QCOMPARE(PropertyModel(&set).indexOf(QStringLiteral("Type"), 1).data().toString(), QStringLiteral("Detail"));
    }

    void classesDescribeTheirOwnProperties()
    {
        TextStyle style;
        QUndoStack stack;
        PropertySet set;
        set.setUndoStack(&stack);
        set.setObjects({&style});
        QCOMPARE(set.node("Font")->info.kind, PropertyKind::Font);
        QCOMPARE(set.node("Backcolor")->info.kind, PropertyKind::Color);
        QCOMPARE(set.node("Backcolor")->info.category, QStringLiteral("Color"));
        QCOMPARE(set.node("Horizontal")->info.kind, PropertyKind::Enumeration);
        QCOMPARE(set.node("Indent")->info.kind, PropertyKind::Length);
        QCOMPARE(set.node("Notes")->info.kind, PropertyKind::Text);
        PropertyModel model(&set);
        QCOMPARE(model.indexOf(QStringLiteral("Backcolor")).parent().data().toString(), QStringLiteral("Color"));

        // Without a report to announce changes, the list still reads its
        // edits and their undoing back.
        QVERIFY(set.setText(QStringLiteral("Horizontal"), QStringLiteral("center")));
        QCOMPARE(style.horizontal, 2);
        QCOMPARE(model.indexOf(QStringLiteral("Horizontal"), 1).data().toString(), QStringLiteral("Center"));
        stack.undo();
        QCOMPARE(style.horizontal, 0);
        QTRY_COMPARE(model.indexOf(QStringLiteral("Horizontal"), 1).data().toString(), QStringLiteral("Left"));
    }

    void editAcrossObjectsIsOneUndoStep()
    {
        Report r;
        QVERIFY(LoadLayout(r, QStringLiteral(ORV_SOURCE_DIR "/examples/invoice.rpx")));
        auto *line = static_cast<Line *>(control(r, "lnOrder"));
        // End points that do not survive moving there and back in floating point.
        line->setX1(0.1);
        line->setX2(1440.3);
        const QByteArray before = layoutBytes(r);

        QUndoStack stack;
        PropertySet set;
        set.setUndoStack(&stack);
        set.setObjects({control(r, "fldQuantity"), control(r, "fldUnitPrice"), line});
        QVERIFY(set.setText(QStringLiteral("Left"), QStringLiteral("1.0005")));
        QCOMPARE(stack.count(), 1);
        QCOMPARE(control(r, "fldQuantity")->left(), 1441.0);
        QCOMPARE(line->x1(), 1441.0);
        const QByteArray after = layoutBytes(r);
        stack.undo();
        QCOMPARE(layoutBytes(r), before);
        stack.redo();
        QCOMPARE(layoutBytes(r), after);
        stack.undo();

        // A font chosen in the dialog is one step over all its properties.
        set.setObjects({control(r, "fldQuantity"), control(r, "lblInvoice")});
        QFont font(QStringLiteral("Courier New"));
        font.setPointSizeF(14);
        font.setItalic(true);
        QVERIFY(set.setFont(QStringLiteral("Font"), font));
        QCOMPARE(stack.count(), 1);
        auto *label = static_cast<Label *>(control(r, "lblInvoice"));
        QCOMPARE(label->font()->name(), QStringLiteral("Courier New"));
        QCOMPARE(label->font()->size(), 14.0);
        QVERIFY(label->font()->italic() && !label->font()->bold());
        QCOMPARE(set.fontSummary(QStringLiteral("Font")), QStringLiteral("Courier New, 14 pt, Italic"));
        // A nested property on its own, through the tree's check box.
        PropertyModel model(&set);
        QVERIFY(model.setData(model.indexOf(QStringLiteral("Font.Bold"), 1), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(static_cast<Field *>(control(r, "fldQuantity"))->font()->bold());
        QCOMPARE(stack.count(), 2);
        stack.undo();
        stack.undo();
        QCOMPARE(layoutBytes(r), before);
        // The list reads the undone values back.
        QTRY_COMPARE(set.fontSummary(QStringLiteral("Font")), QStringLiteral("Arial"));
        QVERIFY(set.node("Font.Bold")->mixed);

        // Setting what is already there is no step; without a stack edits
        // apply directly.
        QVERIFY(set.setText(QStringLiteral("Visible"), QStringLiteral("True")));
        QCOMPARE(stack.count(), 2);
        QCOMPARE(stack.index(), 0);
        set.setUndoStack(nullptr);
        QVERIFY(set.setValue(QStringLiteral("BackColor"), 255));
        QCOMPARE(static_cast<Label *>(control(r, "lblInvoice"))->backColor(), 255);
        QCOMPARE(stack.count(), 2);
    }

    void lengthsInTheUsersUnit()
    {
        QCOMPARE(PropertyText::formatLength(1440, LengthUnit::Inches), QStringLiteral("1 in"));
        QCOMPARE(PropertyText::formatLength(-360, LengthUnit::Inches), QStringLiteral("-0.25 in"));
        QCOMPARE(PropertyText::formatLength(1440, LengthUnit::Centimetres), QStringLiteral("2.54 cm"));
        QCOMPARE(PropertyText::formatLength(0, LengthUnit::Centimetres), QStringLiteral("0 cm"));
        const struct
        {
            const char *text;
            LengthUnit unit;
            double twips;
        } cases[] = {
            {"1", LengthUnit::Centimetres, 567},   {"3 cm", LengthUnit::Inches, 1701},
            {"2.54cm", LengthUnit::Inches, 1440},  {"0.5", LengthUnit::Inches, 720},
            {"1,5 in", LengthUnit::Centimetres, 2160}, {"10 mm", LengthUnit::Inches, 567},
            {"72pt", LengthUnit::Inches, 1440},    {"15 twips", LengthUnit::Inches, 15},
            {".25\"", LengthUnit::Centimetres, 360}, {"-0.0001", LengthUnit::Inches, 0},
        };
        for (const auto &c : cases) {
            double twips = -1;
            QVERIFY2(PropertyText::parseLength(QLatin1String(c.text), c.unit, &twips), c.text);
            QCOMPARE(twips, c.twips);
            QVERIFY(!std::signbit(twips));
        }
        for (const char *bad : {"", "abc", "1/2", "1 ft", "1..2", "inf"}) {
            double twips = 0;
            const Status s = PropertyText::parseLength(QLatin1String(bad), LengthUnit::Inches, &twips);
            QVERIFY2(!s && s.number() == ErrTypeMismatch, bad);
        }
        // Every whole number of twips reads back from its text unchanged.
        for (LengthUnit unit : {LengthUnit::Inches, LengthUnit::Centimetres}) {
            for (int t = -3000; t <= 30000; t += 7) {
                double back = 0;
                QVERIFY(PropertyText::parseLength(PropertyText::formatLength(t, unit), unit, &back));
                QCOMPARE(back, double(t));
            }
        }

        Report r;
        auto *label = add<Label>(r);
        PropertySet set;
        set.setObjects({label});
        PropertyModel model(&set);
        model.setUnit(LengthUnit::Centimetres);
        QVERIFY(model.setData(model.indexOf(QStringLiteral("Width"), 1), QStringLiteral("2")));
        QCOMPARE(label->width(), 1134.0);
        QCOMPARE(model.indexOf(QStringLiteral("Width"), 1).data().toString(), QStringLiteral("2 cm"));
        model.setUnit(LengthUnit::Inches);
        QCOMPARE(model.indexOf(QStringLiteral("Width"), 1).data().toString(), QStringLiteral("0.7875 in"));
    }

    void refusedInputKeepsTheOldValue()
    {
        Report r;
        auto *a = add<Label>(r);
        auto *b = add<Label>(r);
        a->setWidth(1000);
        QUndoStack stack;
        PropertySet set;
        set.setUndoStack(&stack);
        set.setObjects({a, b});
        const QByteArray before = layoutBytes(r);
        const struct
        {
            const char *path;
            const char *text;
            int number;
            const char *mentions;
        } cases[] = {
            {"Width", "-1", ErrInvalidPropertyValue, "Width must lie between 0 in and 13888.8889 in"},
            {"Width", "wide", ErrTypeMismatch, "a number of inches"},
            {"Alignment", "Middle", ErrInvalidPropertyValue, "Left, Right, Center, Justify"},
            {"Alignment", "7", ErrInvalidPropertyValue, "Alignment must be one of"},
            {"Font.Size", "0", ErrInvalidPropertyValue, "Size must lie between 1 and 1638"},
            {"Visible", "maybe", ErrTypeMismatch, "True or False"},
            {"BackColor", "300, 0, 0", ErrInvalidPropertyValue, "between 0 and 255"},
            {"BackColor", "sky", ErrTypeMismatch, "colour"},
            {"Picture", "x", ErrNoSuchMember, "Picture"},
        };
        for (const auto &c : cases) {
            const Status s = set.setText(QLatin1String(c.path), QLatin1String(c.text));
            QVERIFY2(!s, c.text);
            QCOMPARE(s.number(), c.number);
            QVERIFY2(s.description().contains(QLatin1String(c.mentions)), qPrintable(s.description()));
        }
        Section *detail = r.sections()->Item(QStringLiteral("Detail"));
        set.setObjects({detail});
        QCOMPARE(set.setText(QStringLiteral("Type"), QStringLiteral("0")).number(), int(ErrPropertyReadOnly));
        QCOMPARE(layoutBytes(r), before);
        QCOMPARE(stack.count(), 0);
        QCOMPARE(a->width(), 1000.0);

        // A write that fails part way puts back what was already written.
        Status status;
        QVERIFY(!PropertyChangeCommand::apply(nullptr, QString(), {a, b}, {{"Left", 500.0}, {"Font.Size", 5000.0}}, &status));
        QCOMPARE(status.number(), int(ErrInvalidPropertyValue));
        QCOMPARE(status.source(), a->name());
        QCOMPARE(layoutBytes(r), before);
    }

    void valueTexts()
    {
        int n = 0;
        QVERIFY(PropertyText::parseColor(QStringLiteral("#FF8000"), &n));
        QCOMPARE(n, 0x0080FF);
        QCOMPARE(PropertyText::formatColor(n), QStringLiteral("#FF8000"));
        QVERIFY(PropertyText::parseColor(QStringLiteral("0, 0, 255"), &n));
        QCOMPARE(n, 0xFF0000);
        QVERIFY(PropertyText::parseColor(QStringLiteral("&H0000FF&"), &n));
        QCOMPARE(n, 0xFF);
        QVERIFY(PropertyText::parseColor(QStringLiteral("navy"), &n));
        QCOMPARE(n, 0x800000);
        // System colours keep their numbers and read back by name.
        QVERIFY(PropertyText::parseColor(QStringLiteral("-2147483633"), &n));
        QCOMPARE(PropertyText::formatColor(n), QStringLiteral("Button Face"));
        QVERIFY(PropertyText::parseColor(QStringLiteral("button face (system)"), &n));
        QCOMPARE(uint(n), 0x8000000Fu);

        QTemporaryDir dir;
        QImage(4, 3, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("p.png")));
        QFile text(dir.filePath(QStringLiteral("t.png")));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture") > 0);
        text.close();
        QByteArray bytes;
        QCOMPARE(PropertyText::loadPicture(dir.filePath(QStringLiteral("none.png")), &bytes).number(), int(ErrFileNotFound));
        QCOMPARE(PropertyText::loadPicture(dir.path(), &bytes).number(), int(ErrPathAccess));
        QCOMPARE(PropertyText::loadPicture(text.fileName(), &bytes).number(), int(ErrBadFileFormat));
        QVERIFY(bytes.isEmpty());

        Report r;
        auto *image = add<Image>(r);
        PropertySet set;
        set.setObjects({image});
        QVERIFY(set.setText(QStringLiteral("Picture"), dir.filePath(QStringLiteral("p.png"))));
        QVERIFY(image->picture().startsWith("\x89PNG"));
        QCOMPARE(PropertyText::describePicture(image->picture()), QStringLiteral("PNG picture, 4 × 3 pixels"));
        QVERIFY(!set.setText(QStringLiteral("Picture"), text.fileName()));
        QVERIFY(image->picture().startsWith("\x89PNG"));
        QVERIFY(set.setValue(QStringLiteral("Picture"), QByteArray()));
        QVERIFY(image->picture().isEmpty());
    }

    void followsTheModelAndLetsGoOfDeletedObjects()
    {
        auto report = std::make_unique<Report>();
        auto *a = add<Label>(*report);
        auto *b = add<Shape>(*report);
        QUndoStack stack;
        PropertyList list;
        list.setUndoStack(&stack);
        list.SetObjects({a, b});
        PropertyModel *model = list.model();
        QVERIFY(model->indexOf(QStringLiteral("BackStyle")).isValid());
        QVERIFY(list.propertySet()->setText(QStringLiteral("Height"), QStringLiteral("2")));

        // Changes made elsewhere show once the event loop runs.
        a->setTop(720);
        b->setTop(720);
        QTRY_COMPARE(model->indexOf(QStringLiteral("Top"), 1).data().toString(), QStringLiteral("0.5 in"));

        // A deleted object leaves the list; the other stays, with its own
        // properties now, and the edit of both still undoes safely.
        QVERIFY(a->section()->controls()->Remove(a->section()->controls()->indexOf(a)).ok());
        QCOMPARE(list.objects(), QList<QObject *>{b});
        QTRY_VERIFY(model->indexOf(QStringLiteral("Shape")).isValid());
        stack.undo();
        QCOMPARE(b->height(), 1440.0);
        QTRY_COMPARE(model->indexOf(QStringLiteral("Height"), 1).data().toString(), QStringLiteral("1 in"));
        report.reset();
        QTRY_COMPARE(model->rowCount(), 0);
        stack.redo();
        list.AddObject(nullptr);
        QVERIFY(list.objects().isEmpty());
    }

    void editorsCommitThroughTheModel()
    {
        Report r;
        auto *a = add<Label>(r);
        auto *b = add<Label>(r);
        // The list's dialogs on the seam, answered by the recording double.
        RecordingUi ui;
        UiPropertyDialogs dialogs(ui);
        QUndoStack stack;
        PropertyList list;
        list.setDialogs(&dialogs);
        list.setUndoStack(&stack);
        list.SetObjects({a, b});
        list.resize(400, 800);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTreeView *view = list.view();
        const auto editor = [&](const char *path) -> QWidget * {
            const QModelIndex index = list.model()->indexOf(QLatin1String(path), 1);
            view->scrollTo(index);
            view->edit(index);
            return view->indexWidget(index);
        };

        auto *line = qobject_cast<QLineEdit *>(editor("Left"));
        QVERIFY(line);
        line->setText(QStringLiteral("1 cm"));
        QTest::keyClick(line, Qt::Key_Return); // commits from the event loop
        QTRY_COMPARE(a->left(), 567.0);
        QCOMPARE(b->left(), 567.0);

        auto *combo = qobject_cast<QComboBox *>(editor("Alignment"));
        QVERIFY(combo);
        combo->setCurrentIndex(2);
        Q_EMIT combo->activated(2);
        QCOMPARE(a->alignment(), 2);

        auto *colour = qobject_cast<ButtonEditor *>(editor("ForeColor"));
        QVERIFY(colour);
        ui.answer(0x00FF00);
        Q_EMIT colour->buttonClicked();
        QCOMPARE(b->foreColor(), 0x00FF00);
        QCOMPARE(stack.count(), 3);

        // Texts of several lines show their first; the dialog edits them whole.
        a->setCaption(QStringLiteral("one\r\ntwo"));
        b->setCaption(QStringLiteral("one\r\ntwo"));
        QTRY_COMPARE(list.model()->indexOf(QStringLiteral("Caption"), 1).data().toString(), QStringLiteral("one …"));
        auto *caption = qobject_cast<ButtonEditor *>(editor("Caption"));
        QVERIFY(caption && caption->line()->isReadOnly());
        ui.answer(QStringLiteral("one\ntwo\nthree"));
        Q_EMIT caption->buttonClicked();
        QCOMPARE(ui.last().kind, RecordingUi::Kind::EditText);
        QCOMPARE(ui.last().text, QStringLiteral("one\r\ntwo"));
        QCOMPARE(ui.last().title, QStringLiteral("Caption"));
        QCOMPARE(b->caption(), QStringLiteral("one\ntwo\nthree"));

        auto *font = qobject_cast<ButtonEditor *>(editor("Font"));
        QVERIFY(font);
        ui.answer(FontChoice{QStringLiteral("Times New Roman"), 12});
        Q_EMIT font->buttonClicked();
        QCOMPARE(a->font()->name(), QStringLiteral("Times New Roman"));
        QCOMPARE(b->font()->size(), 12.0);
        QCOMPARE(stack.count(), 5);

        // Refused input: the box, and the old value.
        line = qobject_cast<QLineEdit *>(editor("Width"));
        QVERIFY(line);
        line->setText(QStringLiteral("broad"));
        QTest::keyClick(line, Qt::Key_Return);
        QTRY_COMPARE(errorBoxes(ui).size(), 1);
        QVERIFY(errorBoxes(ui).first().text.startsWith(QLatin1String(" 13 - ")));
        QCOMPARE(a->width(), 1440.0);
        QCOMPARE(stack.count(), 5);

        // A picture chosen in the file dialog; a file that is no picture
        // is refused with its reason.
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("logo.png"));
        QImage(8, 8, QImage::Format_RGB32).save(png);
        auto *image = add<Image>(r);
        list.SetObjects({image});
        auto *picture = qobject_cast<ButtonEditor *>(editor("Picture"));
        QVERIFY(picture);
        ui.answer(png);
        Q_EMIT picture->buttonClicked();
        QVERIFY(image->picture().startsWith("\x89PNG"));
        picture = qobject_cast<ButtonEditor *>(editor("Picture"));
        ui.answer(QStringLiteral(ORV_SOURCE_DIR "/examples/invoice.rpx"));
        Q_EMIT picture->buttonClicked();
        QTRY_COMPARE(errorBoxes(ui).size(), 2);
        QVERIFY(errorBoxes(ui).last().text.startsWith(QLatin1String(" 321 - ")));
        QCOMPARE(ui.pendingAnswers(), 0);
        QVERIFY(image->picture().startsWith("\x89PNG"));
    }

    void derivedAndOpenValues()
    {
        // RepeatSection is a yes/no view of RepeatStyle: undoing it must
        // bring back the style that was there, not the one "no" means.
        Report r;
        Section *header = r.sections()->addGroupPair();
        header->setRepeatStyle(2);
        QUndoStack stack;
        PropertySet set;
        set.setUndoStack(&stack);
        set.setObjects({header, r.pageSettings()});
        QVERIFY(set.nodes().empty());
        set.setObjects({header});
        QVERIFY(set.setValue(QStringLiteral("RepeatSection"), false));
        QCOMPARE(header->repeatStyle(), 0);
        stack.undo();
        QCOMPARE(header->repeatStyle(), 2);

        // Paper sizes name the usual ones and take any other number.
        set.setObjects({&r});
        QVERIFY(set.setText(QStringLiteral("PageSettings.PaperSize"), QStringLiteral("a4")));
        QCOMPARE(r.pageSettings()->paperSize(), 9);
        QVERIFY(set.setText(QStringLiteral("PageSettings.PaperSize"), QStringLiteral("70")));
        QCOMPARE(r.pageSettings()->paperSize(), 70);
        QCOMPARE(set.setText(QStringLiteral("PageSettings.PaperSize"), QStringLiteral("-5")).number(),
                 int(ErrInvalidPropertyValue));
        QCOMPARE(set.node("PageSettings.LeftMargin")->info.kind, PropertyKind::Length);
    }
};

QTEST_MAIN(TestPropertyList)
#include "tst_propertylist.moc"
