#include "frame/ZxModuleEntry.h"

#include "designer/Kdr_DlgEditConstraints.h"
#include "frame/MacroDlgRegistry.h"
#include "frame/ModuleResources.h"

#include <memory>

CBitmap gBitmapCheckOff;
CBitmap gBitmapCheckOn;

namespace
{
HINSTANCE gInstance = nullptr;
AFX_EXTENSION_MODULE gExtensionModule;
std::unique_ptr<CDynLinkLibrary> gResourceLink;

void loadSharedBitmap(CBitmap& bitmap, int id)
{
    bitmap.DeleteObject();
    bitmap.LoadBitmap(AfxFindResourceHandle(id, ResourceType::Bitmap), id);
}

void initApplication(void* appId)
{
    if (auto* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at("DynamicLinker")))
        linker->unlockApplication(appId);
    if (auto* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at("DynamicLinker")))
        linker->registerAppMDIAware(appId);
    loadSharedBitmap(gBitmapCheckOff, IDB_CHECK_OFF);
    loadSharedBitmap(gBitmapCheckOn, IDB_CHECK_ON);
}

void unloadApplication()
{
    if (auto* commands = AcEdCommandStack::cast(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS")))
        commands->removeGroup(kModuleCommandGroup);
    // The modeless windows must not outlive the code that runs them.
    DestroyAllMacroDlgs();
    EndDlgEditConstraints();
}
} // namespace

int DllMain(HINSTANCE instance, unsigned long reason, void* /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        // A library that refuses to load leaves the module as it was: here it stays in the
        // process, and its entry points must keep finding their resources.
        AFX_EXTENSION_MODULE extension;
        if (!AfxInitExtensionModule(extension, instance))
            return 0;
        gInstance = instance;
        moduleResourceOverride().SaveDefaultResource(instance);
        gExtensionModule = extension;
        gResourceLink = std::make_unique<CDynLinkLibrary>(gExtensionModule);
    }
    else if (reason == DLL_PROCESS_DETACH)
    {
        AfxTermExtensionModule(gExtensionModule);
        gResourceLink.reset();
    }
    return 1;
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId)
{
    switch (msg)
    {
    case AcRx::kInitAppMsg:
        initApplication(appId);
        break;
    case AcRx::kUnloadAppMsg:
        unloadApplication();
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}

HINSTANCE moduleInstance()
{
    return gInstance;
}
