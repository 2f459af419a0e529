#include "TempFolder.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/SectionTableFile.h"

#include <gtest/gtest.h>

TEST(SectionTableFile, TheThreePartsOfAFileAndTheirWayBack)
{
    const std::string text = "Prof\\\\x.dwg\nSysName\tI/O\tEnglish\tb\n10\t1\tA\\tB 10\t5\n20\t0\t\t7.25\n";
    SectionTableContents contents;
    ASSERT_TRUE(host::parseSectionTableText(text, "T.pr", contents));
    EXPECT_EQ(contents.picture, "Prof\\x.dwg");
    EXPECT_EQ(contents.columnNames, (Kdr_StringArray{"SysName", "I/O", "English", "b"}));
    ASSERT_EQ(contents.rows.length(), 2);
    EXPECT_EQ(contents.rows[0], (Kdr_StringArray{"10", "1", "A\tB 10", "5"}));
    EXPECT_EQ(contents.rows[1], (Kdr_StringArray{"20", "0", "", "7.25"}));
    EXPECT_EQ(host::formatSectionTableText(contents), text);

    // No picture is an empty first line; no sizes is a header alone. CR LF reads as LF.
    ASSERT_TRUE(host::parseSectionTableText("\r\nSysName\tI/O\r\n", "T.pr", contents));
    EXPECT_TRUE(contents.picture.empty());
    EXPECT_EQ(contents.rows.length(), 0);
    EXPECT_EQ(host::formatSectionTableText(contents), "\nSysName\tI/O\n");
}

TEST(SectionTableFile, RefusalsKeepWhatWasThereAndNameTheLine)
{
    SectionTableContents contents;
    ASSERT_TRUE(host::parseSectionTableText("1\nSysName\tI/O\n", "T.pr", contents));
    host::CommandLineCapture capture;
    EXPECT_FALSE(host::parseSectionTableText("1\nSysName\tI/O\nx\t1\nshort\n", "T.pr", contents));
    EXPECT_EQ(capture.text(),
              "*Error* Section table \"T.pr\", line 4: the row holds 1 fields where the header "
              "has 2.\n");
    EXPECT_EQ(contents.rows.length(), 0);
    capture.clear();
    EXPECT_FALSE(host::parseSectionTableText("1\nSysName\tI/O\nx\r1\n", "T.pr", contents));
    EXPECT_EQ(capture.text(), "*Error* Section table \"T.pr\", line 3: binary data (byte 0x0D).\n");

    // What would not read back is not written either, and an old file stays.
    TempFolder folder;
    contents.rows.append(Kdr_StringArray{"x", "1", "extra"});
    capture.clear();
    EXPECT_FALSE(host::writeSectionTableFile(folder.path("T.pr"), contents));
    EXPECT_NE(capture.text().find("T.pr\", line 3: the row holds 3 fields"), std::string::npos)
        << capture.text();
    contents.rows[0] = Kdr_StringArray{"x\x01", "1"};
    EXPECT_FALSE(host::checkSectionTable(contents, "T.pr"));
    contents.rows[0] = Kdr_StringArray{"x\n", "1"};
    EXPECT_TRUE(host::checkSectionTable(contents, "T.pr"));
    contents.columnNames = Kdr_StringArray{"SysName"};
    contents.rows.clear();
    EXPECT_FALSE(host::writeSectionTableFile(folder.path("T.pr"), contents));
    EXPECT_EQ(folder.entryCount(), 0);
}

TEST(SectionTableFile, NamesPathsAndPictures)
{
    for (const char* name : {"IPE", "IPE.pr", "HE A", "L 50.x", "Kanaal-€"})
        EXPECT_TRUE(host::isValidSectionTableName(name)) << name;
    for (const char* name : {"", ".pr", ".", "..", "...pr", "a/b", "a\\b", "../IPE", "a:b", "a?", "a|b",
                             "a<b", "IPE.", "IPE ", "a\x01", "a\"b"})
        EXPECT_FALSE(host::isValidSectionTableName(name)) << name;

    EXPECT_EQ(host::sectionTablePath("lib/", "IPE"), "lib/prof/IPE.pr");
    EXPECT_EQ(host::sectionTablePath("lib/", "IPE.pr"), "lib/prof/IPE.pr");
    EXPECT_EQ(host::sectionTablePath("lib/", "IPE.PR"), "lib/prof/IPE.PR");

    EXPECT_EQ(host::sectionPictureForHost("12"), "12");
    EXPECT_EQ(host::sectionPictureForHost("Kanaal.dwg"), "Prof\\Kanaal.dwg");
    EXPECT_EQ(host::sectionPictureForHost(""), "");
}
