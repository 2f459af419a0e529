#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

namespace
{
using namespace clitest;
using Json = nlohmann::json;

/// Records of a CSV text (RFC 4180: quoted fields, "" inside quotes, CRLF or LF).
std::vector<std::vector<std::string>> parseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (quoted)
        {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        }
        else if (c == '"')
            quoted = true;
        else if (c == ',')
            record.push_back(std::exchange(field, {}));
        else if (c == '\n' || c == '\r')
        {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            record.push_back(std::exchange(field, {}));
            records.push_back(std::exchange(record, {}));
        }
        else
            field += c;
    }
    return records;
}

/// The texts a bill row of the JSON file should show as values.
std::vector<std::string> expectedItems(const Json& row)
{
    const Json& items = row.is_array() ? row : row["subtotal"];
    std::vector<std::string> texts;
    for (const Json& item : items)
    {
        std::string text = item.is_string() ? item.get<std::string>() : item.dump();
        // Values read like a spreadsheet's General format: no trailing zeros.
        if (text.size() > 2 && text.ends_with(".0") &&
            text.find_first_not_of("0123456789.") == std::string::npos)
            text.resize(text.size() - 2);
        texts.push_back(text);
    }
    return texts;
}

/// An environment that keeps the program away from the real home and pins the clock.
RunOptions isolated(const ScratchFolder& scratch)
{
    RunOptions options;
    options.env = {{"XDG_CONFIG_HOME", scratch / "config"},
                   {"XDG_CONFIG_DIRS", scratch / "system"},
                   {"HOME", scratch / "home"},
                   {"KALDOR_CLOCK", "1765175940"},
                   {"TZ", "UTC"}};
    return options;
}

const std::string kSmallBill = R"({"columns": [{"name": "Qty", "kind": "whole"}, {"name": "Part"}],
  "rows": [[1, "Plate"], {"subtotal": [1]}]})";
} // namespace

