#include "BillCommands.h"

#include "Commands.h"
#include "Console.h"
#include "grid/SheetFormats.h"
#include "host/AcTransaction.h"
#include "host/Clock.h"
#include "host/FileFunctions.h"
#include "host/Kdr_Bill.h"
#include "host/Settings.h"
#include "spread/ZxSSBillOutput.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

namespace cli
{
namespace
{
using Json = nlohmann::ordered_json;

/// One row of a bill as the host would feed it.
struct BillRow
{
    Kdr_StringArray items;
    bool subtotal = false;
    /// A bitmap that stands for the part's drawn picture ("" for none).
    Kdr_String picture;
};

struct Bill
{
    Kdr_StringArray columnNames;
    AcArray<int> columnKinds;
    Kdr_StringArray varNames;
    Kdr_StringArray varValues;
    std::string settings;
    std::string title;
    std::vector<BillRow> rows;
};

/// A bad bill file: the message names the JSON path of the fault.
struct BillError
{
    std::string path;
    std::string message;
};

int kindOf(const Json& kind, const std::string& path)
{
    if (kind.is_number_integer())
    {
        const long long value = kind.get<long long>();
        if (value >= ZxSSBillOutput::kWholeNumber && value <= ZxSSBillOutput::kText)
            return static_cast<int>(value);
    }
    else if (kind.is_string())
    {
        const Kdr_String word = kind.get<std::string>();
        if (word.equal("whole", false))
            return ZxSSBillOutput::kWholeNumber;
        if (word.equal("decimal", false))
            return ZxSSBillOutput::kOneDecimal;
        if (word.equal("text", false))
            return ZxSSBillOutput::kText;
    }
    throw BillError{path, "a column kind is \"whole\", \"decimal\" or \"text\" (or 1, 2, 3)"};
}

Kdr_String itemText(const Json& item, const std::string& path)
{
    if (item.is_null())
        return {};
    if (item.is_string())
        return item.get<std::string>();
    if (item.is_number_integer() || item.is_number_unsigned())
        return item.dump();
    if (item.is_number_float())
        return Kdr_String(item.get<double>(), 15, false);
    throw BillError{path, "an item is a text, a number or null"};
}

Kdr_StringArray itemsOf(const Json& items, const std::string& path)
{
    if (!items.is_array())
        throw BillError{path, "the items of a row are an array"};
    Kdr_StringArray texts;
    for (size_t i = 0; i < items.size(); ++i)
        texts.append(itemText(items[i], path + "[" + std::to_string(i) + "]"));
    return texts;
}

std::string textMember(const Json& object, const char* name, const std::string& path)
{
    if (!object.contains(name))
        return {};
    if (!object[name].is_string())
        throw BillError{path + "." + name, "a text is expected"};
    return object[name].get<std::string>();
}

/// Reads the bill file; picture files are taken relative to the bill file's folder.
Bill readBill(const Json& json, const Kdr_String& folder)
{
    Bill bill;
    if (!json.is_object())
        throw BillError{"$", "the bill is a JSON object"};
    if (!json.contains("columns") || !json["columns"].is_array() || json["columns"].empty())
        throw BillError{"$.columns", "the bill needs an array of at least one column"};
    const Json& columns = json["columns"];
    for (size_t i = 0; i < columns.size(); ++i)
    {
        const std::string path = "$.columns[" + std::to_string(i) + "]";
        if (!columns[i].is_object() || !columns[i].contains("name") || !columns[i]["name"].is_string())
            throw BillError{path, "a column is an object with a \"name\" text"};
        bill.columnNames.append(columns[i]["name"].get<std::string>());
        bill.columnKinds.append(columns[i].contains("kind") ? kindOf(columns[i]["kind"], path + ".kind")
                                                            : ZxSSBillOutput::kText);
    }
    if (json.contains("variables"))
    {
        if (!json["variables"].is_object())
            throw BillError{"$.variables", "the variables are an object of texts"};
        for (const auto& [name, value] : json["variables"].items())
        {
            bill.varNames.append(name);
            bill.varValues.append(itemText(value, "$.variables." + name));
        }
    }
    bill.settings = textMember(json, "settings", "$");
    bill.title = textMember(json, "title", "$");
    if (!json.contains("rows") || !json["rows"].is_array())
        throw BillError{"$.rows", "the bill needs an array of rows"};
    const Json& rows = json["rows"];
    bill.rows.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const std::string path = "$.rows[" + std::to_string(i) + "]";
        const Json& row = rows[i];
        BillRow parsed;
        if (row.is_array())
            parsed.items = itemsOf(row, path);
        else if (row.is_object() && row.contains("subtotal"))
        {
            parsed.items = itemsOf(row["subtotal"], path + ".subtotal");
            parsed.subtotal = true;
        }
        else if (row.is_object() && row.contains("items"))
        {
            parsed.items = itemsOf(row["items"], path + ".items");
            const std::string picture = textMember(row, "picture", path);
            if (!picture.empty())
                parsed.picture = picture.front() == '/' ? Kdr_String(picture) : folder + picture;
        }
        else
            throw BillError{path, "a row is an array of items, {\"items\": […], \"picture\": file} or "
                                  "{\"subtotal\": […]}"};
        bill.rows.push_back(std::move(parsed));
    }
    return bill;
}

/// The clock the print date is read from: KALDOR_CLOCK (seconds since the Unix epoch) makes
/// the output reproducible; else the system's.
std::optional<std::chrono::system_clock::time_point> fixedTime()
{
    const char* text = std::getenv("KALDOR_CLOCK");
    if (!text || !*text)
        return std::nullopt;
    long long seconds = 0;
    const char* end = text + std::strlen(text);
    auto [last, error] = std::from_chars(text, end, seconds);
    if (error != std::errc() || last != end)
        return std::nullopt;
    return std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
}
} // namespace

