#include "UiTestSupport.h"
#include "ui/Dialog.h"
#include "ui/DialogSizes.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
namespace fs = std::filesystem;

class DialogSizesTest : public uitest::UiTest
{
protected:
    DialogSizesTest()
    {
        ui::dialogSizes().clear();
        folder = fs::temp_directory_path() /
                 ("kaldor-ui-sizes-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder);
    }
    ~DialogSizesTest() override { fs::remove_all(folder); }

    std::string file(const std::string& name, const std::string& contents) const
    {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }
    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path folder;
};

TEST_F(DialogSizesTest, StoreRoundTripsThroughItsFileWithAwkwardNames)
{
    ui::DialogSizeStore store;
    store.store("DLG_MACRO_EDITVARS_3_MACROS", ui::Rect(10, 20, 410, 320));
    store.store("DLG_MACRO_EDITVARS_Odd\tname\\with\nbreaks", ui::Rect(-5, 0, 95, 50));
    store.store("dlg_macro_editvars_3_macros", ui::Rect(11, 21, 411, 321)); // the same name, other case
    EXPECT_EQ(store.size(), 2u);

    const std::string path = (folder / "sizes.txt").string();
    Kdr_String error;
    ASSERT_TRUE(store.save(path, error)) << error;
    EXPECT_EQ(read(path), "dlg_macro_editvars_3_macros\t11\t21\t400\t300\n"
                          "DLG_MACRO_EDITVARS_Odd\\tname\\\\with\\nbreaks\t-5\t0\t100\t50\n")
        << "sorted by name, letter case ignored; the last spelling stored is kept";

    ui::DialogSizeStore loaded;
    ASSERT_TRUE(loaded.load(path, error)) << error;
    ui::Rect rect;
    ASSERT_TRUE(loaded.find("DLG_MACRO_EDITVARS_ODD\tNAME\\WITH\nBREAKS", rect));
    EXPECT_EQ(rect, ui::Rect(-5, 0, 95, 50));
    ASSERT_TRUE(loaded.find("DLG_MACRO_EDITVARS_3_MACROS", rect));
    EXPECT_EQ(rect, ui::Rect(11, 21, 411, 321));
}

TEST_F(DialogSizesTest, MalformedFilesAreRefusedWithFileAndLineAndChangeNothing)
{
    struct Case
    {
        const char* contents;
        const char* message;
    };
    const Case cases[] = {
        {"DLG_A\t1\t2\t3\t4\nDLG_B\t1\t2\t3\n", ":2: expected a name and four numbers separated by TAB"},
        {"DLG_A\t1\t2\tx\t4\n", ":1: not a whole number: \"x\""},
        {"DLG_A\t1\t2\t3\t4.5\n", ":1: not a whole number: \"4.5\""},
        {"\n\nDLG\\q\t1\t2\t3\t4\n", ":3: malformed name"},
        {"\t1\t2\t3\t4\n", ":1: malformed name"},
        {"DLG_A\t1\t2\t-3\t4\n", ":1: negative size"},
        {"DLG_A\t1\t2\t99999999999\t4\n", ":1: not a whole number: \"99999999999\""},
    };
    ui::DialogSizeStore store;
    store.store("DLG_KEPT", ui::Rect(1, 2, 3, 4));
    for (const Case& c : cases)
    {
        const std::string path = file("bad.txt", c.contents);
        Kdr_String error;
        EXPECT_FALSE(store.load(path, error)) << c.contents;
        EXPECT_EQ(error, path + c.message);
        ui::Rect rect;
        EXPECT_TRUE(store.find("DLG_KEPT", rect));
        EXPECT_EQ(store.size(), 1u);
    }
    Kdr_String error;
    EXPECT_FALSE(store.load((folder / "missing.txt").string(), error));
    EXPECT_TRUE(error.contains("missing.txt", true)) << error;
    EXPECT_FALSE(store.save((folder / "no-folder" / "sizes.txt").string(), error));
}

TEST_F(DialogSizesTest, RestoredRectanglesStayOnScreenAndAboveTheMinimum)
{
    ui::Dialog dialog;
    ui::DialogTemplate t(1, "Sized", 0, 0, 100, 100);
    t.style |= WS_THICKFRAME;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    const ui::Size initial = dialog.GetWindowRect().GetSize();
    dialog.setMinTrackSize(initial);

    EXPECT_FALSE(ChangeDlgSize(&dialog, "DLG_NONE"));
    ui::dialogSizes().store("DLG_OFF", ui::Rect(3000, -40, 3400, 360));
    ASSERT_TRUE(ChangeDlgSize(&dialog, "DLG_OFF"));
    EXPECT_EQ(dialog.GetWindowRect(), ui::Rect(1520, 0, 1920, 400))
        << "brought back onto the 1920 × 1080 screen";

    ui::dialogSizes().store("DLG_SMALL", ui::Rect(10, 10, 20, 20));
    ASSERT_TRUE(ChangeDlgSize(&dialog, "DLG_SMALL"));
    EXPECT_EQ(dialog.GetWindowRect(), ui::Rect(ui::Point{10, 10}, initial));

    WriteDlgSize(&dialog, "DLG_WRITTEN");
    int width = 0;
    int height = 0;
    ASSERT_TRUE(getDlgSize("DLG_WRITTEN", width, height));
    EXPECT_EQ(ui::Size(width, height), initial);
    dialog.DestroyWindow();
    WriteDlgSize(&dialog, "DLG_GONE");
    EXPECT_FALSE(getDlgSize("DLG_GONE", width, height));
    EXPECT_FALSE(ChangeDlgSize(&dialog, "DLG_WRITTEN"));
}
} // namespace
