#include "standards/ZxMappingPage.h"

#include "frame/ModuleResources.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "host/Texts.h"

#include <algorithm>
#include <utility>

namespace
{
constexpr int kHeader = Kdr_Spread::kHeaderIndex;

Kdr_String standardsFolder()
{
    return gSettings.libDir() + "Connection Standards/";
}

/// The file of a sheet of the list. Its mapping file is looked for beside it, never by the
/// name alone, which could name a file of the current folder.
Kdr_String sheetPath(const Kdr_String& name)
{
    return standardsFolder() + name + ".zxs";
}

/// Every standards sheet of the library, by its name relative to "Connection Standards" and
/// without extension, as the sheet list offers them.
Kdr_StringArray standardsSheetNames()
{
    const Kdr_String folder = standardsFolder();
    Kdr_StringArray files;
    Kdr_StringArray names;
    if (!ObjectExportFindFilesRecursive(folder, "*.zxs", files))
        return names;
    for (Kdr_String file : files)
    {
        if (file.startsWith(folder, true))
            file = file.substr(folder.size());
        if (file.endsWith(".zxs", false))
            file.resize(file.size() - 4);
        names.append(file);
    }
    return names;
}

const char* typeWord(ZxValueType type)
{
    switch (type)
    {
    case valInt:
        return "Getal";
    case valDouble:
        return "Decim";
    default:
        return "Tekst";
    }
}
} // namespace

ZxMappingPage::ZxMappingPage(ui::Window* parent) : ui::Dialog(IDD_STANDARDS_MAPPING, parent)
{
    // The sheet list tells the page what the user did there with its grid notifications.
    for (int code : kRowChangeCodes)
        onNotify(IDC_MAPPING_SHEETS, code, [this](ui::NotifyHeader&, std::intptr_t&) { rowChange(); });
    onNotify(IDC_MAPPING_SHEETS, kEditedCode, [this](ui::NotifyHeader&, std::intptr_t&) { reread(); });
    onClicked(IDC_MAPPING_UP, [this] { moveUp(); });
    onClicked(IDC_MAPPING_DOWN, [this] { moveDown(); });
    onClicked(IDC_MAPPING_ADD, [this] { add(); });
    onClicked(IDC_MAPPING_REMOVE, [this] { remove(); });
}

bool ZxMappingPage::OnInitDialog()
{
    if (!data_)
        return true;
    sheets_.createInDialog(this, IDC_MAPPING_SHEETS, true);
    variables_.createInDialog(this, IDC_SS_PLACEHOLDER, true);
    sheets_.setRowHeaderVisible(false);
    // The two columns of the sheet list share its width, now and whenever the page is sized.
    sheets_.setResizeMode(1);

    up_.SubclassDlgItem(IDC_MAPPING_UP, this);
    down_.SubclassDlgItem(IDC_MAPPING_DOWN, this);
    up_.SetIcon(IDI_MOVE_UP);
    down_.SetIcon(IDI_MOVE_DOWN);
    up_.SetTooltipText(dialString(173));
    down_.SetTooltipText(dialString(174));
    SetDlgItemText(IDC_MAPPING_ADD, dialString(606));
    SetDlgItemText(IDC_MAPPING_REMOVE, dialString(607));

    if (!isActive())
        return true;
    fillSheetList();
    selectSheetRow(0);
    shown_ = 0;
    showVariables(shown_);
    return true;
}

int ZxMappingPage::currentIndex() const
{
    int col = 0;
    int row = 0;
    if (!sheets_.sheet().activeCell(col, row))
        return -1;
    return row - 1;
}

void ZxMappingPage::selectSheetRow(int index)
{
    sheets_.sheet().setActiveCell(1, index + 1);
}

// ---- The sheet list ------------------------------------------------------------------------

void ZxMappingPage::fillSheetList()
{
    const Kdr_StringArray& names = data_->names();
    const Kdr_StringArray& targets = data_->targets();
    Kdr_StringArray mapsTo;
    mapsTo.append(kEntireMacro);
    mapsTo.append(data_->moduleGroups());

    Kdr_Spread::RedrawGuard redraw(sheets_);
    sheets_.setMaxRows(0, false);
    sheets_.setMaxCols(2, false);
    sheets_.setColumnCaptions({"Spreadsheet", "Maps to"});
    const int count = names.length();
    sheets_.setMaxRows(count, false);
    sheets_.applyResizeMode();
    if (count == 0)
        return;
    sheets_.setComboType(1, 1, 1, count, standardsSheetNames());
    sheets_.setComboType(2, 1, 2, count, mapsTo);
    for (int i = 0; i < count; ++i)
    {
        const Kdr_String target = targets.validIndex(i) ? targets[i] : Kdr_String();
        sheets_.setCellText(1, i + 1, names[i].c_str());
        const Kdr_String shownTarget =
            isModuleTarget(target) ? Kdr_String(target.substr(std::string_view(kModuleTargetPrefix).size()))
                                   : Kdr_String(kEntireMacro);
        sheets_.setCellText(2, i + 1, shownTarget.c_str());
    }
}

