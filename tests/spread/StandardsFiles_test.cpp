#include "SteelTestSupport.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "spread/StandardsFiles.h"

#include <chrono>
#include <gtest/gtest.h>

using steel_test::ScratchLibrary;

namespace
{
Kdr_String pathText(const std::filesystem::path& path)
{
    return Kdr_String(path.generic_string());
}

TEST(LocateStandardsFile, TriesTheFourPlacesInOrder)
{
    ScratchLibrary library;
    library.write("Connection Standards/Data/sizes.txt", "data");
    library.write("Connection Standards/sizes.txt", "standards");
    library.write("sizes.txt", "library");

    Kdr_String name = "sizes.txt";
    ASSERT_TRUE(locateStandardsFile(name));
    EXPECT_EQ(name, pathText(library.data() / "sizes.txt"));

    std::filesystem::remove(library.data() / "sizes.txt");
    name = "sizes.txt";
    ASSERT_TRUE(locateStandardsFile(name));
    EXPECT_EQ(name, pathText(library.standards() / "sizes.txt"));

    std::filesystem::remove(library.standards() / "sizes.txt");
    name = "sizes.txt";
    ASSERT_TRUE(locateStandardsFile(name));
    EXPECT_EQ(name, pathText(library.root() / "sizes.txt"));

    // A full path is taken as given, before the library folder.
    const auto elsewhere = library.write(library.root() / "other" / "sizes.txt", "given");
    name = pathText(elsewhere);
    ASSERT_TRUE(locateStandardsFile(name));
    EXPECT_EQ(name, pathText(elsewhere));
}

TEST(LocateStandardsFile, AcceptsBackslashesAndRefusesFoldersAndMissingFiles)
{
    ScratchLibrary library;
    library.write("Connection Standards/Data/plates/thick.txt", "8");

    Kdr_String name = "Data\\plates\\thick.txt";
    ASSERT_TRUE(locateStandardsFile(name));
    EXPECT_EQ(name, pathText(library.data() / "plates" / "thick.txt"));

    for (const char* missing : {"nothing.txt", "", "Data", "plates"})
    {
        Kdr_String text = missing;
        EXPECT_FALSE(locateStandardsFile(text)) << missing;
        EXPECT_EQ(text, missing) << "a failed search leaves the name alone";
    }
}

TEST(ReadSizesFile, ReadsPairsAndSingleNumbersWithoutComments)
{
    ScratchLibrary library;
    const auto file = library.write("sizes.txt", "/* plate sizes\r\n"
                                                 "   100 x 99 is not one */ \r\n"
                                                 "100 x 10\r\n"
                                                 "\r\n"
                                                 "   \t\r\n"
                                                 "// 5 x 5\n"
                                                 "150 // any thickness\n"
                                                 "120x12 /* inline */\n"
                                                 "2.5e1\n"
                                                 "abc\n");
    StandardSizes sizes;
    ASSERT_TRUE(readSizesFile(pathText(file), sizes));
    EXPECT_EQ(sizes.firsts, (Kdr_Array<double>{100, 150, 120, 25, 0}));
    EXPECT_EQ(sizes.seconds, (Kdr_Array<double>{10, 0, 12, 0, 0}));
}

TEST(ReadTableFile, SplitsAtTabAndDropsCommentsAndEmptyLines)
{
    ScratchLibrary library;
    const auto file = library.write("bolts.txt", "// key\tvalue\n"
                                                 "M20;8.8\t245\textra\n"
                                                 "\n"
                                                 "M24 // no value\n"
                                                 "M16\t\n");
    StandardsTable rows;
    ASSERT_TRUE(readTableFile(pathText(file), rows));
    ASSERT_EQ(rows.length(), 3);
    EXPECT_EQ(rows[0], (Kdr_StringArray{"M20;8.8", "245", "extra"}));
    EXPECT_EQ(rows[1], (Kdr_StringArray{"M24 "}));
    EXPECT_EQ(rows[2], (Kdr_StringArray{"M16", ""}));
}

TEST(StandardsFileReaders, RefuseFilesThatAreNotTextAndNameTheLine)
{
    ScratchLibrary library;
    host::CommandLineCapture capture;
    StandardSizes sizes;
    StandardsTable rows;

    const auto binary = library.write("binary.txt", std::string("10\n12\n\x01\x02\0\x03 x 4\n", 15));
    EXPECT_FALSE(readSizesFile(pathText(binary), sizes));
    EXPECT_TRUE(sizes.firsts.isEmpty());
    EXPECT_NE(capture.text().find("binary.txt\" line 3 holds a NUL byte"), std::string::npos)
        << capture.text();

    capture.clear();
    const auto huge = library.write("huge.txt", "a\tb\n" + std::string(kMaxStandardsLineLength + 1, '7'));
    EXPECT_FALSE(readTableFile(pathText(huge), rows));
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_NE(capture.text().find("huge.txt\" line 2 is too long"), std::string::npos) << capture.text();

    EXPECT_FALSE(readTableFile(pathText(library.root() / "missing.txt"), rows));
    EXPECT_FALSE(readSizesFile(pathText(library.root()), sizes)) << "a folder is no file";
}

TEST(StandardsFileCache, ReadsAChangedFileAgain)
{
    ScratchLibrary library;
    clearStandardsFileCache();
    const auto file = library.write("table.txt", "A\t1\n");
    const Kdr_String path = pathText(file);
    StandardsTable rows;

    ASSERT_TRUE(readTableFile(path, rows));
    EXPECT_EQ(rows[0][1], "1");
    EXPECT_EQ(standardsFileCacheSize(), 1);

    // Another size.
    library.write("table.txt", "A\t22\n");
    ASSERT_TRUE(readTableFile(path, rows));
    EXPECT_EQ(rows[0][1], "22");

    // The same size, a later time.
    library.write("table.txt", "A\t33\n");
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(5));
    ASSERT_TRUE(readTableFile(path, rows));
    EXPECT_EQ(rows[0][1], "33");

    // Gone: no stale copy is handed out.
    std::filesystem::remove(file);
    EXPECT_FALSE(readTableFile(path, rows));
}

TEST(StandardsFileCache, GivesWhatReadingAfreshGivesAndStaysBounded)
{
    ScratchLibrary library;
    clearStandardsFileCache();
    const auto file = library.write("sizes.txt", "8\n10 x 2\n/* 11 */\n12\n");
    StandardSizes cached;
    StandardSizes cachedAgain;
    StandardSizes fresh;
    ASSERT_TRUE(readSizesFile(pathText(file), cached));
    ASSERT_TRUE(readSizesFile(pathText(file), cachedAgain));
    setStandardsFileCacheEnabled(false);
    EXPECT_EQ(standardsFileCacheSize(), 0);
    ASSERT_TRUE(readSizesFile(pathText(file), fresh));
    EXPECT_EQ(standardsFileCacheSize(), 0);
    setStandardsFileCacheEnabled(true);
    EXPECT_EQ(cached.firsts, fresh.firsts);
    EXPECT_EQ(cached.seconds, fresh.seconds);
    EXPECT_EQ(cachedAgain.firsts, fresh.firsts);

    for (int i = 0; i < 50; ++i)
    {
        StandardsTable rows;
        const auto each = library.write("t" + std::to_string(i) + ".txt", "k\t" + std::to_string(i) + "\n");
        ASSERT_TRUE(readTableFile(pathText(each), rows));
        EXPECT_EQ(rows[0][1], std::to_string(i));
    }
    EXPECT_LE(standardsFileCacheSize(), 32);
    clearStandardsFileCache();
}
} // namespace
