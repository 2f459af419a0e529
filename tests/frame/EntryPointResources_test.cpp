// Every entry point of the module that shows a dialog, called the way the host calls it:
// the dialog is found among the module's resources while it runs, whatever was current
// before; afterwards the caller's resources are current again; a cancelled dialog returns
// false and leaves the caller's record exactly as passed.

#include "cutting/ZxDlgCSP2.h"
#include "designer/Kdr_DlgDesigner.h"
#include "designer/Kdr_DlgEditConstraints.h"
#include "designer/MacroDialogResources.h"
#include "frame/KaldorSS.h"
#include "frame/ModuleResources.h"
#include "frame/ZxModalDialog.h"
#include "frame/ZxRecordDialogs.h"
#include "host/Settings.h"
#include "host/TempFolder.h"
#include "library/Kdr_DlgEditLibSections.h"
#include "library/Kdr_DlgEditLibSimple.h"
#include "spread/Kdr_DlgStringTable.h"
#include "ui/Driver.h"
#include "ui/UiTestSupport.h"

#include <functional>
#include <stdexcept>

namespace
{
/// One entry point: the dialog it shows, the call (its result; for an entry point without
/// one, whether it reported OK) and whether the caller's record still equals what was passed.
struct EntryCase
{
    const char* name;
    int templateId;
    std::function<bool()> call;
    std::function<bool()> recordUnchanged;
    /// Whether OK without any edit hands back the record unchanged (a plain form does).
    bool okKeepsRecord = true;
    /// Whether OK ends the dialog at once (a designer without a file asks where to save).
    bool okEnds = true;
    /// What the user fills in before OK where OK alone is refused.
    std::function<void(ui::Driver&)> beforeOK = {};
    /// Whether Cancel shows in the result: the formula test dialog has none to show, and the
    /// modal macro dialog reports only whether it could be shown.
    bool cancelIsFalse = true;
};

MacroData macroWithMemberGroup()
{
    MacroTabData tab("Beams", MacroTabData::kProfiles);
    MacroProfData group;
    group.groupName = "Main";
    group.merged = {"Rafter", "IPE-240", "S355", 2, "90"};
    tab.addProfData(group);
    MacroData data;
    data.addTab(tab);
    return data;
}

bool acceptEverything(ZxMACallBackType, const ZxMACallBackData&, MacroProfData&)
{
    return true;
}

class EntryPointResources : public uitest::UiTest
{
protected:
    EntryPointResources() : previousLib_(gSettings.libDir())
    {
        // An empty library: the section library dialog finds no files to add to its record.
        gSettings.setLibDir(lib_.path());
        library_.groups.append(SectionGroup());
        library_.groups[0].setLangs({"Rolled", "Gewalst", "Gewalzt", "Laminé"});
        library_.types.append(SectionType());
        library_.types[0].setTableName("IPE");
        library_.types[0].setLangs({"IPE", "IPE", "IPE", "IPE"});
        sizes_.setName("RHS");
        sizes_.setPicture("10");
        sizes_.setColumnNames(
            {"SysName", "I/O", "English", "Dutch", "German", "French", "h", "b", "t", "r", "G"});
        sizes_.setRows(
            Kdr_Array<Kdr_StringArray>({{"100x50x5", "1", "RHS 100x50x5", "K 100x50x5", "RHS 100x50x5",
                                         "RHS 100x50x5", "100", "50", "5", "7.5", "10.8"}}));
        cuts_ = {"Corner 3", 2, 12.5, 1.5, 45, true, false};
        profCuts_ = {"B12", 1, 3, 30, 40.25, 120, 8};
        features_ = {"B12", "HEA-200", "S235", "Galvanised", "b12", 3, "x", true, false};
        array_.name = "Row";
        array_.mode = 2;
        array_.texts = {"70", "35", "4", "", "x"};
        array_.entries = {{"100", 7}, {"250", 8}};
        array_.buttonRef = 12;
        grid_ = {"Hall", "5000 2*6000", "4*7500", "A", "1", 1250, false};
        levels_ = {{"Ground", "First"}, {"0", "3600"}, false};
        lookUp_ = {"bolts", "Diameter", "M20", "22", false};
        image_ = {"images/", {"a.bmp", "b.bmp"}, 1, false};
        cladding_ = {"Trapezoid 35", "Steel", 0.75, 150, 20, 1, false};
        cis2_ = {"Depot", "M. de Vries", "Kaldor", "Hall B", 2, false};
        bracing_ = {2, "L-60x6", "S235", 35, true};
        genVars_ = {{"Grade", "Coating"}, {"S355", "None"}, true};
        stock_.groupIds = Kdr_Array<int>({4});
        stock_.groupNames = {"HEA"};
        stock_.main.columns = {"Profile", "Length", "Count"};
        stock_.main.rows = Kdr_Array<Kdr_StringArray>({Kdr_StringArray{"HEA 200", "3000", "4"}});
        stock_.main.rowGroups = Kdr_Array<int>({4});
        tableRows_ = Kdr_Array<Kdr_StringArray>({Kdr_StringArray{"1", "2"}, Kdr_StringArray{"3", "4"}});
        macro_ = macroWithMemberGroup();
        // The macro dialog hands back its data however it ends, with the tab it showed as the
        // current one: a record that names that tab already comes back as it went in.
        shownMacro_ = macroWithMemberGroup();
        shownMacro_.setCurrentTab("Beams");
        rules_.currentModule = "Plate";
        rules_.currentRule = 2;
        dstvPoints() = {1, {"0,0", "50,25"}, true};
        objects_ = Kdr_Array<AcDbObjectId>({AcDbObjectId(7)});
    }
    ~EntryPointResources() override { gSettings.setLibDir(previousLib_); }

