#include "EditorTestSupport.h"
#include "editor/ZxSSEditorSettings.h"

#include <gtest/gtest.h>

namespace
{
/// The keys of a saved record, in order.
std::vector<std::string> keysOf(const ZxSettingsStore& store)
{
    std::vector<std::string> keys;
    for (int i = 0; i < store.count(); ++i)
        keys.push_back(store.entry(i).key);
    return keys;
}
} // namespace

TEST(ZxSSEditorSettings, ResetKeepsFilesAndListsAndSavesEveryKeyInOrder)
{
    ZxSSEditorSettings settings;
    EXPECT_FALSE(settings.valid);
    EXPECT_EQ(settings.fontName, "Tahoma");
    EXPECT_EQ(settings.textHeight, 13);
    EXPECT_EQ(settings.marginLeft, 9);
    EXPECT_EQ(settings.marginBottom, 5);

    settings.headerFile = "h.bmp";
    settings.varNames = {"Date"};
    settings.varValues = {"today"};
    settings.fontName = "Arial";
    settings.border = false;
    settings.valid = true;
    settings.reset();
    EXPECT_FALSE(settings.valid);
    EXPECT_EQ(settings.fontName, "Tahoma");
    EXPECT_TRUE(settings.border);
    EXPECT_EQ(settings.headerFile, "h.bmp");
    EXPECT_EQ(settings.varNames.length(), 1);

    ZxSettingsStore store;
    ASSERT_TRUE(settings.saveTo(store));
    EXPECT_EQ(keysOf(store),
              (std::vector<std::string>{"headerFile", "footerFile", "defaultFont", "defaultTextHeight",
                                        "marginLeft", "marginRight", "marginTop", "marginBottom",
                                        "smartPrint", "colors", "colHeader", "rowHeader", "cellSeperators",
                                        "border", "varNames0", "varValues0"}));
    EXPECT_EQ(store.entry(13).type, ZxSettingsStore::kInt);
    EXPECT_EQ(store.entry(13).valueText(), "1");
}

TEST(ZxSSEditorSettings, LoadTakesTypedKeysAndPairsTheLists)
{
    ZxSettingsStore store;
    store.setText("defaultTextHeight", "20"); // wrong type: the height stays
    store.setInt("marginleft", 3);            // small letters still match
    store.setInt("colors", 0);
    store.setInt("border", 7);
    store.setText("varNames0", "A");
    store.setText("varNames1", "B");
    store.setText("varNames2", "C");
    store.setText("varValues0", "1");
    store.setText("varValues1", "2");
    ZxSSEditorSettings settings;
    settings.textHeight = 17;
    settings.loadFrom(store);
    EXPECT_EQ(settings.textHeight, 17);
    EXPECT_EQ(settings.marginLeft, 3);
    EXPECT_FALSE(settings.colors);
    EXPECT_TRUE(settings.border);
    EXPECT_EQ(settings.varNames, (Kdr_StringArray{"A", "B"}));
    EXPECT_EQ(settings.varValues, (Kdr_StringArray{"1", "2"}));

    // A gap ends a list: indices 0 and 2 give one element.
    ZxSettingsStore gap;
    gap.setText("varNames0", "A");
    gap.setText("varNames2", "C");
    gap.setText("varValues0", "1");
    gap.setText("varValues1", "2");
    settings.loadFrom(gap);
    EXPECT_EQ(settings.varNames, (Kdr_StringArray{"A"}));
    EXPECT_EQ(settings.varValues, (Kdr_StringArray{"1"}));
}

TEST(ZxSSEditorSettings, NamedFilesRoundTripInTheApplicationFolder)
{
    AppFolderScope app;
    ObjectExportCreateDirectory(app.app());
    EXPECT_EQ(ZxSSEditorSettings::namedFile("Steel"), app.app("Steel.zxd"));
    EXPECT_EQ(ZxSSEditorSettings::namedFile("/x/y.zxd"), "/x/y.zxd");

    ZxSSEditorSettings settings;
    EXPECT_FALSE(settings.writeNamed("Steel")); // not valid yet
    EXPECT_FALSE(settings.readNamed("Steel"));
    EXPECT_TRUE(settings.valid);
    EXPECT_EQ(settings.fontName, "Tahoma");

    settings.fontName = "Arial";
    settings.textHeight = 11;
    settings.smartPrint = false;
    settings.varNames = {"Project"};
    settings.varValues = {"P-17"};
    ASSERT_TRUE(settings.writeNamed("Steel"));

    ZxSSEditorSettings read;
    ASSERT_TRUE(read.readNamed("Steel"));
    EXPECT_EQ(read.fontName, "Arial");
    EXPECT_EQ(read.textHeight, 11);
    EXPECT_FALSE(read.smartPrint);
    EXPECT_EQ(read.varValues, (Kdr_StringArray{"P-17"}));
}

TEST(ZxSSEditorSettings, AWriteThatCannotBeDoneOrReadBackReportsFalseAndKeepsTheFile)
{
    AppFolderScope app;
    ObjectExportCreateDirectory(app.app());
    ZxSSEditorSettings settings;
    settings.readNamed("Steel");
    ASSERT_TRUE(settings.writeNamed("Steel"));
    const std::string before = app.folder().read("app/Steel.zxd");

    settings.fontName = "Arial";
    {
        WriteFailureScope failing;
        EXPECT_FALSE(settings.writeNamed("Steel"));
    }
    EXPECT_EQ(app.folder().read("app/Steel.zxd"), before);

    // A path with "ä" (C3 A4) would end its field early and shift every later entry.
    settings.headerFile = "/home/u/Auftr\xC3\xA4ge/head.bmp";
    EXPECT_FALSE(settings.writeNamed("Steel"));
    EXPECT_EQ(app.folder().read("app/Steel.zxd"), before);
}