TEST(BillCommand, TheSampleBillBecomesASheetAndACsvHoldingTheSameRows)
{
    ScratchFolder scratch;
    const std::string sample = (samplesFolder() / "bills" / "steel-hall.json").string();
    const Json bill = Json::parse(readFile(sample));
    ASSERT_GE(bill["rows"].size(), 150u);

    const std::string csvFile = scratch / "hall.csv";
    const std::string zxsFile = scratch / "hall.zxs";
    ProgramResult csvRun = runProgram({"bill", sample, "--out", csvFile}, isolated(scratch));
    ASSERT_EQ(csvRun.status, 0) << csvRun.err;
    ProgramResult zxsRun = runProgram({"bill", sample, "--out", zxsFile}, isolated(scratch));
    ASSERT_EQ(zxsRun.status, 0) << zxsRun.err;

    // The CSV read back: the column names, then every row as the JSON gives it.
    const auto records = parseCsv(readFile(csvFile));
    ASSERT_EQ(records.size(), bill["rows"].size() + 1);
    std::vector<std::string> header;
    for (const Json& column : bill["columns"])
        header.push_back(column["name"]);
    EXPECT_EQ(records[0], header);
    for (size_t i = 0; i < bill["rows"].size(); ++i)
    {
        std::vector<std::string> expected = expectedItems(bill["rows"][i]);
        expected.resize(header.size());
        EXPECT_EQ(records[i + 1], expected) << "row " << i + 1;
    }

    // The sheet holds the same values: every CSV field is the value of its cell.
    ProgramResult values = runProgram({"sheet", "values", zxsFile});
    ASSERT_EQ(values.status, 0) << values.err;
    std::map<std::string, std::string> cells;
    for (const std::string& line : values.lines())
        cells[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
    size_t compared = 0;
    for (size_t row = 1; row < records.size(); ++row)
        for (size_t col = 0; col < records[row].size(); ++col)
        {
            if (records[row][col].empty())
                continue;
            const std::string address = std::string(1, static_cast<char>('A' + col)) + std::to_string(row);
            EXPECT_EQ(cells[address], records[row][col]) << address;
            ++compared;
        }
    EXPECT_GT(compared, 1000u);

    // The print variables, with the pinned date, travel in the sheet's corner cell.
    const std::string sheetText = readFile(zxsFile);
    EXPECT_NE(sheetText.find("varValues0\xA4"
                             "4\xA4"
                             "08 December, 2025 (06:39)\xA4"
                             "varValues1\xA4"
                             "4\xA4"
                             "hall\xA4"),
              std::string::npos);
    EXPECT_NE(sheetText.find("varNames3\xA4"
                             "4\xA4"
                             "Project\xA4"),
              std::string::npos);
    // Subtotal cells are coloured.
    EXPECT_NE(sheetText.find("0x00FFD1A4"), std::string::npos);
}

TEST(BillCommand, TitleAndSettingsComeFromTheCommandLine)
{
    ScratchFolder scratch;
    const std::string lib = scratch / "lib";
    scratch.write("lib/readme", "");
    const std::string bill = scratch.write("b.json", kSmallBill);
    ProgramResult set =
        runProgram({"--lib", lib, "settings", "set", "Bills", "defaultFont=Arial", "defaultTextHeight=11"},
                   isolated(scratch));
    ASSERT_EQ(set.status, 0) << set.err;

    const std::string out = scratch / "b.zxs";
    ProgramResult run =
        runProgram({"--lib", lib, "bill", bill, "--out", out, "--settings", "Bills", "--title", "Hall 7"},
                   isolated(scratch));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = readFile(out);
    EXPECT_NE(text.find("defaultFont\xA4"
                        "4\xA4"
                        "Arial\xA4"),
              std::string::npos);
    EXPECT_NE(text.find("varValues1\xA4"
                        "4\xA4"
                        "Hall 7\xA4"),
              std::string::npos);
}

TEST(BillCommand, AnXlsxBillHoldsTheValuesOfTheSheet)
{
    ScratchFolder scratch;
    const std::string bill = scratch.write("b.json", kSmallBill);
    ProgramResult xlsx = runProgram({"bill", bill, "--out", scratch / "b.xlsx"}, isolated(scratch));
    ASSERT_EQ(xlsx.status, 0) << xlsx.err;
    ProgramResult zxs = runProgram({"bill", bill, "--out", scratch / "b.zxs"}, isolated(scratch));
    ASSERT_EQ(zxs.status, 0) << zxs.err;
    ProgramResult fromXlsx = runProgram({"sheet", "values", scratch / "b.xlsx"}, isolated(scratch));
    ProgramResult fromZxs = runProgram({"sheet", "values", scratch / "b.zxs"}, isolated(scratch));
    ASSERT_EQ(fromXlsx.status, 0) << fromXlsx.err;
    EXPECT_FALSE(fromZxs.out.empty());
    EXPECT_EQ(fromXlsx.out, fromZxs.out);
}

TEST(BillCommand, RefusesBadBillsAndFailsWithoutAPartialFile)
{
    ScratchFolder scratch;
    const std::string bill = scratch.write("b.json", kSmallBill);

    const std::string bad =
        scratch.write("bad.json", R"({"columns": [{"name": "A", "kind": "money"}], "rows": []})");
    ProgramResult badRun = runProgram({"bill", bad, "--out", scratch / "bad.zxs"}, isolated(scratch));
    EXPECT_EQ(badRun.status, 3);
    EXPECT_NE(badRun.err.find("$.columns[0].kind"), std::string::npos) << badRun.err;

    ProgramResult missing =
        runProgram({"bill", scratch / "none.json", "--out", scratch / "x.zxs"}, isolated(scratch));
    EXPECT_EQ(missing.status, 3);

    for (const std::string& out : {scratch / "no-folder/b.zxs", scratch / "no-folder/b.csv"})
    {
        ProgramResult failed = runProgram({"bill", bill, "--out", out}, isolated(scratch));
        EXPECT_EQ(failed.status, 1) << out;
        EXPECT_NE(failed.err.find("could not be saved"), std::string::npos) << failed.err;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "no-folder"));
}

