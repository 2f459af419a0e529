#include "ui/AfxExtensionModule.h"

#include <algorithm>

namespace
{
std::vector<HINSTANCE>& chain()
{
    static std::vector<HINSTANCE> linked;
    return linked;
}

bool holds(HINSTANCE module, int id, ResourceType type)
{
    if (module == nullptr)
        return false;
    switch (type)
    {
    case ResourceType::Dialog:
        return module->findDialog(id) != nullptr;
    case ResourceType::Bitmap:
    {
        ui::Image image;
        return module->findBitmap(id, image);
    }
    case ResourceType::Icon:
    {
        ui::Image image;
        return module->findIcon(id, image);
    }
    case ResourceType::String:
    {
        Kdr_String text;
        return module->findString(id, text);
    }
    }
    return false;
}
} // namespace

bool AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE module)
{
    if (module == nullptr)
        return false;
    state.hModule = module;
    state.hResource = module;
    state.bInitialized = true;
    return true;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, bool /*all*/)
{
    auto& linked = chain();
    linked.erase(std::remove(linked.begin(), linked.end(), state.hResource), linked.end());
    state.bInitialized = false;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state) : module_(state.hResource)
{
    if (module_ != nullptr)
        chain().push_back(module_);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    auto& linked = chain();
    // Only this object's link goes; an earlier termination may have removed it already.
    auto it = std::find(linked.begin(), linked.end(), module_);
    if (it != linked.end())
        linked.erase(it);
}

HINSTANCE AfxFindResourceHandle(int id, ResourceType type)
{
    if (HINSTANCE current = AfxGetResourceHandle(); holds(current, id, type))
        return current;
    for (HINSTANCE module : chain())
        if (holds(module, id, type))
            return module;
    return holds(&ui::hostResources(), id, type) ? &ui::hostResources() : nullptr;
}

std::vector<HINSTANCE> linkedResourceModules()
{
    return chain();
}

bool CBitmap::LoadBitmap(HINSTANCE module, int id)
{
    pixels_ = module != nullptr ? module->bitmapPixels(id) : nullptr;
    return pixels_ != nullptr;
}