    std::vector<EntryCase> cases()
    {
        auto same = [](const auto& record, auto copy) { return [&record, copy] { return record == copy; }; };
        std::vector<EntryCase> all = {
            {"StartDlgMacroCuts", IDD_MACRO_CUTS, [this] { return StartDlgMacroCuts(cuts_, changed_); },
             same(cuts_, cuts_)},
            {"StartEditProfCutsDlg", IDD_PROF_CUTS, [this] { return StartEditProfCutsDlg(profCuts_); },
             same(profCuts_, profCuts_)},
            {"StartDlgProfFeatures", IDD_PROF_FEATURES, [this] { return StartDlgProfFeatures(features_); },
             same(features_, features_)},
            {"StartArrayDlg", IDD_ARRAY, [this] { return StartArrayDlg(array_, objects_, "Array of 1"); },
             same(array_, array_)},
            {"StartDlgGrid", IDD_GRID, [this] { return StartDlgGrid(grid_); }, same(grid_, grid_)},
            {"StartDlgLevels", IDD_LEVELS, [this] { return StartDlgLevels(levels_); },
             same(levels_, levels_)},
            {"StartDlgLookUp", IDD_LOOK_UP, [this] { return StartDlgLookUp(lookUp_); },
             same(lookUp_, lookUp_)},
            {"StartDlgSelectImage", IDD_SELECT_IMAGE, [this] { return StartDlgSelectImage(image_); },
             same(image_, image_)},
            {"StartDlgCladdingSettings", IDD_CLADDING, [this] { return StartDlgCladdingSettings(cladding_); },
             same(cladding_, cladding_)},
            {"StartDlgCis2Info", IDD_CIS2_INFO, [this] { return StartDlgCis2Info(cis2_); },
             same(cis2_, cis2_)},
            {"StartDlgBracing", IDD_BRACING, [this] { return StartDlgBracing(bracing_); },
             same(bracing_, bracing_)},
            {"StartDlgGenVars", IDD_GEN_VARS, [this] { return StartDlgGenVars(genVars_); },
             same(genVars_, genVars_)},
            {"StartDSTVPointsDlg",
             IDD_DSTV_POINTS,
             []
             {
                 StartDSTVPointsDlg();
                 return true;
             },
             same(dstvPoints(), dstvPoints()),
             true,
             true,
             {},
             false},
            {"StartDlgSelectMacro", IDD_SELECT_MACRO,
             [this] { return StartDlgSelectMacro("Macros", names_, 0, 1, selected_, useFilter_, false); },
             [this] { return selected_ == "keep" && useFilter_; }, false},
            {"StartDlgSelectMacro (selectable)", IDD_SELECT_MACRO,
             [this]
             {
                 return StartDlgSelectMacro("Macros", names_, AcArray<bool>({true, true}), 0, 0, selected_,
                                            useFilter_, false);
             },
             [this] { return selected_ == "keep" && useFilter_; }, false},
            {"StartDlgMacroProfAdv", IDD_MACRO_PROF_ADV,
             [this]
             {
                 const MacroData before = macro_;
                 StartDlgMacroProfAdv(macro_, "Beams", "Main", false);
                 // Without a result, OK shows only in the data; an unchanged OK is an OK too.
                 return !(macro_ == before) || okClicked_;
             },
             same(macro_, macro_)},
            {"StartDlgMacroProfAdv (objects)", IDD_MACRO_PROF_ADV,
             [this]
             {
                 bool ok = false;
                 StartDlgMacroProfAdv(macro_, "Beams", "Main", objects_, ok, acceptEverything);
                 return ok;
             },
             same(macro_, macro_)},
            {"StartDlgEditConstrModal", IDD_EDIT_CONSTRAINTS,
             [this] { return StartDlgEditConstrModal(rules_); },
             [this, passed = rules_]
             {
                 return rules_.macro == passed.macro && rules_.currentModule == passed.currentModule &&
                        rules_.currentRule == passed.currentRule && rules_.rowTexts == passed.rowTexts;
             },
             false},
            {"StartDlgDesigner", IDD_DLG_DESIGNER, [] { return StartDlgDesigner(""); }, [] { return true; },
             false, false},
            {"StartDlgCSP2", IDD_CUTTING_STOCK, [this] { return StartDlgCSP2(stock_); }, same(stock_, stock_),
             false},
            {"startGridDialog", IDD_STRING_TABLE,
             [this] {
                 return startGridDialog({"A", "B"}, {}, tableRows_, true, "", "Texts");
             },
             same(tableRows_, tableRows_), false},
            {"EvaluateSS",
             IDD_FORMULA_TEST,
             []
             {
                 EvaluateSS();
                 return true;
             },
             [] { return true; },
             false,
             true,
             {},
             false},
            {"StartDlgEditLibSections", IDD_EDITLIB_SECTIONS,
             [this] { return StartDlgEditLibSections(library_, ""); }, same(library_, library_)},
            {"StartDlgEditLibSections (a start size)", IDD_EDITLIB_SECTIONS,
             [this] { return StartDlgEditLibSections(library_, "IPE-200"); }, same(library_, library_)},
            {"StartDlgEditLibSimple", IDD_EDITLIB_SIMPLE,
             [this] { return StartDlgEditLibSimple("100x50x5", sizes_, newIndex_); },
             [this, passed = sizes_]
             {
                 return sizes_.name() == passed.name() && sizes_.picture() == passed.picture() &&
                        sizes_.columnNames() == passed.columnNames() && sizes_.rows() == passed.rows() &&
                        newIndex_ == -7;
             },
             false, true,
             // The template size's name is taken: the new size needs dimensions of its own.
             [](ui::Driver& user) { user.type(simplePropertyEdit(1), "110"); }},
            {"StartDlgMacro",
             IDD_MACRO,
             [this] { return StartDlgMacro(shownMacro_); },
             same(shownMacro_, shownMacro_),
             true,
             true,
             {},
             false},
        };
        return all;
    }

