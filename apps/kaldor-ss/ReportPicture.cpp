#include "ReportPicture.h"

#include "designer/Kdr_DesignerFiles.h"
#include "designer/Kdr_DlgDesignerData.h"
#include "host/Kdr_DbMacro.h"
#include "host/Kdr_Macro.h"
#include "host/Kdr_Module.h"
#include "host/MacroData.h"
#include "host/MacroPatternProps.h"
#include "host/MacroProfData.h"
#include "hostio/PngImage.h"

#include <cmath>

namespace cli
{
namespace
{
/// The tab whose template the report shows: the current tab when it has one, else the first
/// tab with a template.
const MacroTabData* pictureTab(const MacroData& data)
{
    int index = -1;
    const MacroTabData* tab = nullptr;
    if (data.findTab(data.currentTab(), index) && data.getTab(index, tab) && !tab->templatePath().empty())
        return tab;
    for (const MacroTabData& candidate : data.tabs())
        if (!candidate.templatePath().empty())
            return &candidate;
    return nullptr;
}

/// The value of a dialog variable of the tab's module group, as the macro holds it now.
bool variableValue(const Kdr_Macro& macro, const MacroTabData& tab, const Kdr_String& name, Kdr_String& value)
{
    for (int i = 0; i < macro.moduleCount(); ++i)
    {
        const Kdr_Module& module = macro.module(i);
        if (!module.groupOrName().equal(tab.name(), false))
            continue;
        if (const Kdr_DialogVariable* variable = module.findDialogVariable(name))
        {
            value = variable->value;
            return true;
        }
    }
    const MacroCellData* cell = nullptr;
    if (tab.findCellWithName(name, cell))
    {
        value = cell->value;
        return true;
    }
    return false;
}

/// What a control of the template shows of the tab: a variable's value, a bolt pattern's
/// count in one direction, or a member group's section. False for controls that show none.
bool boundValue(const Kdr_Macro& macro, const MacroTabData& tab, const Kdr_DesignerControl& control,
                Kdr_String& value)
{
    switch (control.type)
    {
    case ctCellEdit:
    case ctCellCombo:
    case ctCellCheck:
        return variableValue(macro, tab, control.contents, value);
    case ctPatternCount1:
    case ctPatternCount2:
    {
        const MacroPatternProps* pattern = nullptr;
        if (!tab.findPatternWithName(control.contents, pattern))
            return false;
        value = control.type == ctPatternCount1 ? pattern->count1 : pattern->count2;
        return true;
    }
    case ctProfSection:
    {
        MacroProfProps props;
        if (!tab.getMergedPropsOfGroup(control.contents, props))
            return false;
        value = props.section;
        return true;
    }
    default:
        return false;
    }
}
} // namespace

std::optional<ZxReportPicture> reportPicture(const Kdr_DbMacro& macro, const MacroData& data,
                                             std::string& problem)
{
    problem.clear();
    const MacroTabData* tab = pictureTab(data);
    if (!tab)
        return std::nullopt;
    const Kdr_String path = designer::resolveTemplatePath(tab->templatePath());
    Kdr_DlgDesignerData templateData;
    if (!templateData.readFromFile(path, true) || !templateData.hasImage() || !templateData.getImage())
    {
        problem = "the dialog template \"" + tab->templatePath() + "\" of tab \"" + tab->name() +
                  "\" or its picture cannot be read";
        return std::nullopt;
    }
    const ui::Bitmap& image = *templateData.getImage();
    ZxReportPicture picture;
    picture.templateFile = tab->templatePath();
    picture.width = image.width();
    picture.height = image.height();
    std::vector<std::uint32_t> colours(image.pixels().begin(), image.pixels().end());
    std::string error;
    const std::string png = hostio::encodePng(image.width(), image.height(), colours, error);
    // Without a PNG encoder the picture goes in as the bitmap it is; browsers show both.
    picture.dataUri =
        png.empty() ? hostio::dataUri("image/bmp", image.toBytes()) : hostio::dataUri("image/png", png);
    for (int i = 0; i < templateData.getNrControls(); ++i)
    {
        const Kdr_DesignerControl* control = templateData.getControl(i);
        if (!control || control->contents.empty())
            continue;
        // Text labels keep their captions, so that the sketch reads as the dialog does.
        const bool caption = control->type == ctText;
        Kdr_String value = control->contents;
        if (!caption && !boundValue(macro.macro(), *tab, *control, value))
            continue;
        ZxReportPictureLabel label;
        label.caption = caption;
        label.x = static_cast<int>(std::lround(templateData.getTopLeftX(*control)));
        label.y = static_cast<int>(std::lround(templateData.getTopLeftY(*control)));
        label.width = static_cast<int>(std::lround(templateData.getWidth(*control)));
        label.height = static_cast<int>(std::lround(templateData.getHeight(*control)));
        label.variable = control->contents;
        label.value = value;
        picture.labels.push_back(label);
    }
    return picture;
}
} // namespace cli
