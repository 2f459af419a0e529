// Dialog template files (a property list of controls) as Kdr_DlgDesignerData reads them.
// A refused file leaves the template as it was; an accepted one holds a bounded number of
// controls with finite factors, saves under another name and reads back the same; its
// keyboard order numbers the live controls 1, 2, 3, … without gaps.

#include "FuzzSupport.h"
#include "designer/Kdr_DesignerFiles.h"
#include "designer/Kdr_DlgDesignerData.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
bool sameTemplate(const Kdr_DlgDesignerData& a, const Kdr_DlgDesignerData& b)
{
    if (a.getNrControls() != b.getNrControls())
        return false;
    for (int i = 0; i < a.getNrControls(); ++i)
        if (!a.getControl(i)->sameTemplateData(*b.getControl(i)))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    fuzz::useScratchLibrary();
    const std::string path =
        fuzz::writeScratchFile("Dialog Templates/Dialog Design/Fuzz.txt", fuzz::asText(data, size));

    Kdr_DlgDesignerData before;
    Kdr_DesignerControl kept;
    kept.type = ctCellEdit;
    kept.contents = "kept";
    before.append(kept);
    before.setTemplateName("Before");
    Kdr_DlgDesignerData loaded = before;
    if (!loaded.readFromFile(path, true))
    {
        if (!sameTemplate(loaded, before) || loaded.getTemplateName() != "Before")
            fuzz::fail("a refused template changes the template");
        return 0;
    }
    if (loaded.getNrControls() > Kdr_DlgDesignerData::kMaxControls)
        fuzz::fail("a template holds more controls than allowed", std::to_string(loaded.getNrControls()));
    for (int i = 0; i < loaded.getNrControls(); ++i)
    {
        const Kdr_DesignerControl& control = *loaded.getControl(i);
        for (double factor : {control.topLeftX, control.topLeftY, control.bottomRightX, control.bottomRightY})
            if (!std::isfinite(factor) || std::fabs(factor) > Kdr_DlgDesignerData::kMaxFactor)
                fuzz::fail("a template holds a factor out of bounds", std::to_string(factor));
    }

    if (!loaded.writeToFile(getDesignerRootFolder() + "Saved.txt"))
        fuzz::fail("an accepted template cannot be saved");
    Kdr_DlgDesignerData again;
    if (!again.readFromFile(getDesignerRootFolder() + "Saved.txt", false))
        fuzz::fail("a saved template does not read back");
    if (!sameTemplate(again, loaded))
        fuzz::fail("a template changes on its way through its file");

    loaded.sortAllControls();
    std::vector<int> orders;
    for (int i = 0; i < loaded.getNrControls(); ++i)
        if (loaded.getControl(i)->tabOrder > 0)
            orders.push_back(loaded.getControl(i)->tabOrder);
    std::sort(orders.begin(), orders.end());
    for (std::size_t i = 0; i < orders.size(); ++i)
        if (orders[i] != static_cast<int>(i) + 1)
            fuzz::fail("the keyboard order has a gap or a repeat");
    return 0;
}