    /// Expects the dialog of `entry`, checks whose resources are current inside it and ends
    /// it with `button`.
    void expectDialog(const EntryCase& entry, int button)
    {
        agent_.expectDialog(entry.templateId,
                            [this, button, name = entry.name, beforeOK = entry.beforeOK](ui::Driver& user)
                            {
                                EXPECT_EQ(AfxGetResourceHandle(), &moduleResources()) << name;
                                okClicked_ = button == IDOK;
                                if (button == IDOK && beforeOK)
                                    beforeOK(user);
                                // A dialog without a Cancel button is cancelled with its close box.
                                ui::Window* cancel = user.item(IDCANCEL);
                                if (button == IDCANCEL && (cancel == nullptr || !cancel->IsWindowVisible()))
                                    user.close();
                                else
                                    user.click(button);
                            });
    }

    DlgMacroCutsData cuts_;
    bool changed_ = true;
    DlgProfCutsData profCuts_;
    DlgProfFeaturesData features_;
    DynArrayData array_;
    ZxGridDlgData grid_;
    ZxLevelsDlgData levels_;
    ZxLookUpDlgData lookUp_;
    ZxSelectImageDlgData image_;
    ZxCladdingDlgData cladding_;
    ZxDlgCis2Data cis2_;
    ZxBracingDlgData bracing_;
    ZxAutoStandardsData genVars_;
    DlgCSP2Data stock_;
    TempFolder lib_;
    Kdr_String previousLib_;
    DlgEditLibData library_;
    Kdr_ProfValuesTable sizes_;
    int newIndex_ = -7;
    EditConstrData rules_;
    Kdr_Array<Kdr_StringArray> tableRows_;
    MacroData macro_;
    MacroData shownMacro_;
    Kdr_Array<AcDbObjectId> objects_;
    Kdr_StringArray names_{"Corner", "Splice"};
    Kdr_String selected_ = "keep";
    bool useFilter_ = true;
    bool okClicked_ = false;
    /// Resources of another of the host's modules, current when the host calls.
    ui::ResourceModule callerResources_{"caller"};
};

TEST_F(EntryPointResources, EveryEntryPointRunsOnTheModuleResourcesAndCancelLeavesTheRecord)
{
    for (const EntryCase& entry : cases())
    {
        SCOPED_TRACE(entry.name);
        for (HINSTANCE before : {&ui::hostResources(), &callerResources_})
        {
            AfxSetResourceHandle(before);
            expectDialog(entry, IDCANCEL);
            const bool result = entry.call();
            if (entry.cancelIsFalse)
            {
                EXPECT_FALSE(result);
            }
            EXPECT_TRUE(entry.recordUnchanged());
            EXPECT_EQ(AfxGetResourceHandle(), before);
            EXPECT_EQ(moduleResourceOverride().depth(), 0);
        }
    }
    AfxSetResourceHandle(nullptr);
    EXPECT_FALSE(changed_);
    EXPECT_EQ(agent_.pending(), 0u);
}

TEST_F(EntryPointResources, EveryEntryPointAcceptsOKAndRestoresTheCallerResources)
{
    for (const EntryCase& entry : cases())
    {
        if (!entry.okEnds)
            continue;
        SCOPED_TRACE(entry.name);
        AfxSetResourceHandle(&callerResources_);
        expectDialog(entry, IDOK);
        EXPECT_TRUE(entry.call());
        if (entry.okKeepsRecord)
        {
            EXPECT_TRUE(entry.recordUnchanged()) << "a form hands back what it was given";
        }
        EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);
    }
    AfxSetResourceHandle(nullptr);
    EXPECT_FALSE(changed_) << "nothing was edited";
    EXPECT_EQ(agent_.pending(), 0u);
}

