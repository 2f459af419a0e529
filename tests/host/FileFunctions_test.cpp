#include "TempFolder.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

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
                                  "\": not found.\n"
                                  "*Error* Cannot open file \"" +
                                  folder.path() + "\": it is a folder.\n");
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

TEST(FileFunctions, WritesRefuseEverythingButRegularFiles)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.path("pipe").c_str(), 0644), 0);
    // A device of its own (the null device's numbers), so that no system device is at stake.
    const bool haveDevice = ::mknod(folder.path("device").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    folder.write("dir/inner.txt", "x");
    Kdr_String error;
    const std::pair<std::string, std::string> refused[] = {
        {haveDevice ? folder.path("device") : "",
         haveDevice ? "it is a device, not a regular file" : "no file name"},
        {folder.path("pipe"), "it is a FIFO (named pipe), not a regular file"},
        {folder.path("dir"), "a folder of that name exists"},
        {"", "no file name"},
    };
    for (const auto& [path, reason] : refused)
    {
        EXPECT_FALSE(host::writeFileAtomically(path, "new", error)) << path;
        EXPECT_EQ(error, "*Error* Cannot write file \"" + path + "\": " + reason + ".");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(folder.path("pipe")));
    EXPECT_EQ(std::filesystem::is_character_file(folder.path("device")), haveDevice);
    EXPECT_EQ(folder.entryCount(), haveDevice ? 3 : 2);
}

TEST(FileFunctions, WritesGoThroughSymbolicLinksAndKeepPermissions)
{
    namespace fs = std::filesystem;
    TempFolder folder;
    folder.write("real/macro.json", "old");
    fs::permissions(folder.path("real/macro.json"), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(folder.path("links"));
    fs::create_symlink("../real/macro.json", folder.path("links/relative.json"));
    fs::create_symlink(folder.path("links/relative.json"), folder.path("chain.json"));

    Kdr_String error;
    ASSERT_TRUE(host::writeFileAtomically(folder.path("chain.json"), "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder.path("chain.json")));
    EXPECT_TRUE(fs::is_symlink(folder.path("links/relative.json")));
    EXPECT_EQ(folder.read("real/macro.json"), "new");
    EXPECT_EQ(fs::status(folder.path("real/macro.json")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(folder.entryCount("real"), 1);
    EXPECT_EQ(folder.entryCount("links"), 1);

    // A link to a file not yet there creates it; a loop of links is refused.
    fs::create_symlink("later.txt", folder.path("dangling"));
    ASSERT_TRUE(host::writeFileAtomically(folder.path("dangling"), "made", error)) << error;
    EXPECT_EQ(folder.read("later.txt"), "made");
    fs::create_symlink("loop2", folder.path("loop1"));
    fs::create_symlink("loop1", folder.path("loop2"));
    EXPECT_FALSE(host::writeFileAtomically(folder.path("loop1"), "x", error));
    EXPECT_EQ(error,
              "*Error* Cannot write file \"" + folder.path("loop1") + "\": its symbolic links form a loop.");
}

TEST(FileFunctions, HardLinksAreSplitByAWrite)
{
    TempFolder folder;
    folder.write("a.txt", "shared");
    std::filesystem::create_hard_link(folder.path("a.txt"), folder.path("b.txt"));
    Kdr_String error;
    ASSERT_TRUE(host::writeFileAtomically(folder.path("a.txt"), "new", error)) << error;
    EXPECT_EQ(folder.read("a.txt"), "new");
    EXPECT_EQ(folder.read("b.txt"), "shared");
}

TEST(FileFunctions, ReadsSayWhyAFileCannotBeOpened)
{
    TempFolder folder;
    folder.write("secret.txt", "x");
    std::filesystem::permissions(folder.path("secret.txt"), std::filesystem::perms::none);
    std::string bytes;
    Kdr_String error;
    EXPECT_FALSE(host::readFileBytes(folder.path("missing/none.txt"), bytes, error));
    EXPECT_EQ(error, "*Error* Cannot open file \"" + folder.path("missing/none.txt") + "\": not found.");
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads files without permission";
    EXPECT_FALSE(host::readFileBytes(folder.path("secret.txt"), bytes, error));
    EXPECT_EQ(error, "*Error* Cannot open file \"" + folder.path("secret.txt") + "\": permission denied.");
}
