#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

#include <filesystem>
#include <map>

/// One section table as the application uses it at run time: the library's table without its
/// active-flag column. Column 0 is the system name, columns 1 to L the display names per
/// language, the rest the property values.
struct Kdr_SectionTable
{
    Kdr_String name;
    /// A shape number, or a drawing file with "Prof\\" in front (as the profile table
    /// publishes it).
    Kdr_String picture;
    Kdr_StringArray columnNames;
    Kdr_Array<Kdr_StringArray> rows;

    /// Number of language columns: 5 when column 5 is "Korean", else 4.
    int languageCount() const;
    /// Index of the first property column.
    int firstValueColumn() const { return 1 + languageCount(); }
    /// Row of the size with system name `sysName`, or -1.
    int findRow(std::string_view sysName) const;
    /// Names of the property columns, in order.
    void getPropertyNames(Kdr_StringArray& names) const;
};

/// The host's section table manager: the section tables by name. It knows the tables of the
/// library folder's "prof" folder (every "*.pr" file) from when it is first asked, and again
/// when the library folder has changed since, and reads each table when it is first needed;
/// tables added with addSectionTable take their place.
/// A section is named by its full system name: the table name, "-" and the size's system
/// name ("IPE-200"). Names are compared without regard to case.
class Kdr_SectionTableManager
{
public:
    Kdr_SectionTableManager() = default;
    virtual ~Kdr_SectionTableManager() = default;

    /// True when a table of that name exists (".pr" at the end of `name` is ignored).
    bool hasTable(std::string_view name);
    bool findTable(std::string_view name, const Kdr_SectionTable*& table);
    /// Adds a table under the base name of `fileName` ("IPE.pr" gives "IPE"). The column
    /// names and rows come without the active-flag column. eInvalidInput when the name is
    /// empty or a table of that name exists (remove it first).
    Acad::ErrorStatus addSectionTable(const Kdr_String& fileName, const Kdr_String& picture,
                                      const Kdr_StringArray& columnNames,
                                      const Kdr_Array<Kdr_StringArray>& rows);
    /// Removes a table; false when there is none of that name.
    bool removeTable(std::string_view name);
    /// Names of all tables, in alphabetical order.
    void getTableNames(Kdr_StringArray& names);

    /// The full system name of the size whose display name, in any language, is `name`; a
    /// full system name is also accepted. False when no table knows it.
    bool getSystemName(std::string_view name, Kdr_String& systemName);
    /// The display name of a section in the current language; false when the section is
    /// unknown or has no display name in that language.
    bool getUserName(std::string_view systemName, Kdr_String& userName);
    /// Property `index` (from 0) of a section; false when the section or the property is
    /// unknown.
    bool getSectionValue(std::string_view systemName, int index, Kdr_String& value);
    /// Names of the properties of a section's table; false when the section is unknown.
    bool getSectionColumnNames(std::string_view systemName, Kdr_StringArray& names);

    /// The language whose display names getUserName gives (a language column header). With
    /// none set the host's current language is used; a table without a column for the
    /// language gives the name in its first language.
    void setCurrentLanguage(const Kdr_String& language) { currentLanguage_ = language; }

    /// Forgets every table; the next query loads the library folder again.
    void reset();

private:
    void ensureLoaded();
    void loadFolder(const Kdr_String& libraryFolder);
    /// Reads the table of that key when it is known and not read yet.
    void loadTable(const std::string& tableKey);
    void loadAllTables();
    /// The table and row of a full system name.
    bool findSection(std::string_view systemName, const Kdr_SectionTable*& table, int& row);
    static std::string key(std::string_view name);

    std::map<std::string, Kdr_SectionTable> tables_;
    /// The table files not read yet, by key.
    std::map<std::string, std::filesystem::path> unread_;
    Kdr_String loadedFolder_;
    bool loaded_ = false;
    Kdr_String currentLanguage_;
};

/// The application's section tables.
extern Kdr_SectionTableManager gSectionTables;
