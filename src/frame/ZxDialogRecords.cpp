#include "frame/ZxDialogRecords.h"

#include "frame/ZxFormFields.h"

const Kdr_StringArray& DlgMacroCutsData::cutTypes()
{
    static const Kdr_StringArray types{"Straight", "Mitre", "Cope", "Notch"};
    return types;
}

void DlgMacroCutsData::fields(ZxFormFields& form)
{
    form.info("Macro", macroName)
        .choice("Cut type", cutType, cutTypes())
        .number("Offset", offset)
        .number("Gap", gap)
        .number("Angle", angle)
        .flag("Both ends", bothEnds)
        .flag("Apply to all modules", applyToAllModules);
}

void DlgProfCutsData::fields(ZxFormFields& form)
{
    form.info("Profile", profileName)
        .choice("End", profileEnd, {"Start", "End", "Both ends"})
        .choice("Cut type", cutType, DlgMacroCutsData::cutTypes())
        .number("Angle", angle)
        .number("Depth", depth)
        .number("Length", length)
        .number("Radius", radius);
}

void DlgProfFeaturesData::fields(ZxFormFields& form)
{
    form.info("Profile", profileName)
        .text("Section", section)
        .text("Material", material)
        .text("Finish", finish)
        .text("Part mark", partMark)
        .integer("Phase", phase)
        .text("Remark", remark)
        .flag("Main part", mainPart)
        .flag("In bill of materials", inBill);
}

void describeForm(DynArrayData& array, ZxFormFields& form)
{
    form.info("Name", array.name).integer("Mode", array.mode);
    static const char* const labels[DynArrayData::kTextCount] = {"Text 1", "Text 2", "Count", "Text 4",
                                                                 "Text 5"};
    for (int i = 0; i < DynArrayData::kTextCount; ++i)
        form.text(labels[i], array.texts[static_cast<size_t>(i)]);
    form.list("Entries", {[&array]
                          {
                              Kdr_StringArray texts;
                              for (const DynArrayEntry& entry : array.entries)
                                  texts.append(entry.text);
                              return texts;
                          },
                          [&array](const Kdr_StringArray& texts)
                          {
                              // Entries keep their dialog references by position.
                              std::vector<DynArrayEntry> entries;
                              for (int i = 0; i < texts.length(); ++i)
                              {
                                  DynArrayEntry entry;
                                  entry.text = texts[i];
                                  if (static_cast<size_t>(i) < array.entries.size())
                                      entry.dlgRef = array.entries[static_cast<size_t>(i)].dlgRef;
                                  entries.push_back(entry);
                              }
                              array.entries = std::move(entries);
                          }});
    form.check(
        [&array](Kdr_String& message)
        {
            if (array.mode != DynArrayData::kRegular || array.texts[2].toInt() >= 1)
                return true;
            message = "A regular array needs a count of at least 1.";
            return false;
        });
}

const Kdr_StringArray& ZxDSTVPointsData::faces()
{
    static const Kdr_StringArray faces{"Top", "Bottom", "Front", "Back"};
    return faces;
}

void ZxDSTVPointsData::fields(ZxFormFields& form)
{
    form.choice("Face", face, faces()).list("Points (x,y)", points).flag("Mirrored", mirrored);
}

void ZxGridDlgData::fields(ZxFormFields& form)
{
    form.text("Name", name)
        .text("Spacings X", spacingsX)
        .text("Spacings Y", spacingsY)
        .text("First label X", firstLabelX)
        .text("First label Y", firstLabelY)
        .number("Extension", extension)
        .flag("Show labels", showLabels);
}

void ZxLevelsDlgData::fields(ZxFormFields& form)
{
    form.list("Names", names).list("Elevations", elevations).flag("Show in drawing", showInDrawing);
    form.check(
        [this](Kdr_String& message)
        {
            if (names.length() == elevations.length())
                return true;
            message = "Give one elevation for every level.";
            return false;
        });
}

void ZxLookUpDlgData::fields(ZxFormFields& form)
{
    form.text("Table", table)
        .text("Column", column)
        .text("Key", key)
        .text("Value", value)
        .flag("Exact match", exactMatch);
}

void ZxSelectImageDlgData::fields(ZxFormFields& form)
{
    form.info("Folder", folder).choice("Image", selected, images).flag("Show names", showNames);
}

void ZxCladdingDlgData::fields(ZxFormFields& form)
{
    form.text("Sheet type", sheetType)
        .text("Material", material)
        .number("Thickness", thickness)
        .number("Overlap", overlap)
        .number("Offset", offset)
        .choice("Direction", direction, {"Horizontal", "Vertical"})
        .flag("With fixings", withFixings);
}

void ZxDlgCis2Data::fields(ZxFormFields& form)
{
    form.text("Project", projectName)
        .text("Author", author)
        .text("Organisation", organisation)
        .text("Description", description)
        .choice("View", view, {"Analysis", "Design", "Manufacturing"})
        .flag("Include bolts", includeBolts);
}

const Kdr_StringArray& ZxBracingDlgData::types()
{
    static const Kdr_StringArray types{"Single", "X", "K", "V"};
    return types;
}

void ZxBracingDlgData::fields(ZxFormFields& form)
{
    form.choice("Type", type, types())
        .text("Section", section)
        .text("Material", material)
        .number("Offset", offset)
        .flag("Tension only", tensionOnly);
}

void ZxAutoStandardsData::fields(ZxFormFields& form)
{
    form.list("Names", names).list("Values", values).flag("Load from standards automatically", autoStandards);
    form.check(
        [this](Kdr_String& message)
        {
            if (names.length() == values.length())
                return true;
            message = "Give one value for every variable.";
            return false;
        });
}

void ZxSelectMacroArgs::fields(ZxFormFields& form)
{
    form.choice("Macro", selected, names).flag("Use filter", useFilter);
    form.check(
        [this](Kdr_String& message)
        {
            if (selected < 0)
            {
                if (allowNone)
                    return true;
                message = "Choose a macro.";
                return false;
            }
            if (static_cast<size_t>(selected) < selectable.size() &&
                !selectable[static_cast<size_t>(selected)])
            {
                message = "This macro cannot be chosen.";
                return false;
            }
            return true;
        });
}

void ZxMacroProfAdvArgs::fields(ZxFormFields& form)
{
    form.text("Member name", props.memberName)
        .text("Section", props.section)
        .text("Material", props.material)
        .integer("Offset type", props.offsetType)
        .text("Rotation", props.rotation);
    form.setReadOnly(readOnly);
}