bool chooseBillWriter(const std::string& outFile, Kdr_Spread::SheetFileWriter& writer, std::string& error)
{
    const Kdr_String extension = host::getExtension(outFile);
    if (extension.equal("csv", false))
    {
        writer = [](Kdr_Spread& sheet, const Kdr_String& fileName) { return writeBillCsv(sheet, fileName); };
        return true;
    }
    // Any other name is saved by the sheet itself: the native format, or a workbook format
    // the program registered (.xlsx).
    if (extension.equal("xlsx", false) && !grid::findSheetWriter(outFile))
    {
        error = "this program was built without the workbook formats: write .zxs (the sheet) or .csv";
        return false;
    }
    writer = nullptr;
    return true;
}

int runBill(const std::string& billFile, const std::string& outFile, const std::string& settings,
            const std::string& title, Console& console)
{
    Kdr_Spread::SheetFileWriter writer;
    std::string refusal;
    if (!chooseBillWriter(outFile, writer, refusal))
    {
        console.error(refusal);
        return kUsage;
    }

    std::string bytes;
    Kdr_String readError;
    if (!host::readFileBytes(billFile, bytes, readError))
    {
        console.error(readError);
        return kBadInput;
    }
    Bill bill;
    try
    {
        bill = readBill(Json::parse(bytes), getPath(host::normalizePath(billFile)));
    }
    catch (const Json::parse_error& error)
    {
        console.error(billFile + ": " + error.what());
        return kBadInput;
    }
    catch (const BillError& error)
    {
        console.error(billFile + ": " + error.path + ": " + error.message);
        return kBadInput;
    }

    // Named settings live in the application folder, which for this program is the library.
    gSettings.setAppDir(gSettings.libDir());
    host::ManualClock fixedClock;
    std::unique_ptr<host::ClockOverride> clockOverride;
    if (auto time = fixedTime())
    {
        fixedClock.setWallTime(*time);
        clockOverride = std::make_unique<host::ClockOverride>(fixedClock);
    }

    ZxSSBillOutput output;
    if (output.init(outFile, bill.columnNames, {}, bill.columnKinds,
                    settings.empty() ? bill.settings : settings, bill.varNames, bill.varValues) != Acad::eOk)
    {
        console.error("cannot open the bill's sheet");
        return kFailed;
    }
    output.setTitle(title.empty() ? bill.title : title);
    output.setFileWriter(writer);

    // Pictures are drawn by the host for the rows it feeds with onAddRow, counted in order.
    Kdr_Bill hostBill;
    AcTransaction transaction;
    bool pictures = false;
    int fedRows = 0;
    for (const BillRow& row : bill.rows)
        if (!row.subtotal)
        {
            if (!row.picture.empty())
            {
                hostBill.setPicture(fedRows, row.picture);
                pictures = true;
            }
            ++fedRows;
        }
    if (pictures)
        output.setVars(-1, 0, 0, true, true, &hostBill, &transaction);

    output.onStartFeed();
    for (const BillRow& row : bill.rows)
        if (row.subtotal)
            output.onAddSubTotals(row.items, {}, false, 0);
        else
            output.onAddRow(row.items);
    if (output.onEndFeed() != Acad::eOk)
    {
        console.error("the bill was not written to \"" + outFile + "\"");
        return kFailed;
    }
    console.note("bill of " + std::to_string(bill.rows.size()) + " rows written to " + outFile);
    return kSuccess;
}
} // namespace cli

void cli::addBillCommands(CLI::App& app, Command& command)
{
    struct Options
    {
        std::string bill;
        std::string out;
        std::string settings;
        std::string title;
    };
    auto options = std::make_shared<Options>();
    CLI::App* bill = app.add_subcommand(
        "bill", "Write a bill of materials (JSON) as a formatted sheet (.zxs) or CSV (.csv)");
    bill->add_option("BILL", options->bill, "The bill: columns and rows as JSON (see docs/bill-json.md)")
        ->required();
    bill->add_option("--out", options->out,
                     "The file to write; .csv writes CSV, any other name the sheet format")
        ->required();
    bill->add_option("--settings", options->settings,
                     "Editor settings name (NAME.zxd in the library folder) or a .zxd file");
    bill->add_option("--title", options->title, "Print title (default: the output file's name)");
    bill->callback(
        [options, &command]
        {
            command = [options](Console& console)
            { return runBill(options->bill, options->out, options->settings, options->title, console); };
        });
}
