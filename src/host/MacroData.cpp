#include "host/MacroData.h"

#include "host/MacroDialogHost.h"
#include "host/TableFile.h"

namespace
{
MacroData::StandardsLoader& standardsLoader()
{
    static MacroData::StandardsLoader loader;
    return loader;
}
} // namespace

bool MacroData::addTab(const MacroTabData& tab)
{
    int index = -1;
    if (findTab(tab.name(), index))
        return false;
    tabs_.push_back(tab);
    return true;
}

bool MacroData::findTab(std::string_view name, int& index) const
{
    for (size_t i = 0; i < tabs_.size(); ++i)
        if (host::equalText(tabs_[i].name(), name, false))
        {
            index = static_cast<int>(i);
            return true;
        }
    return false;
}

bool MacroData::getTab(int index, MacroTabData*& tab)
{
    if (index < 0 || index >= tabCount())
        return false;
    tab = &tabs_[static_cast<size_t>(index)];
    return true;
}

bool MacroData::getTab(int index, const MacroTabData*& tab) const
{
    MacroTabData* found = nullptr;
    if (!const_cast<MacroData*>(this)->getTab(index, found))
        return false;
    tab = found;
    return true;
}

bool MacroData::loadFromStandards()
{
    const StandardsLoader& loader = standardsLoader();
    return loader ? loader(*this) : false;
}

void MacroData::setStandardsLoader(StandardsLoader loader)
{
    standardsLoader() = std::move(loader);
}

bool MacroData::readFromFile(const Kdr_String& path, int& unused)
{
    Kdr_String name;
    Kdr_Array<Kdr_StringArray> rows;
    if (!readFile(path, name, rows))
        return false;
    unused = 0;
    for (const Kdr_StringArray& row : rows)
    {
        int index = -1;
        MacroTabData* tab = nullptr;
        MacroCellData* cell = nullptr;
        if (row.length() == 3 && findTab(row[0], index) && getTab(index, tab) &&
            tab->findCellWithName(row[1], cell) && !cell->readOnly)
            cell->value = row[2];
        else if (!row.isEmpty())
            ++unused;
    }
    return true;
}

bool MacroData::writeToFile(const Kdr_String& path) const
{
    Kdr_Array<Kdr_StringArray> rows;
    for (const MacroTabData& tab : tabs_)
        for (const MacroCellData& cell : tab.cells())
            rows.append(Kdr_StringArray{tab.name(), cell.name, cell.value});
    return writeFile(path, rows);
}

void MacroData::changeView(int tabIndex, int direction) const
{
    const MacroTabData* tab = nullptr;
    const Kdr_String name = getTab(tabIndex, tab) ? tab->name() : Kdr_String();
    macroDialogHost().record("changeView " + name + " " + std::to_string(direction));
}

bool MacroData::reApply()
{
    MacroDialogHost& host = macroDialogHost();
    host.record("reApply");
    return host.reApplySucceeds;
}

bool MacroData::propListAllowed() const
{
    return macroDialogHost().propListAllowed;
}

void MacroData::getPropFiles(Kdr_StringArray& files) const
{
    files = macroDialogHost().propFiles;
}
