#include "host/SectionTables.h"

#include "host/MacroLangs.h"
#include "host/SectionTableFile.h"
#include "host/Settings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

Kdr_SectionTableManager gSectionTables;

namespace
{
/// The name of a table given as a table or file name: a final ".pr" is dropped.
std::string_view baseName(std::string_view name)
{
    if (name.size() >= 3 && host::equalText(name.substr(name.size() - 3), ".pr", false))
        name.remove_suffix(3);
    return name;
}

void removeColumn(Kdr_StringArray& row, int column)
{
    if (row.length() > column)
        row.vector().erase(row.vector().begin() + column);
}
} // namespace

int Kdr_SectionTable::languageCount() const
{
    return columnNames.length() > 5 && columnNames[5].equal("Korean", false) ? 5 : 4;
}

int Kdr_SectionTable::findRow(std::string_view sysName) const
{
    for (int i = 0; i < rows.length(); ++i)
        if (!rows[i].isEmpty() && rows[i][0].equal(sysName, false))
            return i;
    return -1;
}

void Kdr_SectionTable::getPropertyNames(Kdr_StringArray& names) const
{
    names.removeAll();
    for (int i = firstValueColumn(); i < columnNames.length(); ++i)
        names.append(columnNames[i]);
}

std::string Kdr_SectionTableManager::key(std::string_view name)
{
    std::string result(baseName(name));
    for (char& c : result)
        c = host::foldCase(c);
    return result;
}

void Kdr_SectionTableManager::reset()
{
    tables_.clear();
    unread_.clear();
    loadedFolder_.clear();
    loaded_ = false;
}

void Kdr_SectionTableManager::ensureLoaded()
{
    const Kdr_String& folder = gSettings.libDir();
    if (loaded_ && folder == loadedFolder_)
        return;
    tables_.clear();
    loadedFolder_ = folder;
    loaded_ = true;
    loadFolder(folder);
}

