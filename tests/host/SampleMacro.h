#pragma once

#include "host/Kdr_BoltModule.h"
#include "host/Kdr_DbMacro.h"
#include "host/Kdr_PrplModule.h"
#include "host/MacroData.h"
#include "host/Settings.h"

#include <memory>

/// A small end plate built in code: two plates of group "Plate", a bolt module with a
/// pattern in two directions and one in a single direction, and a placement module.
inline void buildSampleMacro(Kdr_DbMacro& dbMacro, MacroData& data)
{
    dbMacro.setName("EP-code");
    Kdr_Macro& macro = dbMacro.macro();
    macro.addGeneralVariable({"gen_Width", 150.0, "", false});
    macro.addGeneralVariable({"gen_Code", 0.0, "12.5 mm", true});
    dbMacro.addBaseProfile("HEA-260", "S355");
    dbMacro.addBaseProfile("IPE-300", "S235");

    for (const char* name : {"Plate1", "Plate2"})
    {
        auto plate = std::make_unique<Kdr_Module>(name, "Plate");
        plate->addDialogVariable({"Gap", "10", true, true});
        plate->addDialogVariable({"Weight", "6.71", true, false});
        Kdr_Cut hole{"Hole", 7, {}};
        hole.values[8] = 5.0;
        plate->addCut(hole);
        plate->addCut({"Edge", 4, {}});
        macro.addModule(std::move(plate));
    }
    auto bolts = std::make_unique<Kdr_BoltModule>("Bolts", "");
    bolts->addDialogVariable({"Pitch", "90", true, true});
    bolts->addPattern(Kdr_BoltPattern(1, "Upper", true));
    bolts->addPattern(Kdr_BoltPattern(2, "Lower", false));
    macro.addModule(std::move(bolts));
    auto members = std::make_unique<Kdr_PrplModule>("Haunch", "Members");
    members->addMember("Web", "IPE-300", "S235");
    members->addMember("", "IPE-160", "S235");
    macro.addModule(std::move(members));

    MacroTabData plate("Plate", MacroTabData::kVariables);
    plate.addCell({"Gap", "10", MacroCellData::kNumber, false, {}, 0});
    plate.addFlexFixGroup({"Height", {{"Total", false}, {"Top", true}, {"Bottom", true}}});
    data.addTab(plate);
    MacroTabData boltTab("Bolts", MacroTabData::kBolts);
    boltTab.addPattern({"Upper", "3", "2", 0, 0, 0});
    boltTab.addPattern({"Lower", "4", "-1", 0, 0, 0});
    MacroBoltData boltData;
    boltData.diameter = "20";
    boltData.holeOffset = "2";
    boltTab.setBoltData(boltData);
    data.addTab(boltTab);
    MacroTabData memberTab("Members", MacroTabData::kProfiles);
    memberTab.addProfData({"Web", {"W1", "IPE-300", "S235", 0, "0"}, true, {}});
    data.addTab(memberTab);
}

/// Points the library folder at the test library while it lives.
class TestLibrary
{
public:
    TestLibrary() : previous_(gSettings.libDir()) { gSettings.setLibDir(KALDOR_TEST_DATA "library/"); }
    ~TestLibrary() { gSettings.setLibDir(previous_); }
    TestLibrary(const TestLibrary&) = delete;
    TestLibrary& operator=(const TestLibrary&) = delete;

private:
    Kdr_String previous_;
};