void ZxMappingPage::rereadSheetList()
{
    if (!isActive())
        return;
    const TabMappingData before = *data_;
    Kdr_StringArray names;
    Kdr_StringArray targets;
    for (int row = 1; row <= sheets_.getMaxRows(); ++row)
    {
        Kdr_String name;
        Kdr_String mapsTo;
        sheets_.getCellText(1, row, name, ctkValue);
        sheets_.getCellText(2, row, mapsTo, ctkValue);
        Kdr_String target;
        if (mapsTo == kEntireMacro)
        {
            target = before.getMapping(name, row - 1);
            if (isModuleTarget(target))
                target.clear();
        }
        else
            target = kModuleTargetPrefix + mapsTo;
        names.append(name);
        targets.append(target);
    }
    data_->names() = names;
    data_->targets() = targets;
    if (!modified_ && (names != before.names() || targets != before.targets()))
        modified_ = true;
}

// ---- The variables of one sheet ------------------------------------------------------------

void ZxMappingPage::clearVariables()
{
    // Emptied before anything else, so that no row of a sheet shown before survives a sheet
    // that cannot be shown, and none is stored into another sheet's mapping file.
    rows_.clear();
    working_ = ZxSSMapping();
    variables_.setMaxRows(0, false);
}

void ZxMappingPage::showVariables(int index)
{
    clearVariables();
    if (!isActive() || !data_->names().validIndex(index))
        return;
    const Kdr_String name = data_->names()[index];
    const Kdr_String target = data_->getMapping(name, index);
    if (isModuleTarget(target) || name.empty())
        return;

    Kdr_Spread::RedrawGuard redraw(variables_);
    // The page's sheets live in the library; a name is never looked for elsewhere. A missing
    // file goes to the engine all the same, which reports it.
    const Kdr_String path = sheetPath(name);
    const bool loaded =
        host::fileExists(path) ? variables_.loadSheet(path) == Acad::eOk : variables_.loadFile(path);
    if (!loaded)
    {
        variables_.setMaxRows(0, false);
        return;
    }
    // A sheet without a line for the target starts without bindings rather than with those
    // of the sheet shown before.
    if (target.empty() || working_.getMappingFromFile(path, target) != Acad::eOk)
        working_ = ZxSSMapping();
    if (variables_.collectVarCells() != Acad::eOk)
    {
        variables_.setMaxRows(0, false);
        return;
    }

    variables_.setMaxRows(0, false);
    variables_.setMaxCols(2, false);
    variables_.setCellText(kHeader, kHeader, "Type");
    variables_.setColumnCaptions({"Std Name", "Macro object"});
    const std::vector<ZxVariableChoices> choices =
        variableChoices(variables_.varCells(), *data_->catalogue(), working_);
    addVariableSection("Input", cellInput, choices);
    addVariableSection("Output", cellOutput, choices);
    fitVariableColumns();
}

void ZxMappingPage::fitVariableColumns()
{
    // The type and name columns are as wide as their texts; the choice lists take the rest of
    // the grid's width, so that as much of each macro object shows as the page has room for.
    constexpr int kMargin = 8;
    Kdr_Array<int> widths;
    for (const int col : {kHeader, 1})
    {
        variables_.fitColumnWidth(col, false);
        widths.append(static_cast<int>(variables_.sheet().columnWidth(col) + 0.5) + kMargin);
    }
    variables_.setResizeMode(5, Kdr_Array<int>({0, 1}), widths);
    variables_.applyResizeMode();
}

