// The sample library's templates shown on the tabs of the sample macros.

#include "DesignerWorkbench.h"
#include "designer/Kdr_DesignerFiles.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "ui/ComboBox.h"
#include "ui/UiTestSupport.h"

namespace
{
const std::string kSamples = KALDOR_SAMPLE_LIBRARY "../macros/";

class SampleTemplates : public uitest::UiTest
{
protected:
    SampleTemplates() : previous_(gSettings.libDir()) { gSettings.setLibDir(KALDOR_SAMPLE_LIBRARY); }
    ~SampleTemplates() override { gSettings.setLibDir(previous_); }

    MacroTabData tabOf(const std::string& file, const char* name)
    {
        Kdr_DbMacro macro;
        MacroData data;
        std::string error;
        EXPECT_TRUE(loadMacroJson(kSamples + file, macro, data, error)) << error;
        int index = -1;
        EXPECT_TRUE(data.findTab(name, index));
        return index >= 0 ? data.tabs()[static_cast<std::size_t>(index)] : MacroTabData();
    }

    Kdr_String previous_;
    designertest::TabWorkbench page;
};

TEST_F(SampleTemplates, TheListShowsBothSamples)
{
    Kdr_StringArray names;
    getModuleImages(names);
    EXPECT_EQ(names, (Kdr_StringArray{"End plate", "Plates/Fin plate"}));
}

TEST_F(SampleTemplates, EveryControlOfTheEndPlateFindsItsVariable)
{
    MacroTabData tab = tabOf("EndPlate-IPE300.json", "Plate");
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    EXPECT_EQ(page.data.getNrControls(), 20) << "no control was dropped";
    int width = 0;
    int height = 0;
    page.data.getImageSize(width, height);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 220);
    for (const MacroCellData& cell : tab.cells())
        EXPECT_GT(cell.dlgRef, 0) << cell.name << " has a control on the template";
    const MacroPatternProps* pattern = nullptr;
    ASSERT_TRUE(tab.findPatternWithName("Main", pattern));
    EXPECT_GT(pattern->count1Ref, 0);
    const MacroCellData* weight = nullptr;
    ASSERT_TRUE(tab.findCellWithName("Weight", weight));
    EXPECT_FALSE(page.GetDlgItem(weight->dlgRef)->IsWindowEnabled());
    const MacroCellData* top = nullptr;
    ASSERT_TRUE(tab.findCellWithName("TopExtension", top));
    EXPECT_EQ(page.GetDlgItem(top->dlgRef)->GetWindowText(), "40");
    EXPECT_TRUE(page.data.setFocusToCtrl(true));
}

TEST_F(SampleTemplates, TheFinPlateOffersTheThicknessChoices)
{
    MacroTabData tab = tabOf("FinPlate-IPE240.json", "FinPlate");
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    EXPECT_EQ(page.data.getNrControls(), 5);
    const MacroCellData* thickness = nullptr;
    ASSERT_TRUE(tab.findCellWithName("Thickness", thickness));
    auto* combo = dynamic_cast<ui::ComboBox*>(page.GetDlgItem(thickness->dlgRef));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->itemTexts(), (Kdr_StringArray{"8", "10", "12", "15"}));
    EXPECT_EQ(combo->GetLBText(combo->GetCurSel()), "8");
}
} // namespace
