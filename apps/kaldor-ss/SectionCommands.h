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
} // namespace cli