void ZxMappingPage::addVariableSection(const char* caption, ZxCellType kind,
                                       const std::vector<ZxVariableChoices>& choices)
{
    const ZxSSMapping& catalogue = *data_->catalogue();
    int row = variables_.getMaxRows();
    variables_.setMaxRows(row + 2, false);
    variables_.setCellText(kHeader, row + 1, " ");
    variables_.setCellText(kHeader, row + 2, caption);
    row += 2;
    for (const ZxVariableChoices& choice : choices)
    {
        const ZxVarCell& cell = variables_.varCells()[choice.cellIndex];
        if (cell.cellType != kind)
            continue;
        ++row;
        variables_.setMaxRows(row, false);
        variables_.setCellText(kHeader, row, typeWord(cell.valueType));
        variables_.setCellText(1, row, cell.name.c_str());
        variables_.setColors(1, row, 1, row, kNameBackground, 0);
        Kdr_StringArray items;
        for (int index : choice.indices)
            items.append(bindingText(catalogue.mappedObjects()[index]));
        variables_.setComboType(2, row, 2, row, items);
        if (choice.selected >= 0)
            variables_.setCellText(2, row, items[choice.selected].c_str());
        rows_.push_back({row, choice});
    }
}

void ZxMappingPage::storeVariables()
{
    if (!isActive() || !data_->names().validIndex(shown_))
        return;
    Kdr_String target = data_->getMapping(data_->names()[shown_], shown_);
    if (isModuleTarget(target))
        return;

    // The choice of each row is the first item of its list with the text the cell shows.
    const ZxSSMapping& catalogue = *data_->catalogue();
    std::vector<ZxVariableChoices> chosen;
    for (const VariableRow& row : rows_)
    {
        ZxVariableChoices choice = row.choices;
        choice.selected = -1;
        Kdr_String text;
        if (variables_.getCellText(2, row.gridRow, text, ctkValue) && !text.empty())
            for (int i = 0; i < choice.indices.length() && choice.selected < 0; ++i)
                if (bindingText(catalogue.mappedObjects()[choice.indices[i]]) == text)
                    choice.selected = i;
        chosen.push_back(std::move(choice));
    }
    working_ = mappingFromChoices(variables_.varCells(), catalogue, chosen);
    if (storeSheetMapping(sheetPath(data_->names()[shown_]), target, working_) == ZxMappingStore::Stored)
    {
        modified_ = true;
        if (data_->targets().validIndex(shown_))
            data_->targets()[shown_] = target;
    }
}

// ---- What the user does ------------------------------------------------------------------

void ZxMappingPage::rowChange()
{
    if (!isActive())
        return;
    const int index = currentIndex();
    if (!data_->names().validIndex(index) || index == shown_)
        return;
    storeVariables();
    shown_ = index;
    showVariables(shown_);
}

void ZxMappingPage::reread()
{
    if (!isActive())
        return;
    rereadSheetList();
    const int index = currentIndex();
    shown_ = data_->names().validIndex(index) ? index : -1;
    showVariables(shown_);
}

void ZxMappingPage::move(int step)
{
    if (!isActive())
        return;
    const int index = currentIndex();
    const int other = index + step;
    // Nothing moves above the first row or below the last.
    if (!data_->names().validIndex(index) || !data_->names().validIndex(other))
        return;
    storeVariables();
    rereadSheetList();
    std::swap(data_->names()[index], data_->names()[other]);
    if (data_->targets().validIndex(index) && data_->targets().validIndex(other))
        std::swap(data_->targets()[index], data_->targets()[other]);
    afterListEdit(other);
}

void ZxMappingPage::add()
{
    if (!isActive())
        return;
    const int count = data_->names().length();
    // A new row goes before the current one; an empty list has only one place for it.
    const int index = count == 0 ? 0 : currentIndex();
    if (index < 0 || index > count)
        return;
    storeVariables();
    rereadSheetList();
    data_->names().insertAt(index, Kdr_String());
    data_->targets().insertAt(std::min(index, data_->targets().length()), Kdr_String());
    afterListEdit(index);
}

void ZxMappingPage::remove()
{
    if (!isActive())
        return;
    const int index = currentIndex();
    if (!data_->names().validIndex(index))
        return;
    storeVariables();
    rereadSheetList();
    data_->names().removeAt(index);
    if (data_->targets().validIndex(index))
        data_->targets().removeAt(index);
    afterListEdit(std::min(index, data_->names().length() - 1));
}

void ZxMappingPage::afterListEdit(int index)
{
    fillSheetList();
    selectSheetRow(index);
    sheets_.SetFocus();
    shown_ = -1;
    rowChange();
    if (shown_ < 0)
        showVariables(-1);
    modified_ = true;
}

bool ZxMappingPage::store()
{
    if (!isActive())
        return false;
    rereadSheetList();
    storeVariables();
    return modified_;
}
