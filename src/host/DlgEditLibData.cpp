#include "host/DlgEditLibData.h"

#include "host/FileFunctions.h"
#include "host/MacroLangs.h"
#include "host/NumberFunctions.h"
#include "host/SectionTableFile.h"
#include "host/Settings.h"
#include "host/Texts.h"

#include <algorithm>

namespace
{
/// The name of `langs` in the current language, else the first that is not empty.
Kdr_String currentName(const Kdr_StringArray& langs)
{
    const int current = MacroLangs::GetCurLanguageIndex();
    if (langs.validIndex(current) && !langs[current].empty())
        return langs[current];
    for (const Kdr_String& name : langs)
        if (!name.empty())
            return name;
    return {};
}

/// The names of the files of `folder` matching `pattern`, without folder, sorted naturally.
Kdr_StringArray fileNames(const Kdr_String& folder, const Kdr_String& pattern, bool withExtension)
{
    Kdr_StringArray files, names;
    ObjectExportFindFiles(folder, pattern, files);
    for (const Kdr_String& file : files)
        names.append(withExtension ? host::getFileName(file) : host::getFileTitle(file));
    ObjectExportSort(names);
    return names;
}
} // namespace

Kdr_String SectionGroup::getName() const
{
    return currentName(langs_);
}

int SectionGroupArray::appendNewGrp()
{
    int id = 0;
    for (const SectionGroup& group : *this)
        id = std::max(id, group.getId() + 1);
    SectionGroup group;
    group.setId(id);
    group.setEnabled(true);
    group.setLangs(dialStringAllLangs(758));
    append(group);
    return length() - 1;
}

void SectionGroupArray::namesOfAllGroups(Kdr_StringArray& names, Kdr_Array<int>& ids) const
{
    names.removeAll();
    ids.removeAll();
    for (const SectionGroup& group : *this)
    {
        names.append(group.getName());
        ids.append(group.getId());
    }
}

int SectionGroupArray::indexOfId(int id) const
{
    for (int i = 0; i < length(); ++i)
        if ((*this)[i].getId() == id)
            return i;
    return -1;
}

bool SectionGroupArray::swap(int first, int second)
{
    if (!validIndex(first) || !validIndex(second))
        return false;
    std::swap((*this)[first], (*this)[second]);
    return true;
}

Kdr_String SectionType::getName() const
{
    return currentName(langs_);
}

void DlgEditLibData::GetAvailableFiles()
{
    tableNames.removeAll();
    for (const Kdr_String& name : fileNames(gSettings.libDir() + "prof", "*.pr", false))
        if (host::isValidSectionTableName(name))
            tableNames.append(name);
    userSections = fileNames(gSettings.libDir() + "User Sections", "*.dwg", true);
}
