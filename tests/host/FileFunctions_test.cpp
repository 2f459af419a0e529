#include "TempFolder.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace
{
/// Restores the host's file knobs after a test changed them.
struct FileKnobs
{
    ~FileKnobs()
    {
        host::setWriteFailureForTesting(false);
        host::setMaxReadFileSize(std::uintmax_t(64) << 20);
    }
};
} // namespace

TEST(FileFunctions, ReadSplitsEveryKindOfLineEnd)
{
    TempFolder folder;
    folder.write("mixed.txt", "one\r\ntwo\nthree\rfour\n\nsix\xBF\xFF");
    Kdr_StringArray lines;
    ASSERT_TRUE(ObjectExportReadFile(folder.path("mixed.txt"), lines));
    EXPECT_EQ(lines, (Kdr_StringArray{"one", "two", "three", "four", "", "six\xBF\xFF"}));

    folder.write("empty.txt", "");
    EXPECT_TRUE(ObjectExportReadFile(folder.path("empty.txt"), lines));
    EXPECT_TRUE(lines.isEmpty());
}

TEST(FileFunctions, WriteThenReadRoundTripsThroughBackslashPaths)
{
    TempFolder folder;
    Kdr_String path = folder.path() + "sub\\out.txt";
    ASSERT_TRUE(ObjectExportCreateDirectory(folder.path() + "sub\\"));
    Kdr_StringArray lines{"a\tb", "", "\xE9\xBF"};
    ASSERT_TRUE(ObjectExportWriteFile(path, lines));
    EXPECT_EQ(folder.read("sub/out.txt"), "a\tb\n\n\xE9\xBF\n");
    Kdr_StringArray back;
    ASSERT_TRUE(ObjectExportReadFile(path, back));
    EXPECT_EQ(back, lines);
    EXPECT_EQ(folder.entryCount("sub"), 1); // no temporary file left behind
}

TEST(FileFunctions, FailedWritesLeaveTheOldFileIntactAndSayWhich)
{
    FileKnobs restore;
    TempFolder folder;
    folder.write("keep.txt", "old contents\n");
    host::CommandLineCapture capture;

    host::setWriteFailureForTesting(true); // as a full disk
    EXPECT_FALSE(ObjectExportWriteFile(folder.path("keep.txt"), Kdr_StringArray{"new"}));
    EXPECT_FALSE(ObjectExportCopyFile(folder.path("keep.txt"), folder.path("copy.txt")));
    host::setWriteFailureForTesting(false);
    EXPECT_EQ(folder.read("keep.txt"), "old contents\n");
    EXPECT_EQ(folder.entryCount(), 1);

    EXPECT_FALSE(ObjectExportWriteFile(folder.path("missing/x.txt"), Kdr_StringArray{"new"}));
    folder.write("dir/inner.txt", "x");
    EXPECT_FALSE(ObjectExportWriteFile(folder.path("dir"), Kdr_StringArray{"new"}));
    EXPECT_EQ(folder.read("dir/inner.txt"), "x");

    const std::string text = capture.text();
    EXPECT_NE(text.find("*Error* Cannot write file \"" + folder.path("keep.txt") + "\""), std::string::npos)
        << text;
    EXPECT_NE(text.find(folder.path("missing/x.txt")), std::string::npos) << text;
    EXPECT_NE(text.find(folder.path("copy.txt")), std::string::npos) << text;
}

TEST(FileFunctions, ReadRefusesMissingAndOversizedFilesByName)
{
    FileKnobs restore;
    TempFolder folder;
    folder.write("big.txt", std::string(100, 'x'));
    host::setMaxReadFileSize(99);
    host::CommandLineCapture capture;
    Kdr_StringArray lines{"stale"};
    EXPECT_FALSE(ObjectExportReadFile(folder.path("big.txt"), lines));
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_FALSE(ObjectExportReadFile(folder.path("none.txt"), lines));
    EXPECT_FALSE(ObjectExportReadFile(folder.path(), lines)); // a folder is not a file
    EXPECT_EQ(capture.text(), "*Error* File \"" + folder.path("big.txt") +
                                  "\" is larger than 99 bytes and was not read.\n"
                                  "*Error* Cannot open file \"" +
                                  folder.path("none.txt") +
                                  "\".\n"
                                  "*Error* Cannot open file \"" +
                                  folder.path() + "\".\n");
    host::setMaxReadFileSize(100);
    EXPECT_TRUE(ObjectExportReadFile(folder.path("big.txt"), lines));
}

