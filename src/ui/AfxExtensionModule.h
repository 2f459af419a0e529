#pragma once

#include "ui/Bitmap.h"
#include "ui/ResourceModule.h"

#include <memory>
#include <vector>

/// The record of an extension library: its instance and whether it was initialised.
struct AFX_EXTENSION_MODULE
{
    bool bInitialized = false;
    HINSTANCE hModule = nullptr;
    HINSTANCE hResource = nullptr;
};

/// Initialises an extension library's record with its instance. False (the library must not
/// load) without an instance.
bool AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE module);
/// Ends an extension library: its resources leave the search chain.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, bool all = false);

/// Links an extension library's resources into the search chain for as long as it lives, so
/// that AfxFindResourceHandle finds them after the current module's.
class CDynLinkLibrary
{
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HINSTANCE module() const { return module_; }

private:
    HINSTANCE module_;
};

/// Kinds of resources AfxFindResourceHandle searches.
enum class ResourceType
{
    Dialog,
    Bitmap,
    Icon,
    String,
};

/// The module that holds resource `id` of a kind: the current module, then the linked
/// extension libraries in the order they were linked, then the host's; null when none has it.
HINSTANCE AfxFindResourceHandle(int id, ResourceType type);
/// The extension libraries linked now, in order.
std::vector<HINSTANCE> linkedResourceModules();

/// A bitmap object: empty until a bitmap resource is loaded into it.
class CBitmap
{
public:
    /// Loads bitmap `id` of `module`; false (and empty) when the module has none.
    bool LoadBitmap(HINSTANCE module, int id);
    void DeleteObject() { pixels_.reset(); }
    bool isLoaded() const { return pixels_ != nullptr; }
    const std::shared_ptr<const ui::Bitmap>& pixels() const { return pixels_; }

private:
    std::shared_ptr<const ui::Bitmap> pixels_;
};
