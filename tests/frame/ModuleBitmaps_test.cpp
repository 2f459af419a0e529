#include "frame/ModuleBitmaps.h"
#include "frame/ModuleResources.h"
#include "ui/Dialog.h"
#include "ui/MessageLoop.h"
#include "ui/Static.h"

#include <gtest/gtest.h>

namespace
{
TEST(ModuleBitmapsTest, EveryPictureTheDialogsNameIsRegisteredAndDrawn)
{
    ModuleResourceScope resources;
    for (const int id : {8134, 8136, 251})
    {
        SCOPED_TRACE(id);
        ui::Image image;
        ASSERT_TRUE(ui::loadBitmapResource(id, image));
        const auto pixels = ui::loadBitmapPixels(id);
        ASSERT_TRUE(pixels);
        EXPECT_EQ((ui::Size{image.width, image.height}), pixels->size());
    }
    EXPECT_EQ(ui::loadBitmapPixels(IDB_CHECK_OFF)->size(), (ui::Size{13, 13}));
    EXPECT_NE(*ui::loadBitmapPixels(IDB_CHECK_OFF), *ui::loadBitmapPixels(IDB_CHECK_ON));

    for (const int id : {148, 206, 212, 223, 231, 232, 233, 234, 235, 236, 239, 261, 262})
    {
        SCOPED_TRACE(id);
        const auto pixels = ui::loadIconPixels(id);
        ASSERT_TRUE(pixels);
        EXPECT_EQ(pixels->size(), (ui::Size{16, 16}));
        // Each icon has a transparent surround and something drawn on it.
        const ui::BitmapMask mask = pixels->maskFor(kButtonTransparent);
        EXPECT_TRUE(mask.isTransparent(0, 0));
        int drawn = 0;
        for (bool transparent : mask.transparent)
            drawn += transparent ? 0 : 1;
        EXPECT_GT(drawn, 12);
    }
    // No two pictures are the same.
    EXPECT_NE(*ui::loadIconPixels(IDI_MOVE_UP), *ui::loadIconPixels(IDI_MOVE_DOWN));
    EXPECT_NE(*ui::loadIconPixels(IDI_SET_WIDTH), *ui::loadIconPixels(IDI_SET_HEIGHT));
}

TEST(ModuleBitmapsTest, IconControlOfATemplateShowsTheModuleIconThroughItsMask)
{
    ModuleResourceScope resources;
    ui::DialogTemplate t(9002, "Icons", 0, 0, 100, 60);
    t.style = WS_POPUP | WS_VISIBLE;
    t.icon(1299, IDI_OPEN, 10, 10, 20, 20);
    ui::Dialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    ui::MessageLoop::instance().pump();
    const auto* icon = dialog.dlgItem<ui::Static>(1299);
    ASSERT_NE(icon, nullptr);
    const auto bitmaps = icon->displayList().ofKind(ui::DrawKind::Bitmap);
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_EQ(bitmaps.front()->rect, ui::Rect(0, 0, 16, 16));
    ASSERT_TRUE(bitmaps.front()->mask);
    EXPECT_TRUE(bitmaps.front()->mask->isTransparent(0, 0));
    dialog.DestroyWindow();
}
} // namespace