void Kdr_SectionTableManager::loadFolder(const Kdr_String& libraryFolder)
{
    // Only the names are taken now; a table is read when it is first asked for, so that a
    // run pays for the tables it uses and not for every table of the library.
    std::error_code ec;
    fs::path folder = fs::path(std::string(libraryFolder)) / "prof";
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    {
        const fs::path& path = it->path();
        if (host::equalText(path.extension().string(), ".pr", false) && it->is_regular_file(ec))
            files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    unread_.clear();
    for (const fs::path& file : files)
        unread_.emplace(key(file.filename().string()), file);
}

void Kdr_SectionTableManager::loadTable(const std::string& tableKey)
{
    auto pending = unread_.find(tableKey);
    if (pending == unread_.end())
        return;
    const fs::path file = pending->second;
    unread_.erase(pending);
    {
        // A file that does not read is left out; the reader has said why, with its line.
        Kdr_String name;
        SectionTableContents contents;
        if (!host::readSectionTableFile(file.string(), name, contents))
            return;
        Kdr_SectionTable table;
        table.name = name;
        table.picture = host::sectionPictureForHost(contents.picture);
        table.columnNames = std::move(contents.columnNames);
        removeColumn(table.columnNames, 1);
        table.rows = std::move(contents.rows);
        for (Kdr_StringArray& row : table.rows)
            removeColumn(row, 1);
        tables_[key(name)] = std::move(table);
    }
}

void Kdr_SectionTableManager::loadAllTables()
{
    ensureLoaded();
    while (!unread_.empty())
        loadTable(unread_.begin()->first);
}

bool Kdr_SectionTableManager::hasTable(std::string_view name)
{
    ensureLoaded();
    loadTable(key(name));
    return tables_.count(key(name)) != 0;
}

bool Kdr_SectionTableManager::findTable(std::string_view name, const Kdr_SectionTable*& table)
{
    ensureLoaded();
    loadTable(key(name));
    auto it = tables_.find(key(name));
    if (it == tables_.end())
        return false;
    table = &it->second;
    return true;
}

Acad::ErrorStatus Kdr_SectionTableManager::addSectionTable(const Kdr_String& fileName,
                                                           const Kdr_String& picture,
                                                           const Kdr_StringArray& columnNames,
                                                           const Kdr_Array<Kdr_StringArray>& rows)
{
    ensureLoaded();
    std::string_view name = baseName(fileName);
    loadTable(key(name));
    if (name.empty() || tables_.count(key(name)) != 0)
        return Acad::eInvalidInput;
    Kdr_SectionTable table;
    table.name = Kdr_String(name);
    table.picture = picture;
    table.columnNames = columnNames;
    table.rows = rows;
    tables_[key(name)] = std::move(table);
    return Acad::eOk;
}

bool Kdr_SectionTableManager::removeTable(std::string_view name)
{
    ensureLoaded();
    loadTable(key(name));
    return tables_.erase(key(name)) != 0;
}

void Kdr_SectionTableManager::getTableNames(Kdr_StringArray& names)
{
    loadAllTables();
    names.removeAll();
    for (const auto& entry : tables_)
        names.append(entry.second.name);
}

bool Kdr_SectionTableManager::findSection(std::string_view systemName, const Kdr_SectionTable*& table,
                                          int& row)
{
    ensureLoaded();
    // Only the tables whose names could prefix the section name are read.
    for (size_t dash = systemName.find('-'); dash != std::string_view::npos;
         dash = systemName.find('-', dash + 1))
        if (systemName.substr(0, dash).find_first_of("/\\") == std::string_view::npos)
            loadTable(key(systemName.substr(0, dash)));
    // A table name may itself hold a '-', so the longest table name that prefixes the
    // section name wins.
    const Kdr_SectionTable* best = nullptr;
    for (const auto& entry : tables_)
    {
        const Kdr_String& name = entry.second.name;
        if (systemName.size() > name.size() && systemName[name.size()] == '-' &&
            host::equalText(systemName.substr(0, name.size()), name, false) &&
            (!best || name.size() > best->name.size()))
            best = &entry.second;
    }
    if (!best)
        return false;
    int found = best->findRow(systemName.substr(best->name.size() + 1));
    if (found < 0)
        return false;
    table = best;
    row = found;
    return true;
}

bool Kdr_SectionTableManager::getSystemName(std::string_view name, Kdr_String& systemName)
{
    // A display name may be in any table.
    loadAllTables();
    if (name.empty())
        return false;
    for (const auto& entry : tables_)
    {
        const Kdr_SectionTable& table = entry.second;
        const int languages = table.languageCount();
        for (const Kdr_StringArray& row : table.rows)
            for (int column = 1; column <= languages && column < row.length(); ++column)
                if (!row[0].isEmpty() && row[column].equal(name, false))
                {
                    systemName = table.name + "-" + row[0];
                    return true;
                }
    }
    const Kdr_SectionTable* table = nullptr;
    int row = -1;
    if (!findSection(name, table, row))
        return false;
    systemName = table->name + "-" + table->rows[row][0];
    return true;
}

bool Kdr_SectionTableManager::getUserName(std::string_view systemName, Kdr_String& userName)
{
    const Kdr_SectionTable* table = nullptr;
    int row = -1;
    if (!findSection(systemName, table, row))
        return false;
    const Kdr_String language = currentLanguage_.empty() ? MacroLangs::GetCurLanguage() : currentLanguage_;
    int column = 1;
    for (int i = table->languageCount(); i >= 1; --i)
        if (i < table->columnNames.length() && table->columnNames[i].equal(language, false))
            column = i;
    const Kdr_StringArray& cells = table->rows[row];
    if (column >= cells.length() || cells[column].isEmpty())
        return false;
    userName = cells[column];
    return true;
}

bool Kdr_SectionTableManager::getSectionValue(std::string_view systemName, int index, Kdr_String& value)
{
    const Kdr_SectionTable* table = nullptr;
    int row = -1;
    if (index < 0 || !findSection(systemName, table, row))
        return false;
    const int column = table->firstValueColumn() + index;
    const Kdr_StringArray& cells = table->rows[row];
    if (column >= table->columnNames.length() || column >= cells.length())
        return false;
    value = cells[column];
    return true;
}

bool Kdr_SectionTableManager::getSectionColumnNames(std::string_view systemName, Kdr_StringArray& names)
{
    const Kdr_SectionTable* table = nullptr;
    int row = -1;
    if (!findSection(systemName, table, row))
        return false;
    table->getPropertyNames(names);
    return true;
}
