#include "TempFolder.h"
#include "host/CommandLine.h"
#include "host/MacroLangs.h"
#include "host/Settings.h"
#include "host/Texts.h"

#include <gtest/gtest.h>

namespace
{
/// Points the library folder at a temporary one and restores languages and texts after.
class TextsTest : public ::testing::Test
{
protected:
    TextsTest() : previousLib_(gSettings.libDir())
    {
        gSettings.setLibDir(folder_.path());
        MacroLangs::ResetTranslations();
        host::reloadTexts();
    }
    ~TextsTest() override
    {
        gSettings.setLibDir(previousLib_);
        MacroLangs::ResetTranslations();
        host::reloadTexts();
    }
    TempFolder folder_;
    Kdr_String previousLib_;
};
} // namespace

TEST_F(TextsTest, EveryNumberTheDialogsShowHasABuiltInCaption)
{
    // The numbers the dialogs name, grouped by where they appear.
    const int numbers[] = {
        1,    2,    86,   87,   90,   171,  173,  174,  221,  228,  234,  242,  275,  276,  277,  278,  285,
        328,  606,  607,  616,  617,  618,  619,  620,  621,  622,  623,  624,  625,  626,  627,  628,  629,
        630,  631,  632,  633,  634,  635,  636,  637,  638,  652,  674,  695,  705,  719,  735,  744,  754,
        765,  769,  771,  772,  797,  799,  823,  825,  831,  833,  834,  836,  843,  856,  858,  862,  865,
        876,  879,  888,  968,  969,  971,  973,  999,  1000, 1001, 1098, 1136, 1153, 1315, 1322, 1328, 1341,
        1342, 1377, 1378, 1395, 1398, 1403, 1406, 1428, 1431, 1455, 1458, 1477, 1507, 1510, 1677, 1683};
    for (int n : numbers)
    {
        ASSERT_NE(host::defaultText(host::TextTable::Dialog, n), nullptr) << n;
        EXPECT_FALSE(dialString(n).empty()) << n;
    }
    EXPECT_EQ(dialString(1), "OK");
    EXPECT_EQ(dialString(2), "Cancel");
    EXPECT_EQ(string(2220), "Number");
    EXPECT_EQ(dialString(123456), "#123456");
    EXPECT_EQ(string(1), "#1");
}

TEST_F(TextsTest, LanguageFilesOverrideAndFallBackToEnglish)
{
    folder_.write("texts/English.txt", "// captions\n606\tAdd row\n9001\tOnly in English\n");
    folder_.write("texts/Dutch.txt", "\xEF\xBB\xBF"
                                     "606\tToevoegen\n607\tVerwijder\\nalles\n");
    folder_.write("texts/Dutch-strings.txt", "2220\tAantal\n");
    EXPECT_EQ(dialString(606), "Add row");
    ASSERT_TRUE(MacroLangs::SetCurLanguage("dutch"));
    EXPECT_EQ(MacroLangs::GetCurLanguage(), "Dutch");
    EXPECT_EQ(dialString(606), "Toevoegen");
    EXPECT_EQ(dialString(607), "Verwijder\nalles");
    EXPECT_EQ(dialString(9001), "Only in English");
    EXPECT_EQ(dialString(285), "Close"); // built in
    EXPECT_EQ(string(2220), "Aantal");
    EXPECT_EQ(dialStringAllLangs(606), (Kdr_StringArray{"Add row", "Toevoegen", "Add row", "Add row"}));
}

TEST_F(TextsTest, AMalformedTextFileIsReportedAndNotUsed)
{
    folder_.write("texts/English.txt", "1\tYes\n2 No\n");
    host::CommandLineCapture capture;
    EXPECT_EQ(dialString(1), "OK");
    EXPECT_EQ(dialString(2), "Cancel");
    EXPECT_EQ(capture.text(), "*Error* File \"" + folder_.path("texts/English.txt") +
                                  "\", line 2: no TAB after the number.\n");
    folder_.write("texts/English.txt", "1\tYes\nx1\tNo\n3\tbad\\\n");
    host::reloadTexts();
    capture.clear();
    EXPECT_EQ(dialString(1), "OK");
    EXPECT_NE(capture.text().find("line 2: the number is not a whole number."), std::string::npos);
}

TEST_F(TextsTest, LanguagesComeFromTheLibraryOrTheDefaults)
{
    EXPECT_EQ(MacroLangs::GetAllLanguages(), (Kdr_StringArray{"English", "Dutch", "German", "French"}));
    EXPECT_EQ(MacroLangs::GetCurLanguage(), "English");
    EXPECT_FALSE(MacroLangs::SetCurLanguage("Klingon"));
    EXPECT_EQ(MacroLangs::GetCurLanguage(), "English");

    folder_.write("texts/Languages.txt", "English\nDutch\nGerman\nFrench\nKorean\n\n");
    Kdr_StringArray languages;
    gMacroLangs.GetAllLanguages(languages);
    EXPECT_EQ(languages.length(), 5);
    EXPECT_TRUE(MacroLangs::SetCurLanguage("Korean"));
    EXPECT_EQ(MacroLangs::GetCurLanguageIndex(), 4);
}

TEST_F(TextsTest, TranslationsKeepDecorationsAndSplitAtTheSeparator)
{
    folder_.write("texts/Dutch-words.txt", "Prof\tWidth\tBreedte\n\tHeight\tHoogte\n");
    MacroLangs::AddTranslation("Dutch", "", "Width", "Breedte");
    EXPECT_EQ(MacroLangs::GetString("Prof", "Width"), "Width"); // English is current
    ASSERT_TRUE(MacroLangs::SetCurLanguage("Dutch"));
    EXPECT_EQ(MacroLangs::GetString("prof", "WIDTH"), "Breedte");
    EXPECT_EQ(MacroLangs::GetString("Prof", "Depth"), "Depth");
    EXPECT_EQ(MacroLangs::GetStringChopSymbols("", "Width:", true, 'x'), "Breedte:");
    EXPECT_EQ(MacroLangs::GetStringChopSymbols("", "Width:", false, 'x'), "Width:");
    EXPECT_EQ(MacroLangs::GetStringChopSymbols("", "Width x (Height)", true, 'x'), "Breedte x (Hoogte)");
    EXPECT_EQ(MacroLangs::GetStringChopSymbols("", "Box", true, 'x'), "Box");
}
