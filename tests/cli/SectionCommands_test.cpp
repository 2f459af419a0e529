#include "ProgramRun.h"

#include <gtest/gtest.h>

namespace
{
using namespace clitest;

/// A copy of the sample library in a scratch folder, and the program run on it.
struct Library
{
    ScratchFolder scratch;
    std::string folder = scratch.copyOfSampleLibrary();

    ProgramResult run(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--lib", folder});
        return runProgram(args);
    }
    std::string table(const std::string& name) const { return readFile(folder + "/prof/" + name + ".pr"); }
};

const char* const kTables[] = {"HEA", "HEB", "IPE", "L", "UPN"};
} // namespace

TEST(SectionCommands, ListShowAndNames)
{
    Library library;
    ProgramResult list = library.run({"section", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "HEA\nHEB\nIPE\nL\nUPN\n");

    // show prints what the file holds, line for line.
    for (const char* name : kTables)
    {
        ProgramResult show = library.run({"section", "show", name});
        ASSERT_EQ(show.status, 0) << show.err;
        EXPECT_EQ(show.out, library.table(name)) << name;
    }
    ProgramResult upn = library.run({"section", "show", "UPN.pr"});
    ASSERT_GE(upn.lines().size(), 4u);
    EXPECT_EQ(upn.lines()[10], "200\t1\tUPN 200\tUNP 200\tU 200\tUPN 200\t200\t75\t8.5\t11.5\t11.5\t25.3");

    // An inactive size is left out of the active names only.
    std::string text = library.table("L");
    text.replace(text.find("\n25x3\t1\t"), 8, "\n25x3\t0\t");
    library.scratch.write("library/prof/L.pr", text);
    ProgramResult names = library.run({"section", "names", "L"});
    ASSERT_EQ(names.status, 0) << names.err;
    ASSERT_GE(names.lines().size(), 3u);
    EXPECT_EQ(names.lines()[0] + " " + names.lines()[1] + " " + names.lines()[2], "L-20x3 L-25x3 L-25x4");
    ProgramResult active = library.run({"section", "names", "L", "--active"});
    ASSERT_EQ(active.status, 0) << active.err;
    EXPECT_EQ(active.lines().size() + 1, names.lines().size());
    EXPECT_EQ(active.lines()[1], "L-25x4");

    ProgramResult missing = library.run({"section", "show", "HEM"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("HEM.pr"), std::string::npos) << missing.err;
}

TEST(SectionCommands, InsertCopiesASizeUnderANewName)
{
    Library library;
    const std::string before = library.table("IPE");

    ProgramResult dry = library.run({"section", "insert", "IPE", "--after", "300", "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("300\t1\tIPE 300\t"), std::string::npos);
    EXPECT_NE(
        dry.out.find("\n301\t1\tIPE 301\tIPE 300\tIPE 300\tIPE 300\t300\t150\t7.1\t10.7\t15\t42.2\n330\t"),
        std::string::npos)
        << dry.out;
    EXPECT_EQ(library.table("IPE"), before);

    // The original keeps its names; the copy gets the new ones in every language.
    ProgramResult named = library.run({"section", "insert", "UPN", "--after", "400", "--name", "450"});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(named.out, "UPN-450\n");
    const std::string upn = library.table("UPN");
    EXPECT_NE(upn.find("\n400\t1\tUPN 400\tUNP 400\tU 400\tUPN 400\t400\t110\t14\t18\t18\t71.8\n"
                       "450\t1\tUPN 450\tUPN 450\tUPN 450\tUPN 450\t400\t110\t14\t18\t18\t71.8\n"),
              std::string::npos)
        << upn;
    ProgramResult own = library.run(
        {"section", "insert", "L", "--after", "80x8", "--name", "80x9", "--user-name", "Hoekstaal 80x9"});
    ASSERT_EQ(own.status, 0) << own.err;
    EXPECT_NE(library.table("L").find("\n80x9\t1\tHoekstaal 80x9\tHoekstaal 80x9\t"), std::string::npos);

    // Refusals change nothing.
    const std::string l = library.table("L");
    EXPECT_EQ(library.run({"section", "insert", "L", "--after", "80x8", "--name", "80X10"}).status, 1);
    EXPECT_EQ(library.run({"section", "insert", "L", "--after", "81x8"}).status, 1);
    EXPECT_EQ(library.run({"section", "insert", "L", "--after", "80x8", "--user-name", "x"}).status, 2);
    EXPECT_EQ(library.table("L"), l);
}

TEST(SectionCommands, SetValuesNeedsOneNumberPerProperty)
{
    Library library;
    ProgramResult set =
        library.run({"section", "set-values", "HEA", "260", "250", "260", "7.5", "12.5", "24", "68.25"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_NE(library.table("HEA").find(
                  "\n260\t1\tHEA 260\tHE 260 A\tHEA 260\tHEA 260\t250\t260\t7.5\t12.5\t24\t68.25\n"),
              std::string::npos);

    const std::string before = library.table("HEA");
    ProgramResult few =
        library.run({"section", "set-values", "HEA", "260", "250", "260", "7.5", "12.5", "24"});
    EXPECT_EQ(few.status, 2);
    EXPECT_NE(few.err.find("size \"HEA-260\" has 6 property values (h, b, tw, tf, r, G); 5 given"),
              std::string::npos)
        << few.err;
    EXPECT_EQ(library.run({"section", "set-values", "HEA", "260", "1", "2", "3", "4", "5", "6", "7"}).status,
              2);
    EXPECT_EQ(library.run({"section", "set-values", "HEA", "260", "1", "2", "3", "4", "5", "6x"}).status, 2);
    EXPECT_EQ(library.run({"section", "set-values", "HEA", "260", "1", "2", "3", "4", "5", "nan"}).status, 2);
    EXPECT_EQ(library.run({"section", "set-values", "HEA", "265", "1", "2", "3", "4", "5", "6"}).status, 1);
    ProgramResult dry =
        library.run({"section", "set-values", "HEA", "260", "-1", "2", "3", "4", "5", "6", "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("\t-1\t2\t3\t4\t5\t6\n"), std::string::npos) << dry.out;
    EXPECT_EQ(library.table("HEA"), before);
}

TEST(SectionCommands, ExportAndImportRoundTripEveryTableByteForByte)
{
    Library library;
    for (const char* name : kTables)
    {
        const std::string original = library.table(name);
        const std::string csv = library.scratch / (std::string(name) + ".csv");
        ProgramResult out = library.run({"section", "export", name, csv});
        ASSERT_EQ(out.status, 0) << out.err;
        const std::string exported = readFile(csv);
        EXPECT_EQ(exported.substr(0, 43), "SysName,I/O,English,Dutch,German,French,h,b") << name;

        ProgramResult in = library.run({"section", "import", name, csv});
        ASSERT_EQ(in.status, 0) << in.err;
        EXPECT_EQ(library.table(name), original) << name;
        ProgramResult again = library.run({"section", "export", name, "-"});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(again.out, exported) << name;
    }
}

TEST(SectionCommands, ImportsAWorkbookAsItImportsTheSameCsv)
{
    Library library;
    const std::string csv = library.scratch / "UPN.csv";
    const std::string xlsx = library.scratch / "UPN.xlsx";
    ASSERT_EQ(library.run({"section", "export", "UPN", csv}).status, 0);
    ProgramResult convert = library.run({"sheet", "convert", csv, xlsx});
    ASSERT_EQ(convert.status, 0) << convert.err;
    const std::string original = library.table("UPN");
    ProgramResult in = library.run({"section", "import", "UPN", xlsx});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_EQ(library.table("UPN"), original);
}

TEST(SectionCommands, ImportTakesWhatSpreadsheetProgramsWrite)
{
    Library library;
    // Semicolons, quoted fields with separators, quotes and blanks, a byte-order mark.
    const std::string csv =
        library.scratch.write("hd.csv", "\xEF\xBB\xBFSysName;I/O;English;Dutch;German;French;h;G\r\n"
                                        "260x54.1;1;\"HD 260; 54.1\";\" HD \"\"260\"\"\";;;244;54.1\r\n\r\n"
                                        "260x68.2;0;HD 260 x 68.2;;;;250;68.2\r\n");
    ProgramResult fresh = library.run({"section", "import", "HD", csv, "--separator", ";"});
    EXPECT_EQ(fresh.status, 2);
    EXPECT_NE(fresh.err.find("--picture"), std::string::npos);
    ProgramResult in = library.run({"section", "import", "HD", csv, "--separator", ";", "--picture", "1"});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_EQ(library.table("HD"), "1\nSysName\tI/O\tEnglish\tDutch\tGerman\tFrench\th\tG\n"
                                   "260x54.1\t1\tHD 260; 54.1\t HD \"260\"\t\t\t244\t54.1\n"
                                   "260x68.2\t0\tHD 260 x 68.2\t\t\t\t250\t68.2\n");
    ProgramResult out = library.run({"section", "export", "HD", "-", "--separator", ";"});
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out, "SysName;I/O;English;Dutch;German;French;h;G\r\n"
                       "260x54.1;1;\"HD 260; 54.1\";\" HD \"\"260\"\"\";;;244;54.1\r\n"
                       "260x68.2;0;HD 260 x 68.2;;;;250;68.2\r\n");
}

TEST(SectionCommands, BadInputIsRefusedWithFileAndLineAndChangesNothing)
{
    Library library;
    const std::string before = library.table("IPE");
    const struct
    {
        std::string csv;
        std::string message;
    } cases[] = {
        {"", "no header record"},
        {"SysName\n80\n", "line 1: the header holds 1 column names"},
        {"SysName,I/O,h\n80,1,80\n100,1\n", "line 3: the record holds 2 fields where the header has 3"},
        {"SysName,I/O,h\n80,1,80\n,1,100\n", "line 3: no system name"},
        {"SysName,I/O,h\n80,1,80\n100,1,100\n80,0,81\n", "line 4: system name \"80\" is already on line 2"},
        {"SysName,I/O,h\n80,1,8\"0\n", "line 2: "},
        {"SysName,I/O,h\n80,1,\"80\n", "line 2: a quoted field is not closed"},
        {std::string("SysName,I/O,h\n80,1,8\0", 21) + "0\n", "line 2: binary data (byte 0x00)"},
    };
    for (const auto& c : cases)
    {
        const std::string csv = library.scratch.write("bad.csv", c.csv);
        ProgramResult result = library.run({"section", "import", "IPE", csv});
        EXPECT_EQ(result.status, 3) << c.message;
        EXPECT_NE(result.err.find("bad.csv" + std::string(c.csv.empty() ? ": " : ", ") + c.message),
                  std::string::npos)
            << "expected: " << c.message << "\ngot: " << result.err;
    }
    EXPECT_EQ(library.table("IPE"), before);

    // Table names that would reach outside the prof folder.
    for (const char* name : {"../IPE", "..", "prof/IPE", "a:b", "IPE."})
    {
        ProgramResult result = library.run({"section", "show", name});
        EXPECT_EQ(result.status, 2) << name;
        EXPECT_NE(result.err.find("invalid section table name"), std::string::npos) << name;
        EXPECT_EQ(
            library.run({"section", "import", name, library.scratch / "bad.csv", "--picture", "1"}).status,
            2);
    }

    // A malformed table file is named with its line.
    library.scratch.write("library/prof/BAD.pr", "1\nSysName\tI/O\th\n80\t1\n");
    ProgramResult bad = library.run({"section", "names", "BAD"});
    EXPECT_EQ(bad.status, 3);
    EXPECT_NE(bad.err.find("BAD.pr\", line 3: the row holds 2 fields where the header has 3."),
              std::string::npos)
        << bad.err;
}

TEST(SectionCommands, NewRenameAndDeleteTables)
{
    Library library;
    const std::string ipe = library.table("IPE");

    ProgramResult made = library.run({"section", "new", "IPEA", "--like", "IPE"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(library.table("IPEA"), ipe) << "a copy of picture, columns and sizes";

    // Names that would overwrite another table or leave the prof folder are refused.
    const std::pair<const char*, const char*> refused[] = {
        {"ipe", "A table named \"ipe\" exists already."},
        {"../x", "A table name cannot hold the character '/'."},
        {"..", "\"..\" cannot name a table."},
        {"", "A table needs a name."},
    };
    for (const auto& [name, message] : refused)
    {
        ProgramResult result = library.run({"section", "new", name, "--like", "HEA"});
        EXPECT_EQ(result.status, 2) << name;
        EXPECT_EQ(result.err, std::string("kaldor-ss: ") + message + "\n") << name;
        ProgramResult rename = library.run({"section", "rename", "IPEA", name});
        EXPECT_EQ(rename.status, 2) << name;
    }
    EXPECT_EQ(library.run({"section", "new", "X", "--like", "HEM"}).status, 3);

    ProgramResult renamed = library.run({"section", "rename", "IPEA", "IPE2"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(library.table("IPE2"), ipe);
    EXPECT_FALSE(std::filesystem::exists(library.folder + "/prof/IPEA.pr"));
    EXPECT_EQ(library.run({"section", "rename", "IPEA", "IPE3"}).status, 3) << "it is gone";

    ProgramResult deleted = library.run({"section", "delete", "IPE2"});
    ASSERT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_EQ(library.run({"section", "list"}).out, "HEA\nHEB\nIPE\nL\nUPN\n");
    ProgramResult again = library.run({"section", "delete", "IPE2"});
    EXPECT_EQ(again.status, 3);
    EXPECT_NE(again.err.find("no section table \"IPE2\""), std::string::npos) << again.err;
    EXPECT_EQ(library.run({"section", "delete", "../prof/IPE"}).status, 2);
    EXPECT_EQ(library.table("IPE"), ipe);
}

TEST(SectionCommands, AddSizeComposesTheNameAndPlacesTheSize)
{
    Library library;
    ProgramResult added =
        library.run({"section", "add-size", "IPE", "--from", "200", "--set", "h=210", "--set", "B=105"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "IPE-210\n");
    const std::string ipe = library.table("IPE");
    EXPECT_NE(ipe.find("\n200\t1\tIPE 200\tIPE 200\tIPE 200\tIPE 200\t200\t100\t5.6\t8.5\t12\t22.4\n"
                       "210\t1\tIPE 210\tIPE 210\tIPE 210\tIPE 210\t210\t105\t5.6\t8.5\t12\t22.4\n"
                       "220\t"),
              std::string::npos)
        << ipe;

    // Angles are named by leg and thickness; a name the table holds is refused.
    ProgramResult taken =
        library.run({"section", "add-size", "L", "--from", "25x3", "--set", "h=30", "--set", "b=30"});
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.err, "kaldor-ss: Table \"L\" holds a size named \"30x3\" already.\n");
    ProgramResult angle = library.run({"section", "add-size", "L", "--from", "25x3", "--set", "h=27", "--set",
                                       "b=27", "--set", "tw=3.5", "--dry-run"});
    ASSERT_EQ(angle.status, 0) << angle.err;
    EXPECT_NE(angle.out.find("\n25x4\t1\tL 25x4\t"), std::string::npos);
    EXPECT_NE(angle.out.find(
                  "\n27x3.5\t1\tL 27x3.5\tL 27x3.5\tL 27x3.5\tL 27x3.5\t27\t27\t3.5\t3\t3.5\t1.12\n30x3\t"),
              std::string::npos)
        << angle.out;

    // An own name is kept as given, display names included.
    ProgramResult own =
        library.run({"section", "add-size", "UPN", "--from", "80", "--name", "80A", "--dry-run"});
    ASSERT_EQ(own.status, 0) << own.err;
    EXPECT_NE(own.out.find("\n80A\t1\t80A\t80A\t80A\t80A\t80\t45\t"), std::string::npos) << own.out;

    EXPECT_EQ(library.run({"section", "add-size", "IPE", "--from", "200", "--set", "colour=1"}).status, 2);
    EXPECT_EQ(library.run({"section", "add-size", "IPE", "--from", "200", "--set", "h=wide"}).status, 2);
    EXPECT_EQ(library.run({"section", "add-size", "IPE", "--from", "200", "--set", "h"}).status, 2);
    EXPECT_EQ(library.run({"section", "add-size", "IPE", "--from", "999"}).status, 1);

    // A table without sizes has nothing to start from.
    library.scratch.write("library/prof/Empty.pr", "1\nSysName\tI/O\tEnglish\tDutch\tGerman\tFrench\th\n");
    ProgramResult empty = library.run({"section", "add-size", "Empty", "--from", "1"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "kaldor-ss: section table \"Empty\" has no size to start from\n");
}