TEST(BillCommand, PictureRowsShowInTheSheetAndStayOutOfTheCsv)
{
    ScratchFolder scratch;
    std::string bitmap =
        "BM" + std::string(8, '\0') + std::string("\x36\0\0\0\x28\0\0\0\x10\0\0\0\x20\0\0\0\x01\0\x18\0", 20);
    scratch.write("pics/p1.bmp", bitmap);
    const std::string bill = scratch.write(
        "b.json", R"({"columns": [{"name": "Qty", "kind": "whole"}, {"name": "Part", "kind": "text"}],
                     "rows": [{"items": [1, "Plate"], "picture": "pics/p1.bmp"}, [2, "Bolt"]]})");
    ProgramResult zxs = runProgram({"bill", bill, "--out", scratch / "b.zxs"}, isolated(scratch));
    ASSERT_EQ(zxs.status, 0) << zxs.err;
    EXPECT_NE(readFile(scratch / "b.zxs").find("picture\t36"), std::string::npos);
    ProgramResult csv = runProgram({"bill", bill, "--out", scratch / "b.csv"}, isolated(scratch));
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(readFile(scratch / "b.csv"), "Qty,Part\r\n1,Plate\r\n2,Bolt\r\n");
    // The user's picture is only copied, never deleted.
    EXPECT_TRUE(std::filesystem::exists(scratch / "pics/p1.bmp"));
}

TEST(SettingsCommand, ShowsTheEffectiveSettingsAndSetsKeysStrictly)
{
    ScratchFolder scratch;
    const std::string lib = scratch / "lib";
    scratch.write("lib/readme", "");
    RunOptions options = isolated(scratch);

    ProgramResult defaults = runProgram({"--lib", lib, "settings", "show"}, options);
    ASSERT_EQ(defaults.status, 0) << defaults.err;
    EXPECT_EQ(defaults.out, "headerFile\ttext\t\nfooterFile\ttext\t\ndefaultFont\ttext\tTahoma\n"
                            "defaultTextHeight\tint\t13\nmarginLeft\tint\t9\nmarginRight\tint\t5\n"
                            "marginTop\tint\t5\nmarginBottom\tint\t5\nsmartPrint\tint\t1\ncolors\tint\t1\n"
                            "colHeader\tint\t1\nrowHeader\tint\t1\ncellSeperators\tint\t1\nborder\tint\t1\n");

    ProgramResult set = runProgram({"--lib", lib, "settings", "set", "Steel", "MARGINLEFT=12", "border=0",
                                    "varNames0=Project", "varValues0=P-17"},
                                   options);
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(readFile(lib + "/Steel.zxd").substr(0, 14), "headerFile\xA4"
                                                          "4\xA4\xA4");

    // The configured default settings are what "show" without a name gives.
    scratch.write("config/kaldor-ss/editor.conf", "Default Settings=Steel\n");
    ProgramResult shown = runProgram({"--lib", lib, "settings", "show"}, options);
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto lines = shown.lines();
    EXPECT_EQ(lines[4], "marginLeft\tint\t12");
    EXPECT_EQ(lines[13], "border\tint\t0");
    EXPECT_EQ(lines.back(), "varValues0\ttext\tP-17");
    EXPECT_EQ(runProgram({"--lib", lib, "settings", "show", lib + "/Steel.zxd"}, options).out, shown.out);

    const std::string before = readFile(lib + "/Steel.zxd");
    for (std::vector<std::string> wrong : {std::vector<std::string>{"colour=1"},
                                           {"marginTop=12mm"},
                                           {"border=2"},
                                           {"varNames5=x"},
                                           {"defaultFont=Auftr\xC3\xA4ge"},
                                           {"marginTop"}})
    {
        std::vector<std::string> args{"--lib", lib, "settings", "set", "Steel", "marginTop=1"};
        args.insert(args.end(), wrong.begin(), wrong.end());
        ProgramResult refused = runProgram(args, options);
        EXPECT_EQ(refused.status, 2) << wrong[0];
    }
    EXPECT_EQ(readFile(lib + "/Steel.zxd"), before);
}
