#include "UiTestSupport.h"
#include "ui/Button.h"
#include "ui/CButtonST.h"
#include "ui/Dialog.h"
#include "ui/Image.h"
#include "ui/Static.h"
#include "ui/ZxTempResourceOverride.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace
{
namespace fs = std::filesystem;

/// A scratch folder removed at the end of the test.
struct ScratchFolder
{
    fs::path path;
    ScratchFolder()
    {
        path = fs::temp_directory_path() /
               ("kaldor-ui-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(path);
    }
    ~ScratchFolder() { fs::remove_all(path); }
    std::string write(const std::string& name, const std::string& bytes) const
    {
        const fs::path file = path / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
};

std::string le32(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

/// The first 30 bytes of a Windows bitmap (the rest of a real file is never read).
std::string bitmapHead(std::int32_t width, std::int32_t height)
{
    return "BM" + le32(0) + le32(0) + le32(54) + le32(40) + le32(width) + le32(height) +
           std::string("\x01\x00\x18\x00", 4);
}

std::string iconHead(unsigned char width, unsigned char height)
{
    std::string s("\0\0\x01\0\x01\0", 6);
    s += static_cast<char>(width);
    s += static_cast<char>(height);
    return s + std::string(14, '\0');
}

using ResourcesTest = uitest::UiTest;

TEST_F(ResourcesTest, PictureSizesAreReadFromBitmapAndIconFiles)
{
    ScratchFolder folder;
    ui::Image image;
    std::string error;
    ASSERT_TRUE(ui::Image::loadBitmapFile(folder.write("up.bmp", bitmapHead(24, -16)), image, error))
        << error;
    EXPECT_EQ(image.width, 24);
    EXPECT_EQ(image.height, 16) << "a top-down bitmap has a negative height";
    const std::string core =
        "BM" + le32(0) + le32(0) + le32(26) + le32(12) + std::string("\x20\x00\x10\x00\x01\x00\x18\x00", 8);
    ASSERT_TRUE(ui::Image::loadBitmapFile(folder.write("core.bmp", core), image, error)) << error;
    EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(32, 16));
    ASSERT_TRUE(ui::Image::loadIconFile(folder.write("a.ico", iconHead(0, 32)), image, error)) << error;
    EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(256, 32)) << "0 stands for 256";
}

TEST_F(ResourcesTest, DamagedPicturesAreRefusedWithTheFileNamed)
{
    ScratchFolder folder;
    struct Case
    {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"empty.bmp", "", "not a bitmap file"},
        {"text.bmp", std::string(40, 'x'), "not a bitmap file"},
        {"short.bmp", "BM" + le32(0), "not a bitmap file"},
        {"header.bmp", "BM" + le32(0) + le32(0) + le32(54) + le32(20) + le32(1) + le32(1),
         "unknown bitmap header"},
        {"zero.bmp", bitmapHead(0, 10), "bitmap size out of range"},
        {"huge.bmp", bitmapHead(1 << 30, 10), "bitmap size out of range"},
        {"negative.bmp", bitmapHead(-5, 10), "bitmap size out of range"},
    };
    for (const Case& c : cases)
    {
        ui::Image image{ui::Image::Kind::Icon, "untouched", 1, 2, 3};
        std::string error;
        const std::string path = folder.write(c.name, c.bytes);
        EXPECT_FALSE(ui::Image::loadBitmapFile(path, image, error)) << c.name;
        EXPECT_EQ(error, path + ": " + c.message);
        EXPECT_EQ(image.file, "untouched");
    }
    ui::Image image;
    std::string error;
    EXPECT_FALSE(ui::Image::loadBitmapFile((folder.path / "missing.bmp").string(), image, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
    EXPECT_FALSE(
        ui::Image::loadIconFile(folder.write("bad.ico", iconHead(16, 16).substr(0, 10)), image, error));
}

TEST_F(ResourcesTest, ResourceSwitchesNestAndRestoreTheOriginalOnlyAtTheOutermostLevel)
{
    ui::ResourceModule module("module");
    ZxTempResourceOverride frame;
    frame.SetDefaultResource();
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources()) << "nothing saved yet: no switch";
    frame.RestoreOriginalResource();
    EXPECT_EQ(frame.depth(), 0);

    frame.SaveDefaultResource(&module);
    frame.SetDefaultResource();
    frame.SetDefaultResource(); // an entry point calling another one
    frame.RestoreOriginalResource();
    EXPECT_EQ(AfxGetResourceHandle(), &module) << "the inner return must not hand back the host's resources";
    frame.RestoreOriginalResource();
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources());
    frame.RestoreOriginalResource();
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources());

    {
        ui::ResourceModule shortLived("short");
        AfxSetResourceHandle(&shortLived);
    }
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources()) << "a module that dies hands the place back";
}

