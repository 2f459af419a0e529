#include "TempFolder.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/TableFile.h"

#include <gtest/gtest.h>

namespace
{
Kdr_Array<Kdr_StringArray> awkwardRows()
{
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        high += static_cast<char>(byte);
    return Kdr_Array<Kdr_StringArray>{
        Kdr_StringArray{"plain", "tab\there", "line\nbreak"},
        Kdr_StringArray{"back\\slash", "carriage\rreturn", Kdr_String(high)},
        Kdr_StringArray{},
        Kdr_StringArray{"", "leading empty"},
        Kdr_StringArray{"trailing empty", ""},
        Kdr_StringArray{"\\t is not a tab"},
    };
}

std::string bytesOf(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(host::readFileBytes(path, bytes));
    return bytes;
}
} // namespace

TEST(TableFile, GoldenFileReadsAndWritesByteForByte)
{
    const std::string golden = KALDOR_TEST_DATA "tablefile/awkward.tab";
    Kdr_String name;
    Kdr_Array<Kdr_StringArray> rows;
    ASSERT_TRUE(readFile(golden, name, rows));
    EXPECT_EQ(name, "awkward");
    EXPECT_EQ(rows, awkwardRows());

    TempFolder folder;
    ASSERT_TRUE(writeFile(folder.path("out.tab"), rows));
    EXPECT_EQ(bytesOf(folder.path("out.tab")), bytesOf(golden));
}

TEST(TableFile, NameIsTheBaseNameAndBackslashesSeparateFolders)
{
    TempFolder folder;
    const Kdr_Array<Kdr_StringArray> rows{Kdr_StringArray{"1"}, Kdr_StringArray{"SysName", "I/O"}};
    std::string path = folder.path("HE-A.pr");
    for (char& c : path)
        if (c == '/')
            c = '\\';
    ASSERT_TRUE(writeFile(path, rows));
    Kdr_String name;
    Kdr_Array<Kdr_StringArray> read;
    ASSERT_TRUE(readFile(folder.path("HE-A.pr"), name, read));
    EXPECT_EQ(name, "HE-A");
    EXPECT_EQ(read, rows);
}

TEST(TableFile, CrLfLinesAndAMissingFinalLineBreak)
{
    Kdr_Array<Kdr_StringArray> rows;
    ASSERT_TRUE(host::parseTableText("a\tb\r\nc", "inline", rows));
    EXPECT_EQ(rows, (Kdr_Array<Kdr_StringArray>{Kdr_StringArray{"a", "b"}, Kdr_StringArray{"c"}}));
    ASSERT_TRUE(host::parseTableText("", "inline", rows));
    EXPECT_TRUE(rows.isEmpty());
}

TEST(TableFile, BrokenEscapesAreRefusedWithFileAndLine)
{
    TempFolder folder;
    const struct
    {
        const char* text;
        int line;
    } cases[] = {{"ok\nbad\\x\n", 2}, {"ends with\\", 1}, {"a\n\nb\tc\\\n", 3}};
    for (const auto& [text, line] : cases)
    {
        ASSERT_TRUE(host::writeFileAtomically(folder.path("bad.tab"), text));
        host::CommandLineCapture capture;
        Kdr_String name = "kept";
        Kdr_Array<Kdr_StringArray> rows{Kdr_StringArray{"kept"}};
        EXPECT_FALSE(readFile(folder.path("bad.tab"), name, rows));
        EXPECT_EQ(name, "kept");
        EXPECT_EQ(rows.length(), 1);
        EXPECT_EQ(capture.text(), "*Error* Table file \"" + folder.path("bad.tab") + "\", line " +
                                      std::to_string(line) +
                                      ": broken escape (a backslash must be followed by \\, t, n or r).\n");
    }
}

TEST(TableFile, FailedWriteLeavesTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.path("IPE.pr");
    const Kdr_Array<Kdr_StringArray> old{Kdr_StringArray{"old"}};
    ASSERT_TRUE(writeFile(path, old));
    host::CommandLineCapture capture;
    host::setWriteFailureForTesting(true);
    const bool written = writeFile(path, awkwardRows());
    host::setWriteFailureForTesting(false);
    EXPECT_FALSE(written);
    EXPECT_NE(capture.text().find("IPE.pr"), std::string::npos);
    EXPECT_EQ(bytesOf(path), "old\n");

    EXPECT_FALSE(writeFile(folder.path("no/such/folder/x.pr"), old));
    Kdr_String name;
    Kdr_Array<Kdr_StringArray> rows;
    EXPECT_FALSE(readFile(folder.path("absent.pr"), name, rows));
    EXPECT_NE(capture.text().find("absent.pr"), std::string::npos);
}

TEST(TableFile, ArbitraryBytesNeverCrashAndRoundTripWhenAccepted)
{
    unsigned seed = 12345;
    for (int round = 0; round < 500; ++round)
    {
        std::string bytes;
        for (int i = 0; i < round % 64; ++i)
        {
            seed = seed * 1103515245u + 12345u;
            const char alphabet[] = {'a', '\\', '\t', '\n', '\r', 't', 'n', 'r', '\x80', '\xFF', '\0'};
            bytes += alphabet[(seed >> 16) % sizeof alphabet];
        }
        host::CommandLineCapture quiet;
        Kdr_Array<Kdr_StringArray> rows;
        if (!host::parseTableText(bytes, "random", rows))
            continue;
        Kdr_Array<Kdr_StringArray> again;
        ASSERT_TRUE(host::parseTableText(host::formatTableText(rows), "again", again));
        EXPECT_EQ(again, rows);
    }
}
