// Loading and unloading the module as the CAD host does: the library entry, then the
// application messages, with the host's registry recording what the module asked of it.

#include "frame/KaldorSS.h"
#include "frame/ModuleResources.h"

#include <gtest/gtest.h>

namespace
{
using Log = std::vector<std::string>;

class ModuleEntry : public ::testing::Test
{
protected:
    ModuleEntry() { acrxSysRegistry()->reset(); }
    ~ModuleEntry() override
    {
        DllMain(&moduleResources(), DLL_PROCESS_DETACH, nullptr);
        acrxSysRegistry()->reset();
        AfxSetResourceHandle(nullptr);
    }

    int appId_ = 0;
};

TEST_F(ModuleEntry, AttachLinksTheModuleResourcesAndDetachUnlinksThem)
{
    AfxSetResourceHandle(nullptr);
    ASSERT_EQ(AfxFindResourceHandle(IDB_CHECK_ON, ResourceType::Bitmap), nullptr);

    EXPECT_EQ(DllMain(&moduleResources(), DLL_PROCESS_ATTACH, nullptr), 1);
    EXPECT_EQ(moduleInstance(), &moduleResources());
    EXPECT_EQ(moduleResourceOverride().GetDefaultResource(), &moduleResources());
    EXPECT_EQ(linkedResourceModules(), std::vector<HINSTANCE>{&moduleResources()});
    // With the host's resources current, the search still finds the module's bitmaps and
    // templates, and the host's own ones first.
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources());
    EXPECT_EQ(AfxFindResourceHandle(IDB_CHECK_ON, ResourceType::Bitmap), &moduleResources());
    EXPECT_EQ(AfxFindResourceHandle(IDD_STANDARDS_SS, ResourceType::Dialog), &moduleResources());

    EXPECT_EQ(DllMain(&moduleResources(), DLL_PROCESS_DETACH, nullptr), 1);
    EXPECT_TRUE(linkedResourceModules().empty());
    EXPECT_EQ(AfxFindResourceHandle(IDB_CHECK_ON, ResourceType::Bitmap), nullptr);
}

TEST_F(ModuleEntry, AFailedAttachRefusesToLoadAndChangesNothing)
{
    ASSERT_EQ(DllMain(&moduleResources(), DLL_PROCESS_ATTACH, nullptr), 1);
    EXPECT_EQ(DllMain(nullptr, DLL_PROCESS_ATTACH, nullptr), 0);
    // The module's entry points keep their resources.
    EXPECT_EQ(moduleResourceOverride().GetDefaultResource(), &moduleResources());
    EXPECT_EQ(moduleInstance(), &moduleResources());
    EXPECT_EQ(linkedResourceModules(), std::vector<HINSTANCE>{&moduleResources()});
}

TEST_F(ModuleEntry, InitUnlocksRegistersAndLoadsTheSharedBitmaps)
{
    ASSERT_EQ(DllMain(&moduleResources(), DLL_PROCESS_ATTACH, nullptr), 1);
    gBitmapCheckOff.DeleteObject();
    gBitmapCheckOn.DeleteObject();

    EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &appId_), AcRx::kRetOK);

    EXPECT_EQ(acrxSysRegistry()->log(),
              (Log{"at DynamicLinker", "unlockApplication", "at DynamicLinker", "registerAppMDIAware"}));
    auto* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->find("DynamicLinker"));
    ASSERT_NE(linker, nullptr);
    EXPECT_TRUE(linker->isUnlocked(&appId_));
    EXPECT_TRUE(linker->isMDIAware(&appId_));
    // Found through the resource chain while the host's resources are current.
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources());
    ASSERT_TRUE(gBitmapCheckOff.isLoaded());
    ASSERT_TRUE(gBitmapCheckOn.isLoaded());
    EXPECT_EQ(*gBitmapCheckOff.pixels(), *moduleResources().bitmapPixels(8134));
    EXPECT_EQ(*gBitmapCheckOn.pixels(), *moduleResources().bitmapPixels(8136));
}

TEST_F(ModuleEntry, UnloadRemovesOnlyTheModuleCommandGroup)
{
    AcEdCommandStack* commands = acedRegCmds();
    ASSERT_NE(commands, nullptr);
    commands->addCommand("KALDOR_SS", "KSS_EVALUATE");
    commands->addCommand("KALDOR_SS", "KSS_DESIGNER");
    commands->addCommand("KALDOR_CORE", "KDR_MACRO");

    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &appId_), AcRx::kRetOK);

    EXPECT_EQ(acrxSysRegistry()->log(), (Log{"at ACAD_REGISTERED_COMMANDS", "removeGroup KALDOR_SS"}));
    EXPECT_FALSE(commands->hasGroup("KALDOR_SS"));
    EXPECT_EQ(commands->commands("KALDOR_CORE"), Log{"KDR_MACRO"});

    // A second unload finds no group and still reports success.
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &appId_), AcRx::kRetOK);
}

TEST_F(ModuleEntry, EveryOtherMessageDoesNothingAndSucceeds)
{
    for (const auto msg : {AcRx::kNullMsg, AcRx::kLoadDwgMsg, AcRx::kUnloadDwgMsg, AcRx::kInvkSubrMsg,
                           AcRx::kQuitMsg, AcRx::kSaveMsg, AcRx::kEndDialogMsg})
    {
        SCOPED_TRACE(msg);
        EXPECT_EQ(acrxEntryPoint(msg, &appId_), AcRx::kRetOK);
    }
    EXPECT_TRUE(acrxSysRegistry()->log().empty());
}
} // namespace