TEST_F(EntryPointResources, TheModuleDialogsAreNotFoundAmongTheCallerResources)
{
    AfxSetResourceHandle(&callerResources_);
    for (const EntryCase& entry : cases())
    {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(ui::findDialogTemplate(entry.templateId), nullptr);
    }
    AfxSetResourceHandle(nullptr);
}

// The pooled hidden dialog outlives the call, so this one runs outside the window check.
TEST(EntryPointResourcesStandards, TheEvaluationRestoresTheCallerResourcesWhenItFails)
{
    ui::ResourceModule caller("caller");
    AfxSetResourceHandle(&caller);
    ZxDlgStandardsData request;
    request.fileName = "no such sheet";
    EXPECT_FALSE(StartDlgStandardsSS(request));
    EXPECT_EQ(AfxGetResourceHandle(), &caller);
    EXPECT_EQ(request.fileName, "no such sheet");
    AfxSetResourceHandle(nullptr);
}

TEST_F(EntryPointResources, TheModalShapeRestoresResourcesWhenTheDialogCannotRunOrThrows)
{
    AfxSetResourceHandle(&callerResources_);
    int copiedOut = 0;
    // A template the module does not have: the dialog cannot be made.
    EXPECT_FALSE(runModalOnRecord<ui::Dialog>([](ui::Dialog&) {}, [&](ui::Dialog&) { ++copiedOut; }, 99999));
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);
    // Copying in fails: nothing escapes, nothing is copied out.
    EXPECT_FALSE(runModalOnRecord<ui::Dialog>([](ui::Dialog&) { throw std::runtime_error("copy"); },
                                              [&](ui::Dialog&) { ++copiedOut; }, IDD_GRID));
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);
    EXPECT_EQ(copiedOut, 0);
    EXPECT_EQ(moduleResourceOverride().depth(), 0);
    AfxSetResourceHandle(nullptr);
}
} // namespace
