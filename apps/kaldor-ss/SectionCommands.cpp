#include "SectionCommands.h"

#include "Commands.h"
#include "Console.h"
#include "CsvTable.h"
#include "grid/Sheet.h"
#include "grid/SheetFormats.h"
#include "host/FileFunctions.h"
#include "host/MacroLangs.h"
#include "host/SectionTableFile.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "library/Kdr_ProfValuesTable.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace cli
{
namespace
{
constexpr int kSysNameColumn = 0;
constexpr int kFirstLanguageColumn = 2;

/// A table name names a file directly in the library's "prof" folder, never one elsewhere.
bool checkTableName(const std::string& name, Console& console)
{
    if (host::isValidSectionTableName(name))
        return true;
    console.error("invalid section table name \"" + name +
                  "\": give the name of a table of the library's prof folder (no folder separators, no "
                  "\"..\", no characters that file names may not hold)");
    return false;
}

/// The table's name as the commands show it: without a final ".pr".
std::string baseName(const std::string& name)
{
    Kdr_String text(name);
    return text.endsWith(".pr", false) ? text.left(text.length() - 3) : text;
}

int loadTable(const std::string& name, Kdr_ProfValuesTable& table, Console& console)
{
    if (!checkTableName(name, console))
        return kUsage;
    if (table.readFromFile(name))
        return kSuccess;
    console.error("cannot read section table \"" + baseName(name) + "\" (" +
                  host::sectionTablePath(gSettings.libDir(), name) + ")");
    return kBadInput;
}

std::string joinFields(const Kdr_StringArray& fields)
{
    std::string line;
    for (int i = 0; i < fields.length(); ++i)
    {
        if (i > 0)
            line += '\t';
        line += field(fields[i]);
    }
    return line;
}

void printTable(const Kdr_ProfValuesTable& table, Console& console)
{
    console.result(field(table.picture()));
    console.result(joinFields(table.columnNames()));
    for (const Kdr_StringArray& row : table.rows())
        console.result(joinFields(row));
}

/// Ends a changing command: the whole changed table is saved at once (atomically), or with
/// --dry-run shown and not saved.
int finishChange(const SectionChange& change, Kdr_ProfValuesTable& table, Console& console)
{
    if (change.dryRun)
    {
        printTable(table, console);
        return kSuccess;
    }
    if (!table.writeToFile(change.table))
    {
        console.error("section table \"" + baseName(change.table) + "\" not saved");
        return kFailed;
    }
    console.note("saved " + host::sectionTablePath(gSettings.libDir(), change.table));
    return kSuccess;
}

/// The row of a size, or an error naming what is there.
bool findSize(const Kdr_ProfValuesTable& table, const std::string& sysName, int& index, Console& console)
{
    if (table.findSysName(sysName, index))
        return true;
    console.error("no size \"" + sysName + "\" in section table \"" + table.name() + "\"");
    return false;
}

/// A number given on the command line: all of the text, finite.
bool parseNumber(const std::string& text, double& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

/// The display name a copy of `row` gets for the system name `sysName`: the type word of the
/// original's name in the current language ("IPE " of "IPE 300"), else the table name, then
/// the system name.
Kdr_String derivedUserName(const Kdr_ProfValuesTable& table, const Kdr_StringArray& row,
                           const Kdr_String& sysName)
{
    Kdr_String prefix = table.name();
    const int column = table.getColumnIdx(MacroLangs::GetCurLanguage());
    if (column >= 0 && column < row.length())
    {
        Kdr_String text = row[column];
        int start = 0;
        if (findFirstNumbers(text, start))
            text = text.left(start);
        if (!text.empty())
            prefix = text;
    }
    return prefix + sysName;
}

/// A byte no table file may hold, in any field. Line breaks and TABs
/// are fine: the table file escapes them. -1 when there is none.
int controlByte(const Kdr_StringArray& fields)
{
    for (const Kdr_String& text : fields)
        for (char c : text)
        {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')
                return byte;
        }
    return -1;
}

/// Checks the records of an imported CSV file as a table: a header of at least two columns,
/// every record as long as the header, a system name in each, no system name twice.
bool checkImported(const std::vector<CsvRecord>& records, const std::string& file, Console& console)
{
    auto refuse = [&](int line, const std::string& reason)
    {
        console.error(file + ", line " + std::to_string(line) + ": " + reason);
        return false;
    };
    if (records.empty())
    {
        console.error(file + ": no header record (the first record names the columns)");
        return false;
    }
    const int columns = records[0].fields.length();
    if (columns < 2)
        return refuse(records[0].line, "the header holds " + std::to_string(columns) +
                                           " column names (at least \"SysName\" and \"I/O\" are needed)");
    std::map<std::string, int> seen;
    for (const CsvRecord& record : records)
    {
        if (const int byte = controlByte(record.fields); byte >= 0)
        {
            char code[16];
            std::snprintf(code, sizeof code, "0x%02X", byte);
            return refuse(record.line, std::string("binary data (byte ") + code + ")");
        }
        if (&record == &records[0])
            continue;
        if (record.fields.length() != columns)
            return refuse(record.line, "the record holds " + std::to_string(record.fields.length()) +
                                           " fields where the header has " + std::to_string(columns));
        const Kdr_String& sysName = record.fields[kSysNameColumn];
        if (sysName.empty())
            return refuse(record.line, "no system name");
        const auto [where, added] = seen.emplace(sysName.lower(), record.line);
        if (!added)
            return refuse(record.line, "system name \"" + sysName + "\" is already on line " +
                                           std::to_string(where->second));
    }
    return true;
}
} // namespace

int runSectionList(Console& console)
{
    Kdr_StringArray files;
    ObjectExportFindFiles(gSettings.libDir() + "prof", "*.pr", files);
    for (const Kdr_String& file : files)
        console.result(field(host::getFileTitle(file)));
    return kSuccess;
}

int runSectionShow(const std::string& name, Console& console)
{
    Kdr_ProfValuesTable table;
    if (int status = loadTable(name, table, console); status != kSuccess)
        return status;
    printTable(table, console);
    return kSuccess;
}

int runSectionNames(const std::string& name, bool active, Console& console)
{
    Kdr_ProfValuesTable table;
    if (int status = loadTable(name, table, console); status != kSuccess)
        return status;
    Kdr_StringArray names;
    table.getSysNames(names, active);
    for (const Kdr_String& text : names)
        console.result(field(text));
    return kSuccess;
}

int runSectionInsert(const SectionChange& change, const std::string& after, const std::string& newName,
                     const std::string& userName, Console& console)
{
    Kdr_ProfValuesTable table;
    if (int status = loadTable(change.table, table, console); status != kSuccess)
        return status;
    int index = -1;
    if (!findSize(table, after, index, console))
        return kFailed;
    if (newName.empty())
    {
        if (!table.insertRow(index))
        {
            console.error("cannot insert a copy of size \"" + after + "\"");
            return kFailed;
        }
    }
    else
    {
        int existing = -1;
        if (table.findSysName(newName, existing))
        {
            console.error("size \"" + newName + "\" already exists in section table \"" + table.name() +
                          "\"");
            return kFailed;
        }
        Kdr_StringArray original;
        table.getRow(original, index);
        const Kdr_String display =
            userName.empty() ? derivedUserName(table, original, newName) : Kdr_String(userName);
        if (table.insertRow(index, newName, display) != Acad::eOk)
        {
            console.error("cannot insert size \"" + newName + "\" after size \"" + after +
                          "\" (the row has " + std::to_string(original.length()) +
                          " fields, too few for the display names)");
            return kFailed;
        }
    }
    Kdr_StringArray inserted;
    table.getRow(inserted, index + 1);
    const int status = finishChange(change, table, console);
    if (status == kSuccess && !change.dryRun)
        console.result(field(table.name() + "-" + inserted[kSysNameColumn]));
    return status;
}

int runSectionSetValues(const SectionChange& change, const std::string& sysName,
                        const std::vector<std::string>& texts, Console& console)
{
    AcArray<double> values;
    for (const std::string& text : texts)
    {
        double value = 0;
        if (!parseNumber(text, value))
        {
            console.error("\"" + text + "\" is not a number");
            return kUsage;
        }
        values.append(value);
    }
    Kdr_ProfValuesTable table;
    if (int status = loadTable(change.table, table, console); status != kSuccess)
        return status;
    int index = -1;
    if (!findSize(table, sysName, index, console))
        return kFailed;
    if (table.setValues(index, values) != Acad::eOk)
    {
        Kdr_StringArray row;
        table.getRow(row, index);
        const int first = kFirstLanguageColumn + table.getNrLanguages();
        std::string names;
        for (int col = first; col < table.columnNames().length(); ++col)
            names += (names.empty() ? "" : ", ") + table.columnNames()[col];
        console.error("size \"" + table.name() + "-" + sysName + "\" has " +
                      std::to_string(std::max(row.length() - first, 0)) + " property values (" + names +
                      "); " + std::to_string(values.length()) + " given");
        return kUsage;
    }
    return finishChange(change, table, console);
}

int runSectionImport(const SectionChange& change, const std::string& file, const std::string& picture,
                     char separator, Console& console)
{
    if (!checkTableName(change.table, console))
        return kUsage;
    std::vector<CsvRecord> records;
    if (grid::findSheetReader(file))
    {
        // A workbook: its first worksheet (or the one after '#') as the records, each row's
        // displayed texts; empty rows are skipped as empty lines of a CSV file are.
        grid::Sheet sheet;
        if (!sheet.loadFile(file))
            return kBadInput;
        for (int row = 1; row <= sheet.maxRows(); ++row)
        {
            CsvRecord record{row, {}};
            bool empty = true;
            for (int col = 1; col <= sheet.maxCols(); ++col)
            {
                record.fields.append(Kdr_String(sheet.cellDataText(col, row)));
                empty = empty && record.fields.last().empty();
            }
            if (!empty)
                records.push_back(std::move(record));
        }
    }
    else
    {
        std::string bytes;
        Kdr_String error;
        if (!host::readFileBytes(file, bytes, error))
        {
            console.error(error);
            return kBadInput;
        }
        std::string csvError;
        if (!parseCsv(bytes, separator, records, csvError))
        {
            console.error(file + ", " + csvError);
            return kBadInput;
        }
    }
    if (!checkImported(records, file, console))
        return kBadInput;

    Kdr_ProfValuesTable table;
    if (picture.empty())
    {
        // The picture is not part of the CSV: an existing table keeps its own.
        if (!host::fileExists(host::sectionTablePath(gSettings.libDir(), change.table)))
        {
            console.error("section table \"" + baseName(change.table) +
                          "\" is new: give its picture with --picture");
            return kUsage;
        }
        if (int status = loadTable(change.table, table, console); status != kSuccess)
            return status;
    }
    else
        table.setPicture(picture);
    table.setName(baseName(change.table));
    table.setColumnNames(records[0].fields);
    Kdr_Array<Kdr_StringArray> rows;
    rows.vector().reserve(records.size() - 1);
    for (std::size_t i = 1; i < records.size(); ++i)
        rows.append(std::move(records[i].fields));
    table.setRows(rows);
    return finishChange(change, table, console);
}

int runSectionExport(const std::string& name, const std::string& file, char separator, Console& console)
{
    Kdr_ProfValuesTable table;
    if (int status = loadTable(name, table, console); status != kSuccess)
        return status;
    Kdr_Array<Kdr_StringArray> rows;
    rows.append(table.columnNames());
    rows.append(table.rows());
    const std::string bytes = formatCsv(rows, separator);
    if (file == "-")
    {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return kSuccess;
    }
    Kdr_String error;
    if (!host::writeFileAtomically(file, bytes, error))
    {
        console.error(error);
        return kFailed;
    }
    return kSuccess;
}
} // namespace cli

void cli::addSectionCommands(CLI::App& app, Command& command)
{
    struct Options
    {
        SectionChange change;
        std::string sysName;
        std::string newName;
        std::string userName;
        std::string file;
        std::string picture;
        std::string separator = ",";
        bool active = false;
        std::vector<std::string> values;
    };
    auto options = std::make_shared<Options>();
    CLI::App* section = app.add_subcommand(
        "section",
        "Section (profile) tables of the library's prof folder: one table per section type, a row per size");
    section->require_subcommand(1);

    auto addTable = [&](CLI::App* sub)
    { sub->add_option("NAME", options->change.table, "Table name (IPE, HEA, …)")->required(); };
    auto addDryRun = [&](CLI::App* sub)
    { sub->add_flag("--dry-run", options->change.dryRun, "Print the changed table and write nothing"); };
    auto addSeparator = [&](CLI::App* sub)
    {
        sub->add_option("--separator", options->separator,
                        "Field separator of the CSV file (default \",\"; \";\" for "
                        "spreadsheet programs that write semicolons)")
            ->check(
                [](const std::string& text)
                {
                    return text.size() == 1 && text != "\"" && text != "\n" && text != "\r"
                               ? std::string()
                               : std::string("one character, not a quote or line break");
                });
    };

    CLI::App* list = section->add_subcommand("list", "The table names, one a line");
    list->callback([&command] { command = [](Console& console) { return runSectionList(console); }; });

    CLI::App* show =
        section->add_subcommand("show", "The table as its file holds it: picture, header, one line per size");
    addTable(show);
    show->callback(
        [options, &command] {
            command = [options](Console& console) { return runSectionShow(options->change.table, console); };
        });

    CLI::App* names = section->add_subcommand("names", "The full system names of the sizes (IPE-300)");
    addTable(names);
    names->add_flag("--active", options->active, "Leave out the sizes whose active flag is 0");
    names->callback(
        [options, &command]
        {
            command = [options](Console& console)
            { return runSectionNames(options->change.table, options->active, console); };
        });

    CLI::App* insert = section->add_subcommand("insert", "Insert a copy of a size after it, as a new size");
    addTable(insert);
    insert->add_option("--after", options->sysName, "System name of the size to copy")->required();
    CLI::Option* nameOption = insert->add_option("--name", options->newName,
                                                 "System name of the new size (else one no size holds)");
    insert
        ->add_option("--user-name", options->userName,
                     "Display name of the new size in every language (else the type word and --name)")
        ->needs(nameOption);
    addDryRun(insert);
    insert->callback(
        [options, &command]
        {
            command = [options](Console& console) {
                return runSectionInsert(options->change, options->sysName, options->newName,
                                        options->userName, console);
            };
        });

    CLI::App* setValues =
        section->add_subcommand("set-values", "Set the property values of a size, one per property");
    addTable(setValues);
    setValues->add_option("SYS", options->sysName, "System name of the size")->required();
    setValues->add_option("VALUES", options->values, "The values, in the order of the property columns")
        ->required();
    addDryRun(setValues);
    setValues->callback(
        [options, &command]
        {
            command = [options](Console& console)
            { return runSectionSetValues(options->change, options->sysName, options->values, console); };
        });

    CLI::App* import =
        section->add_subcommand("import", "Replace the table's header and sizes by a CSV file's");
    addTable(import);
    import->add_option("FILE", options->file, "CSV file: the header record, then one record per size")
        ->required();
    import->add_option("--picture", options->picture,
                       "Section picture: a shape number 1-24 or a .dwg file name "
                       "(needed for a new table; else the table keeps its own)");
    addSeparator(import);
    addDryRun(import);
    import->callback(
        [options, &command] {
            command = [options](Console& console)
            {
                return runSectionImport(options->change, options->file, options->picture, options->separator[0],
                                        console);
};
});

CLI::App* exportCommand = section->add_subcommand("export", "Write the table's header and sizes as CSV");
addTable(exportCommand);
exportCommand->add_option("FILE", options->file, "CSV file to write (- for standard output)")->required();
addSeparator(exportCommand);
exportCommand->callback(
    [options, &command]
    {
        command = [options](Console& console)
        { return runSectionExport(options->change.table, options->file, options->separator[0], console); };
    });
}
