#pragma once
// The rules of frmReportWizard without its window: the eight pages, what
// entering and leaving each does, the field, group and sort pages' lists
// and the button states. The window shows this state and forwards clicks.
#include "dialogs/reportwizard/sortmemory.h"
#include "wizard/wizardmodel.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace Orv {

class Ui;

class WizardFlow
{
public:
    static constexpr int PageCount = 8;
    static constexpr int SortLevels = 4;
    static constexpr int GroupSlots = 4;

    // sortMemory may be null for a memory of the flow's own.
    WizardFlow(Ui *ui, SortMemory *sortMemory = nullptr);

    Wizard::Report &model() { return m_model; }
    void SetReport(Orv::Report *report) { m_model.SetReport(report); }

    // -1 before the first page, then 0 to 7.
    int page() const { return m_page; }
    void showPage(int page);
    bool backEnabled() const { return m_page > 0; }
    bool nextEnabled() const { return m_page >= 0 && m_page < PageCount - 1; }
    bool finishEnabled() const { return m_page == PageCount - 1; }
    // Validates the page, prepares the next and shows it; false when the
    // page stays.
    bool next();
    void back();
    // Writes the report; false when generation failed (it was reported).
    bool finish();

    // Opens the connection of the string given and reads the schema; the
    // window may put its own (off its thread) in the place of the model's.
    using Opener = std::function<bool(Wizard::CDataSource &)>;
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    // Shows the relation dialog on the model (leaving the field page with
    // two or more tables).
    void setRelateTables(std::function<void(Wizard::Report &)> relate) { m_relate = std::move(relate); }

    // Page 1.
    QString connectString;

    // Page 2.
    Wizard::ChoiceList tables;    // cboTables
    bool showSystem = false;      // chkShowSystem
    Wizard::ChoiceList fields;    // lstFields
    Wizard::ChoiceList selFields; // lstSelFields
    void setShowSystem(bool show);
    void chooseTable(int index);
    // btnFldMove 0 (one), 1 (all), 2 (remove one), 3 (remove all).
    void moveFields(int button);

    // Page 3.
    struct Slot
    {
        QString caption;
        bool visible = false;
    };
    Wizard::ChoiceList availableGroupFields; // lstAvlGrpFields
    std::array<Slot, GroupSlots> slots;      // lblGrpField
    int selectedSlot = -1;
    int usedSlots = 0;
    QString reportFields;                    // txtRptFields
    void addGroupLevel();                    // btnGrpFldMove 0
    void removeGroupLevel();                 // btnGrpFldMove 1
    void selectSlot(int slot);
    bool canMoveSlotUp() const;
    bool canMoveSlotDown() const;
    void moveSlot(bool up);                  // btnGrpPriority 0 and 1
    bool groupOptionsEnabled() const { return usedSlots != 0; }

    // Page 4.
    std::array<Wizard::ChoiceList, SortLevels> sortCombos;
    std::array<bool, SortLevels> sortAscending{true, true, true, true};
    std::array<bool, SortLevels> sortEnabled{true, false, false, false};
    void chooseSort(int level, int position);
    void setSortAscending(int level, bool ascending);

    // Page 5.
    int style = 0;
    // Page 6.
    QString title;
    void titleEdited(const QString &text);
    // Page 7.
    QString summary;

private:
    bool validate(int page);
    void prepare(int page);
    void refreshFields();
    void relistSelected();
    void applySortMemory();
    bool addField(const QString &table, const QString &field, QStringList *skipped);
    QString currentTable() const;

    Ui *m_ui;
    Wizard::Report m_model;
    SortMemory m_ownSortMemory;
    SortMemory *m_sort;
    int m_page = -1;
    Opener m_opener;
    std::function<void(Wizard::Report &)> m_relate;
};

// frmGroupOptions' rules: per group level its caption and interval entries.
class GroupOptionsModel
{
public:
    struct Level
    {
        QString caption;
        QStringList entries;
        int current = -1;
        bool enabled = false;
    };

    explicit GroupOptionsModel(Wizard::Report &model);
    std::vector<Level> levels;
    bool cancelled = true;
    // Writes each level's position into its GroupOption (-1 for an empty
    // combo) unless cancelled.
    void apply();

private:
    Wizard::Report &m_model;
};

// frmRelateTables' rules: the two field combos and the list of joins.
class RelateTablesModel
{
public:
    explicit RelateTablesModel(Wizard::Report &model, Ui *ui);

    QStringList pkFields; // cboPkFields
    QStringList fkFields; // cboFKFields
    QStringList relations; // lstRelations
    // btnAdd: the pair joined by " = "; a pair already listed is refused
    // with a message. False when nothing was added.
    bool add(const QString &pk, const QString &fk);
    // btnRemove.
    void remove(int index);

private:
    void relist();
    Wizard::Report &m_model;
    Ui *m_ui;
};

} // namespace Orv
