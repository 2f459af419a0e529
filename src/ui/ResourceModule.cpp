#include "ui/ResourceModule.h"

namespace ui
{
namespace
{
HINSTANCE gCurrent = nullptr;

bool findImage(const std::map<int, std::string>& files,
               const std::map<int, std::shared_ptr<const Bitmap>>& pictures, int id, Image::Kind kind,
               Image& out)
{
    if (auto picture = pictures.find(id); picture != pictures.end())
    {
        out = Image{kind, "", picture->second->width(), picture->second->height(), id};
        return true;
    }
    auto it = files.find(id);
    if (it == files.end())
        return false;
    Image image{kind, it->second, 0, 0, id};
    Image read;
    std::string error;
    const bool ok = kind == Image::Kind::Bitmap ? Image::loadBitmapFile(it->second, read, error)
                                                : Image::loadIconFile(it->second, read, error);
    if (ok)
    {
        image.width = read.width;
        image.height = read.height;
    }
    out = image;
    return true;
}

std::shared_ptr<const Bitmap> pixelsOf(const std::map<int, std::string>& files,
                                       const std::map<int, std::shared_ptr<const Bitmap>>& pictures, int id)
{
    if (auto picture = pictures.find(id); picture != pictures.end())
        return picture->second;
    auto it = files.find(id);
    if (it == files.end() || it->second.empty())
        return nullptr;
    std::string error;
    auto read = Bitmap::load(it->second, error);
    return read ? std::make_shared<const Bitmap>(std::move(*read)) : nullptr;
}

// The search order: the current module, then the host's.
template <typename Find> bool searchChain(Find find)
{
    ResourceModule& host = hostResources();
    ResourceModule* current = AfxGetResourceHandle();
    if (current != &host && find(*current))
        return true;
    return find(host);
}
} // namespace

ResourceModule::~ResourceModule()
{
    if (gCurrent == this)
        gCurrent = nullptr;
}

void ResourceModule::addDialog(DialogTemplate dialog)
{
    const int id = dialog.id;
    dialogs_.insert_or_assign(id, std::move(dialog));
}

const DialogTemplate* ResourceModule::findDialog(int id) const
{
    auto it = dialogs_.find(id);
    return it == dialogs_.end() ? nullptr : &it->second;
}

bool ResourceModule::findBitmap(int id, Image& out) const
{
    return findImage(bitmaps_, bitmapPictures_, id, Image::Kind::Bitmap, out);
}
bool ResourceModule::findIcon(int id, Image& out) const
{
    return findImage(icons_, iconPictures_, id, Image::Kind::Icon, out);
}

void ResourceModule::addBitmap(int id, Bitmap picture)
{
    bitmaps_.erase(id);
    bitmapPictures_[id] = std::make_shared<const Bitmap>(std::move(picture));
}

void ResourceModule::addIcon(int id, Bitmap picture)
{
    icons_.erase(id);
    iconPictures_[id] = std::make_shared<const Bitmap>(std::move(picture));
}

std::shared_ptr<const Bitmap> ResourceModule::bitmapPixels(int id) const
{
    return pixelsOf(bitmaps_, bitmapPictures_, id);
}

std::shared_ptr<const Bitmap> ResourceModule::iconPixels(int id) const
{
    return pixelsOf(icons_, iconPictures_, id);
}

bool ResourceModule::findString(int id, Kdr_String& out) const
{
    auto it = strings_.find(id);
    if (it == strings_.end())
        return false;
    out = it->second;
    return true;
}

ResourceModule& hostResources()
{
    static auto& host = *new ResourceModule("host");
    return host;
}

const DialogTemplate* findDialogTemplate(int id)
{
    const DialogTemplate* found = nullptr;
    searchChain([&](const ResourceModule& m) { return (found = m.findDialog(id)) != nullptr; });
    return found;
}

bool loadBitmapResource(int id, Image& out)
{
    return searchChain([&](const ResourceModule& m) { return m.findBitmap(id, out); });
}

bool loadIconResource(int id, Image& out)
{
    return searchChain([&](const ResourceModule& m) { return m.findIcon(id, out); });
}

std::shared_ptr<const Bitmap> loadBitmapPixels(int id)
{
    std::shared_ptr<const Bitmap> found;
    searchChain([&](const ResourceModule& m) { return (found = m.bitmapPixels(id)) != nullptr; });
    return found;
}

std::shared_ptr<const Bitmap> loadIconPixels(int id)
{
    std::shared_ptr<const Bitmap> found;
    searchChain([&](const ResourceModule& m) { return (found = m.iconPixels(id)) != nullptr; });
    return found;
}

bool loadStringResource(int id, Kdr_String& out)
{
    return searchChain([&](const ResourceModule& m) { return m.findString(id, out); });
}
} // namespace ui

HINSTANCE AfxGetResourceHandle()
{
    return ui::gCurrent != nullptr ? ui::gCurrent : &ui::hostResources();
}

void AfxSetResourceHandle(HINSTANCE module)
{
    ui::gCurrent = module == &ui::hostResources() ? nullptr : module;
}