TEST(ZxSSEditorSettings, PicturesResolveAgainstTheFolderThenTheApplicationFolder)
{
    AppFolderScope app;
    const TempFolder& temp = app.folder();
    temp.write("app/logo.bmp", "x");
    temp.write("app/shared.bmp", "x");
    temp.write("bills/logo.bmp", "x");
    temp.write("bills/2026/x", "x");
    temp.write("up.bmp", "x");
    const Kdr_String bills = temp.path("bills");

    EXPECT_EQ(ZxSSEditorSettings::resolvePicture("logo.bmp", bills), temp.path("bills/logo.bmp"));
    EXPECT_EQ(ZxSSEditorSettings::resolvePicture("shared.bmp", bills), temp.path("app/shared.bmp"));
    EXPECT_EQ(ZxSSEditorSettings::resolvePicture("logo.bmp", ""), temp.path("app/logo.bmp"));
    EXPECT_EQ(ZxSSEditorSettings::resolvePicture("..\\logo.bmp", temp.path("bills/2026")),
              temp.path("bills/logo.bmp"));
    // One level above the application folder.
    EXPECT_EQ(ZxSSEditorSettings::resolvePicture("../up.bmp", "/nowhere"), temp.path("up.bmp"));
    EXPECT_EQ(ZxSSEditorSettings::resolvePicture("missing.bmp", bills), "missing.bmp");
    for (const char* absolute : {"/srv/logo.bmp", "C:\\pics\\logo.bmp", "\\\\server\\logo.bmp"})
        EXPECT_EQ(ZxSSEditorSettings::resolvePicture(absolute, bills), absolute);

    ZxSSEditorSettings settings;
    settings.setHeaderFile(bills, temp.path("bills/logo.bmp"));
    EXPECT_EQ(settings.headerFile, "logo.bmp");
    settings.setFooterFile(bills, "/srv/foot.bmp");
    EXPECT_EQ(settings.footerFile, "/srv/foot.bmp");
}

// ---- The configuration file in place of the registry ------------------------------------------

TEST(ZxEditorRegistry, TheUsersFileWinsAndTheSystemsSuppliesTheRest)
{
    TempFolder folder;
    folder.write("user/kaldor-ss/editor.conf", "# mine\nLanguage = Deutsch\n");
    folder.write("sys/kaldor-ss/editor.conf", "language=English\nDefault Settings=Steel\n");
    ZxEditorRegistry::Paths paths{folder.path("user/kaldor-ss/editor.conf"),
                                  {folder.path("sys/kaldor-ss/editor.conf")}};
    ZxEditorRegistry registry(paths);
    EXPECT_TRUE(registry.read());
    EXPECT_EQ(registry.language, "Deutsch");
    EXPECT_EQ(registry.defaultSettings, "Steel");

    // A value of 256 bytes or more is not read; the other one still is.
    folder.write("sys/kaldor-ss/editor.conf", "Default Settings=" + std::string(256, 'x') + "\n");
    ZxEditorRegistry longValue(paths);
    EXPECT_FALSE(longValue.read());
    EXPECT_TRUE(longValue.languageRead);
    EXPECT_FALSE(longValue.defaultSettingsRead);

    ZxEditorRegistry none(ZxEditorRegistry::Paths{folder.path("nothing.conf"), {}});
    EXPECT_FALSE(none.read());
    EXPECT_FALSE(none.languageRead);
}

TEST(ZxEditorRegistry, WritingMakesTheFileAndKeepsItsOtherLines)
{
    TempFolder folder;
    const std::string file = folder.path("new/kaldor-ss/editor.conf");
    ZxEditorRegistry registry(ZxEditorRegistry::Paths{file, {}});
    registry.language = "English";
    registry.defaultSettings = "Steel";
    ASSERT_TRUE(registry.write());
    EXPECT_EQ(folder.read("new/kaldor-ss/editor.conf"), "Language=English\nDefault Settings=Steel\n");

    folder.write("new/kaldor-ss/editor.conf", "# note\ndefault settings=Old\nOther=1\n");
    registry.language = "Nederlands";
    ASSERT_TRUE(registry.write());
    EXPECT_EQ(folder.read("new/kaldor-ss/editor.conf"),
              "# note\nDefault Settings=Steel\nOther=1\nLanguage=Nederlands\n");

    registry.defaultSettings = "two\nlines";
    EXPECT_FALSE(registry.write());
}

TEST(ZxEditorRegistry, PathsFollowTheXdgEnvironment)
{
    {
        EnvironmentScope home("HOME", "/home/u");
        EnvironmentScope config("XDG_CONFIG_HOME", "/cfg");
        EnvironmentScope dirs("XDG_CONFIG_DIRS", "/a:relative:/b/");
        const ZxEditorRegistry::Paths paths = ZxEditorRegistry::Paths::fromEnvironment();
        EXPECT_EQ(paths.user, "/cfg/kaldor-ss/editor.conf");
        EXPECT_EQ(paths.system, (Kdr_StringArray{"/a/kaldor-ss/editor.conf", "/b/kaldor-ss/editor.conf"}));
    }
    EnvironmentScope home("HOME", "/home/u");
    EnvironmentScope config("XDG_CONFIG_HOME", std::nullopt);
    EnvironmentScope dirs("XDG_CONFIG_DIRS", std::nullopt);
    const ZxEditorRegistry::Paths paths = ZxEditorRegistry::Paths::fromEnvironment();
    EXPECT_EQ(paths.user, "/home/u/.config/kaldor-ss/editor.conf");
    EXPECT_EQ(paths.system, (Kdr_StringArray{"/etc/xdg/kaldor-ss/editor.conf"}));
}
