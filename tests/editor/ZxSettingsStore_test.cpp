#include "EditorTestSupport.h"
#include "editor/ZxSettingsStore.h"

#include <climits>
#include <gtest/gtest.h>

namespace
{
/// A text form built from fields, each followed by 0xA4.
std::string fields(std::initializer_list<std::string> parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += part + '\xA4';
    return text;
}
} // namespace

TEST(ZxSettingsStore, KeysIgnoreCaseAndReadsNeedTheirType)
{
    ZxSettingsStore store;
    EXPECT_TRUE(store.setInt("marginleft", 12));
    EXPECT_TRUE(store.setText("defaultTextHeight", "13"));
    int value = 0;
    EXPECT_TRUE(store.getInt("marginLeft", value));
    EXPECT_EQ(value, 12);
    // A text entry does not satisfy an int read, nor an int entry a long read.
    value = 99;
    EXPECT_FALSE(store.getInt("defaultTextHeight", value));
    EXPECT_EQ(value, 99);
    long number = 0;
    EXPECT_FALSE(store.getLong("marginLeft", number));
    EXPECT_FALSE(store.getInt("marginLef", value));

    // Setting an existing key replaces type and value in place; a new key goes last.
    EXPECT_TRUE(store.setDouble("MARGINLEFT", 1.5));
    EXPECT_TRUE(store.setLong("big", 1234567890123L));
    ASSERT_EQ(store.count(), 3);
    EXPECT_EQ(store.entry(0).key, "marginleft");
    EXPECT_EQ(store.entry(0).type, ZxSettingsStore::kDouble);
    EXPECT_EQ(store.entry(2).key, "big");
    EXPECT_FALSE(store.setInt("", 1));
    EXPECT_EQ(store.count(), 3);
}

TEST(ZxSettingsStore, TextFormIsKeyTypeValueEachEndedBy0xA4)
{
    ZxSettingsStore store;
    store.setInt("border", 1);
    EXPECT_EQ(store.toText(), std::string("border\xA4"
                                          "2\xA4"
                                          "1\xA4"));

    store.setDouble("scale", 2.5);
    store.setLong("count", -7);
    store.setText("defaultFont", "Tahoma");
    store.setNone("nothing");
    EXPECT_EQ(store.toText(), fields({"border", "2", "1", "scale", "1", "2.50", "count", "3", "-7",
                                      "defaultFont", "4", "Tahoma", "nothing", "0", ""}));

    ZxSettingsStore back;
    back.parse(store.toText());
    EXPECT_EQ(back.toText(), store.toText());
    double scale = 0;
    EXPECT_TRUE(back.getDouble("scale", scale));
    EXPECT_DOUBLE_EQ(scale, 2.5);
}

TEST(ZxSettingsStore, ABytes0xA4InKeyOrTextIsRefusedSoEveryLaterEntrySurvives)
{
    // "Aufträge" in UTF-8 holds C3 A4.
    const std::string path = "/home/u/Auftr\xC3\xA4ge/b.zxs";
    ZxSettingsStore store;
    store.setText("first", "1");
    EXPECT_FALSE(store.setText("billFile", path));
    EXPECT_FALSE(store.setInt("bad\xA4key", 1));
    EXPECT_FALSE(store.setText("first", path));
    store.setText("last", "2");
    ASSERT_EQ(store.count(), 2);

    ZxSettingsStore back;
    back.parse(store.toText());
    Kdr_String text;
    EXPECT_TRUE(back.getText("first", text));
    EXPECT_EQ(text, "1");
    EXPECT_TRUE(back.getText("last", text));
    EXPECT_EQ(text, "2");
}

TEST(ZxSettingsStore, ParsingIsStrictAndABadEntryReadsAsMissing)
{
    ZxSettingsStore store;
    store.parse(fields({"ok",           "2", "42",                    //
                        "trailing",     "2", "12abc",                 // atoi would take 12
                        "blank",        "2", " 5",                    //
                        "empty",        "2", "",                      //
                        "overflow",     "2", "99999999999",           // beyond int
                        "max",          "2", std::to_string(INT_MAX), //
                        "long",         "3", "-9000000000",           //
                        "longOverflow", "3", "99999999999999999999",
                        "double",       "1", "12.50", //
                        "nan",          "1", "nan",   //
                        "code",         "9", "1",     // unknown type code
                        "codeText",     "x", "1",     //
                        "text",         "4", "a b"}) +
                "incomplete\xA4"
                "2\xA4");
    int value = 0;
    long number = 0;
    double real = 0;
    Kdr_String text;
    EXPECT_TRUE(store.getInt("ok", value));
    EXPECT_EQ(value, 42);
    for (const char* bad : {"trailing", "blank", "empty", "overflow", "code", "codeText"})
    {
        EXPECT_FALSE(store.getInt(bad, value)) << bad;
        ASSERT_GE(store.find(bad), 0) << bad;
        EXPECT_EQ(store.entry(store.find(bad)).type, ZxSettingsStore::kNone) << bad;
    }
    EXPECT_TRUE(store.getInt("max", value));
    EXPECT_EQ(value, INT_MAX);
    EXPECT_TRUE(store.getLong("long", number));
    EXPECT_EQ(number, -9000000000L);
    EXPECT_FALSE(store.getLong("longOverflow", number));
    EXPECT_TRUE(store.getDouble("double", real));
    EXPECT_DOUBLE_EQ(real, 12.5);
    EXPECT_FALSE(store.getDouble("nan", real));
    EXPECT_TRUE(store.getText("text", text));
    EXPECT_EQ(text, "a b");
    EXPECT_EQ(store.find("incomplete"), -1);

    // A later bad entry for a key makes it absent rather than keeping a stale value.
    store.parse(fields({"ok", "2", "4x"}));
    EXPECT_FALSE(store.getInt("ok", value));
}

TEST(ZxSettingsStore, FilesAreWrittenAtomically)
{
    TempFolder folder;
    ZxSettingsStore store;
    store.setText("defaultFont", "Arial");
    const std::string file = folder.path("s.zxd");
    ASSERT_TRUE(store.writeFile(file));

    ZxSettingsStore read;
    ASSERT_TRUE(read.readFile(file));
    EXPECT_EQ(read.toText(), store.toText());
    EXPECT_FALSE(read.readFile(folder.path("missing.zxd")));

    store.setText("defaultFont", "Courier");
    {
        WriteFailureScope failing;
        EXPECT_FALSE(store.writeFile(file));
    }
    EXPECT_EQ(folder.read("s.zxd"), read.toText());
    EXPECT_EQ(folder.entryCount(), 1);
}