TEST_F(ResourcesTest, HostResourcesAreFoundUnderAModuleButNotTheOtherWayRound)
{
    ui::ResourceModule module("module");
    ui::hostResources().addString(9001, "host text");
    module.addString(9002, "module text");
    module.addString(9001, "module's own 9001");
    Kdr_String text;
    EXPECT_FALSE(ui::loadStringResource(9002, text));
    {
        ZxTempResourceOverride resources(&module);
        ASSERT_TRUE(ui::loadStringResource(9001, text));
        EXPECT_EQ(text, "module's own 9001") << "the current module is searched first";
        ASSERT_TRUE(ui::loadStringResource(9002, text));
    }
    ASSERT_TRUE(ui::loadStringResource(9001, text));
    EXPECT_EQ(text, "host text");
}

TEST_F(ResourcesTest, TemplatesBecomeWindowsInPixelsWithFontsAndPictures)
{
    ScratchFolder folder;
    ui::ResourceModule module("module");
    module.addIcon(239, folder.write("flex.ico", iconHead(16, 16)));
    module.addIcon(240, (folder.path / "missing.ico").string());
    ui::DialogTemplate t(300, "Pictures", 10, 20, 100, 60);
    t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    t.font = ui::Font{"Tahoma", 8, 400, false, false};
    t.icon(1, 239, 3, 5, 20, 20)
        .control(2, "BUTTON", "#240", BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON, 30, 5, 21, 13)
        .control(3, "fpSpread70", "", WS_BORDER, 7, 33, 90, 20, 0, true);
    module.addDialog(t);

    ZxTempResourceOverride resources(&module);
    ui::Window owner;
    ASSERT_TRUE(
        owner.Create("#32770", "Owner", WS_POPUP | WS_CAPTION, ui::Rect(100, 100, 600, 500), nullptr, 0));
    ui::Dialog dialog;
    ASSERT_TRUE(dialog.Create(300, &owner));
    EXPECT_EQ(dialog.GetClientRect(), ui::Rect(0, 0, 150, 98)) << "100 × 60 dialog units";
    EXPECT_EQ(dialog.GetWindowRect().TopLeft(), (ui::Point{120, 153})) << "placed in the owner's client area";

    auto* icon = dialog.dlgItem<ui::Static>(1);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(icon->image().has_value());
    EXPECT_EQ(icon->image()->resourceId, 239);
    EXPECT_EQ(icon->image()->width, 16);
    EXPECT_EQ(icon->GetWindowText(), "");
    auto* toggle = dialog.dlgItem<ui::Button>(2);
    ASSERT_TRUE(toggle->image().has_value())
        << "a registered icon whose file is missing still loads, without size";
    EXPECT_EQ(toggle->image()->width, 0);
    EXPECT_EQ(toggle->rectInParent(), ui::Rect(45, 8, 77, 29)) << "edges rounded half away from zero";
    ui::Window* grid = dialog.GetDlgItem(3);
    EXPECT_EQ(grid->GetClassName(), "fpSpread70");
    EXPECT_FALSE(grid->IsWindowVisible());
    EXPECT_EQ(*grid->GetFont(), t.font);

    CButtonST button;
    ASSERT_TRUE(button.SubclassDlgItem(2, &dialog));
    EXPECT_TRUE(button.SetIcon(239));
    EXPECT_FALSE(button.SetIcon(4711));
    button.SetTooltipText("Flex");
    EXPECT_EQ(button.GetTooltipText(), "Flex");
    owner.DestroyWindow();
    EXPECT_FALSE(dialog.IsWindow()) << "an owned dialog dies with its owner";
}

TEST_F(ResourcesTest, DialogUnitsMapToPixels)
{
    const std::pair<int, int> horizontal[] = {{0, 0}, {1, 2}, {2, 3}, {3, 5}, {-1, -2}, {100, 150}};
    for (auto [units, pixels] : horizontal)
        EXPECT_EQ(ui::dialogUnitsToPixelsX(units), pixels) << units;
    const std::pair<int, int> vertical[] = {{0, 0}, {1, 2}, {2, 3}, {4, 7}, {8, 13}, {-4, -7}};
    for (auto [units, pixels] : vertical)
        EXPECT_EQ(ui::dialogUnitsToPixelsY(units), pixels) << units;
}
} // namespace