TEST(FileFunctions, FindFilesMatchesPatternsSortedAndRecursively)
{
    TempFolder folder;
    for (const char* name : {"b.zxs", "A.ZXS", "c.map", "Childs/d.zxs", "Childs/deep/e.zxs"})
        folder.write(name, "");
    Kdr_StringArray files;
    ASSERT_TRUE(ObjectExportFindFiles(folder.path(), "*.zxs", files));
    EXPECT_EQ(files, (Kdr_StringArray{folder.path("A.ZXS"), folder.path("b.zxs")}));
    ASSERT_TRUE(ObjectExportFindFilesRecursive(folder.path() + "*.zxs", files));
    EXPECT_EQ(files, (Kdr_StringArray{folder.path("A.ZXS"), folder.path("b.zxs"), folder.path("Childs/d.zxs"),
                                      folder.path("Childs/deep/e.zxs")}));
    EXPECT_FALSE(ObjectExportFindFiles(folder.path(), "*.pr", files));
    EXPECT_TRUE(files.isEmpty());
    EXPECT_FALSE(ObjectExportFindFiles(folder.path("nowhere/"), "*", files));
}

TEST(FileFunctions, LatestFileAndFileTime)
{
    TempFolder folder;
    folder.write("Stock1.shp", "1");
    folder.write("Stock2.shp", "2");
    folder.write("Stock3.buy", "3");
    auto old = std::filesystem::last_write_time(folder.path("Stock2.shp")) - std::chrono::hours(1);
    std::filesystem::last_write_time(folder.path("Stock2.shp"), old);
    Kdr_String latest;
    ASSERT_TRUE(ObjectExportFindLatestFile(folder.path(), "*.shp", latest));
    EXPECT_EQ(latest, folder.path("Stock1.shp"));
    EXPECT_FALSE(ObjectExportFindLatestFile(folder.path(), "*.xyz", latest));

    std::time_t first = 0, second = 0;
    ASSERT_TRUE(ObjectExportGetFileTime(folder.path("Stock1.shp"), first));
    ASSERT_TRUE(ObjectExportGetFileTime(folder.path("Stock2.shp"), second));
    EXPECT_NEAR(static_cast<double>(first - second), 3600.0, 2.0);
    EXPECT_NEAR(static_cast<double>(first), static_cast<double>(std::time(nullptr)), 120.0);
    EXPECT_FALSE(ObjectExportGetFileTime(folder.path("none"), first));
}

TEST(FileFunctions, CopyOntoItselfIsANoOpAndDeleteRemoves)
{
    TempFolder folder;
    folder.write("a.bmp", "pixels");
    EXPECT_TRUE(ObjectExportCopyFile(folder.path("a.bmp"), folder.path("a.bmp")));
    EXPECT_TRUE(ObjectExportCopyFile(folder.path("a.bmp"), folder.path() + "\\a.bmp"));
    EXPECT_EQ(folder.read("a.bmp"), "pixels");
    folder.write("b.bmp", "older");
    EXPECT_TRUE(ObjectExportCopyFile(folder.path("a.bmp"), folder.path("b.bmp")));
    EXPECT_EQ(folder.read("b.bmp"), "pixels");
    EXPECT_TRUE(ObjectExportDeleteFile(folder.path("b.bmp")));
    EXPECT_FALSE(ObjectExportFileExists(folder.path("b.bmp")));
    EXPECT_FALSE(ObjectExportDeleteFile(folder.path("b.bmp")));
    host::CommandLineCapture quiet;
    EXPECT_FALSE(ObjectExportCopyFile(folder.path("none.bmp"), folder.path("c.bmp")));
}

TEST(FileFunctions, PathPieces)
{
    EXPECT_EQ(changeExtension("lib\\Connection Standards\\Plate.zxs", "map"),
              "lib/Connection Standards/Plate.map");
    EXPECT_EQ(changeExtension("a.b/file", ".pr"), "a.b/file.pr");
    EXPECT_EQ(changeExtension("x/file.tar.gz", ""), "x/file.tar");
    EXPECT_EQ(changeExtension("x/.hidden", "txt"), "x/.hidden.txt");
    EXPECT_EQ(getPath("C:\\lib\\Childs\\x.zxs"), "C:/lib/Childs/");
    EXPECT_EQ(getPath("x.zxs"), "");
    EXPECT_EQ(host::getFileName("a\\b/c.d.e"), "c.d.e");
    EXPECT_EQ(host::getFileTitle("a\\b/c.d.e"), "c.d");
    EXPECT_EQ(host::getExtension("a.b/c"), "");
}
