#pragma once
// The designer's numbered actions, the state word they answer, and the two
// seams through which actions reach outside the model: prompts for the value
// an action needs (a colour, a font, a group order) and the in-place text
// editor that takes over the text commands while a caption is being edited.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Orv {

namespace DesignerAction {
// The numbers are the ones scripts and hosts pass to ExecuteAction.
enum class Code : int {
    None = 0,
    Open = 1,
    Save = 2,
    PageSetup = 3,
    Cut = 4,
    Paste = 5,
    Copy = 6,
    Undo = 7,
    Delete = 8,
    DeleteSection = 9,
    InsertReportHF = 10,
    InsertPageHF = 11,
    InsertGroupHF = 12,
    ReorderGroups = 13,
    InsertField = 14,
    ReportExplorer = 15,
    FieldList = 16,
    PropertyList = 17,
    Grid = 18,
    Snap = 19,
    FullScreen = 20,
    ScriptEditor = 21,
    AlignLefts = 22,
    AlignRights = 23,
    AlignCenters = 24,
    AlignTops = 25,
    AlignMiddles = 26,
    AlignBottoms = 27,
    AlignToGrid = 28,
    CenterInSection = 29,
    SameWidth = 30,
    SameHeight = 31,
    SameSize = 32,
    SpaceVEven = 33,
    IncVSpace = 34,
    DecVSpace = 35,
    SpaceHEven = 36,
    IncHSpace = 37,
    DecHSpace = 38,
    BringToFront = 39,
    SendToBack = 40,
    Lock = 41,
    Style = 42,
    FontName = 43,
    FontSize = 44,
    Bold = 45,
    Italic = 46,
    AlignLeft = 47,
    AlignCenter = 48,
    AlignRight = 49,
    ForeColor = 50,
    BackColor = 51,
    LineStyle = 52,
    LineColor = 53,
    Border = 54,
    Bullet = 55,
    Indent = 56,
    Outdent = 57,
    Underline = 58,
};
using enum Code;
constexpr int Count = 59;

// True for the number of a Code.
constexpr bool isCode(int number) { return number >= 0 && number < Count; }

// Bits of the state word.
constexpr int Enabled = 1;
constexpr int Checked = 2;

// The action's name as the host's menus show it ("" for None).
QString name(Code code);
} // namespace DesignerAction

// What a design pop-up menu is for.
enum class ContextMenuKind : int {
    Section = 0,
    Control = 1,
    Report = 2,
    RichTextEditing = 3, // rich text being edited in place
};

// A font as the font prompt offers and returns it.
struct DesignerFont
{
    QString name;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};

// A border choice: one style (the model's border style numbers) for the
// sides chosen, and a colour number.
struct DesignerBorder
{
    enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8, All = 15 };
    int style = 1;
    int sides = All;
    int color = 0;
};

// Asks the user for what an action needs. Each answer is empty when the
// user cancelled; the action then changes nothing.
class DesignerPrompts
{
public:
    virtual ~DesignerPrompts() = default;
    // code: ForeColor, BackColor or LineColor. Colour numbers 0x00BBGGRR.
    virtual std::optional<int> chooseColor(DesignerAction::Code code, int initial) = 0;
    virtual std::optional<DesignerFont> chooseFont(const DesignerFont &initial) = 0;
    virtual std::optional<double> chooseFontSize(double initial) = 0;
    virtual std::optional<QString> chooseStyle(const QString &initial, const QStringList &styles) = 0;
    // Line styles 0 transparent to 5 dash-dot-dot.
    virtual std::optional<int> chooseLineStyle(int initial) = 0;
    virtual std::optional<DesignerBorder> chooseBorder(const DesignerBorder &initial) = 0;
    // The groups outermost first; the answer lists the same positions in
    // their new order (outermost first).
    virtual std::optional<std::vector<int>> chooseGroupOrder(const QStringList &groupNames) = 0;
    // The data field a merge field in rich text shows.
    virtual std::optional<QString> chooseFieldName() = 0;
};

// An in-place editor open on a control. While one is open the designer
// passes the text commands (clipboard, undo, delete, character and
// paragraph formatting) to it.
class DesignerTextEditor
{
public:
    virtual ~DesignerTextEditor() = default;
    // The state word of code, or -1 when the editor leaves it to the designer.
    virtual int actionState(DesignerAction::Code code) const = 0;
    // True when the editor handled code.
    virtual bool executeAction(DesignerAction::Code code) = 0;
    // Rich text (a rich-text control) rather than a plain caption.
    virtual bool isRich() const = 0;
};

// The objects selected in the designer: controls, or one section, or the
// report. Items are the model objects themselves.
class DesignerSelection : public QObject
{
    Q_OBJECT

public:
    explicit DesignerSelection(QObject *parent = nullptr) : QObject(parent) {}

    Q_INVOKABLE int Count() const { return int(m_items.size()); }
    // 0-based; null outside the range.
    Q_INVOKABLE QObject *Item(int index) const
    {
        return index >= 0 && index < Count() ? m_items[size_t(index)].data() : nullptr;
    }

    std::vector<QObject *> items() const
    {
        std::vector<QObject *> out;
        out.reserve(m_items.size());
        for (const auto &p : m_items) {
            if (p)
                out.push_back(p.data());
        }
        return out;
    }
    bool contains(const QObject *object) const
    {
        for (const auto &p : m_items) {
            if (p.data() == object)
                return true;
        }
        return false;
    }

private:
    friend class DesignerCore;
    std::vector<QPointer<QObject>> m_items;
};

} // namespace Orv
