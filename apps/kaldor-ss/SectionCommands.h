#pragma once

#include <string>
#include <vector>

namespace cli
{
class Console;

/// What the changing `section` commands share: --dry-run prints the changed table (as
/// `section show` does) and writes nothing.
struct SectionChange
{
    std::string table;
    bool dryRun = false;
};

/// `section list`: the names of the library's section tables (the ".pr" files of its "prof"
/// folder), one a line, in order of name.
int runSectionList(Console& console);
/// `section show NAME`: the table as its file holds it: the picture line, the header line and
/// one line per size, fields separated by TAB and escaped as every command escapes them.
int runSectionShow(const std::string& table, Console& console);
/// `section names NAME [--active]`: the full system names ("IPE-300"), one a line; with
/// `active` without the sizes whose active flag is "0".
int runSectionNames(const std::string& table, bool active, Console& console);
/// `section insert NAME --after SYS [--name NEWSYS] [--user-name TEXT]`: a copy of size SYS
/// after it. Without a new name the copy gets a system name that no size holds; with one, the
/// copy gets it and the display name TEXT (else the original's type word and NEWSYS) in every
/// language. Prints the new size's full system name.
int runSectionInsert(const SectionChange& change, const std::string& after, const std::string& newName,
                     const std::string& userName, Console& console);
/// `section set-values NAME SYS V1 V2 …`: the property values of size SYS, one per property.
int runSectionSetValues(const SectionChange& change, const std::string& sysName,
                        const std::vector<std::string>& values, Console& console);
/// `section import NAME FILE.csv [--picture P] [--separator C]`: the table's header and sizes
/// from a CSV file whose first record is the header. An existing table keeps its picture
/// unless --picture is given; a new table needs it.
int runSectionImport(const SectionChange& change, const std::string& file, const std::string& picture,
                     char separator, Console& console);
/// `section export NAME FILE.csv [--separator C]`: the header and sizes as CSV ("-" for
/// standard output).
int runSectionExport(const std::string& table, const std::string& file, char separator, Console& console);
/// `section new NAME --like EXISTING`: a new table NAME, a copy of table EXISTING (picture,
/// columns and sizes). NAME must be a name no table of the library has (letter case ignored)
/// and a plain file name.
int runSectionNew(const SectionChange& change, const std::string& like, Console& console);
/// `section rename OLD NEW`: the table's file is saved under the new name first, and the old
/// file is deleted only after that succeeded. NEW is checked as for `section new`.
int runSectionRename(const std::string& oldName, const std::string& newName, Console& console);
/// `section delete NAME`: deletes the table's file.
int runSectionDelete(const std::string& name, Console& console);
/// `section add-size NAME --from SYS [--set COLUMN=VALUE …] [--name TEXT]`: a new size made
/// as the new-size dialog makes it. From SYS down, the first size whose system name is made
/// of its own values ("100x50x5" of h, b and t) is the template; its values, changed by the
/// --set options (value columns by header, letter case ignored), give the new size. The
/// system name is composed from the template's name columns (or is TEXT), the display names
/// are each language's type word and the name, and the size goes where its name sorts.
/// Prints the new size's full system name.
int runSectionAddSize(const SectionChange& change, const std::string& from,
                      const std::vector<std::string>& sets, const std::string& name, Console& console);
} // namespace cli
