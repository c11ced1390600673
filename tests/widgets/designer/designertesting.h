#pragma once
// Shared by the designer suites: a known layout, lookups and scripted answers.
#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designeractions.h"
#include "engine/widgets/designer/designercore.h"

#include <QUndoStack>

namespace DesignerTesting {

// Detail: lblA (100,100 1000x300), fldB (400,700 500x200), shpC (900,1500
// 800x400), lnD (0,2500 to 2000,2500), rtfE (3000,100 2000x800).
inline const char *const SampleLayout = R"(<?xml version="1.0" encoding="UTF-8"?>
<OrvReportLayout version="1">
  <Report>
    <Section Type="2" Name="PageHeader" Height="720">
      <Control Type="OrvEngine.Label" Name="lblTitle" Left="100" Top="100" Width="1000" Height="300" Caption="Title"/>
    </Section>
    <Section Type="6" Name="Detail" Height="2880">
      <Control Type="OrvEngine.Label" Name="lblA" Left="100" Top="100" Width="1000" Height="300" Caption="A"/>
      <Control Type="OrvEngine.Field" Name="fldB" Left="400" Top="700" Width="500" Height="200" DataField="B"/>
      <Control Type="OrvEngine.Shape" Name="shpC" Left="900" Top="1500" Width="800" Height="400"/>
      <Control Type="OrvEngine.Line" Name="lnD" Y1="2500" X2="2000" Y2="2500"/>
      <Control Type="OrvEngine.RichEdit" Name="rtfE" Left="3000" Top="100" Width="2000" Height="800" Text="Hello&#10;World"/>
    </Section>
    <Section Type="3" Name="PageFooter" Height="360"/>
  </Report>
</OrvReportLayout>
)";

inline void loadSample(Orv::DesignerCore &core)
{
    const Orv::Status status = Orv::LoadLayout(*core.DesignedReport(), QByteArray(SampleLayout), QStringLiteral("sample"));
    if (!status.ok())
        qFatal("%s", qPrintable(status.description()));
    core.undoStack()->clear();
    core.DesignedReport()->setIsDirty(false);
}

inline Orv::Control *control(Orv::DesignerCore &core, const QString &name)
{
    for (Orv::Control *c : core.DesignedReport()->allControls()) {
        if (c->name() == name)
            return c;
    }
    return nullptr;
}

inline Orv::Section *section(Orv::DesignerCore &core, const QString &name)
{
    return core.DesignedReport()->sections()->Item(name);
}

inline QByteArray bytes(Orv::DesignerCore &core)
{
    return Orv::layoutBytes(*core.DesignedReport());
}

inline void selectNames(Orv::DesignerCore &core, const QStringList &names)
{
    std::vector<QObject *> objects;
    for (const QString &n : names)
        objects.push_back(control(core, n));
    core.setSelection(objects);
}

// Answers every prompt with what the test put in; empty answers cancel.
class ScriptedPrompts : public Orv::DesignerPrompts
{
public:
    std::optional<int> color;
    std::optional<Orv::DesignerFont> font;
    std::optional<double> fontSize;
    std::optional<QString> style;
    std::optional<int> lineStyle;
    std::optional<Orv::DesignerBorder> border;
    std::optional<std::vector<int>> groupOrder;
    std::optional<QString> fieldName;
    int asked = 0;
    int lastColorCode = -1;
    QStringList lastGroupNames;

    std::optional<int> chooseColor(Orv::DesignerAction::Code code, int) override
    {
        ++asked;
        lastColorCode = int(code);
        return color;
    }
    std::optional<Orv::DesignerFont> chooseFont(const Orv::DesignerFont &) override { ++asked; return font; }
    std::optional<double> chooseFontSize(double) override { ++asked; return fontSize; }
    std::optional<QString> chooseStyle(const QString &, const QStringList &) override { ++asked; return style; }
    std::optional<int> chooseLineStyle(int) override { ++asked; return lineStyle; }
    std::optional<Orv::DesignerBorder> chooseBorder(const Orv::DesignerBorder &) override { ++asked; return border; }
    std::optional<std::vector<int>> chooseGroupOrder(const QStringList &names) override
    {
        ++asked;
        lastGroupNames = names;
        return groupOrder;
    }
    std::optional<QString> chooseFieldName() override { ++asked; return fieldName; }
};

} // namespace DesignerTesting
