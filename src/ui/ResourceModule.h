#pragma once

#include "host/Kdr_String.h"
#include "ui/Bitmap.h"
#include "ui/DialogTemplate.h"
#include "ui/Image.h"

#include <map>
#include <memory>
#include <string>

namespace ui
{
/// The resources of one module: dialog templates, bitmaps, icons and strings, each by number.
/// The host has one (hostResources()); the spreadsheet module keeps its own and registers its
/// templates there.
class ResourceModule
{
public:
    explicit ResourceModule(std::string name) : name_(std::move(name)) {}
    /// A module that goes away while current hands the current place back to the host.
    ~ResourceModule();
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    const std::string& name() const { return name_; }

    /// Adds a template under its number, replacing one already there.
    void addDialog(DialogTemplate dialog);
    const DialogTemplate* findDialog(int id) const;
    bool removeDialog(int id) { return dialogs_.erase(id) != 0; }
    void addBitmap(int id, std::string file) { bitmaps_[id] = std::move(file); }
    void addIcon(int id, std::string file) { icons_[id] = std::move(file); }
    /// Adds a picture held in memory under a number, replacing a file registered there.
    void addBitmap(int id, Bitmap picture);
    void addIcon(int id, Bitmap picture);
    /// The pixels of a bitmap (icon): the picture in memory, else the file read; null when the
    /// number is not registered or its file cannot be read.
    std::shared_ptr<const Bitmap> bitmapPixels(int id) const;
    std::shared_ptr<const Bitmap> iconPixels(int id) const;
    /// The bitmap (icon) registered under a number. Its size is read from the file when the
    /// file can be read, else it stays 0 by 0. False when the number is not registered.
    bool findBitmap(int id, Image& out) const;
    bool findIcon(int id, Image& out) const;
    void addString(int id, Kdr_String text) { strings_[id] = std::move(text); }
    bool findString(int id, Kdr_String& out) const;

private:
    std::string name_;
    std::map<int, DialogTemplate> dialogs_;
    std::map<int, std::string> bitmaps_;
    std::map<int, std::string> icons_;
    std::map<int, Kdr_String> strings_;
    std::map<int, std::shared_ptr<const Bitmap>> bitmapPictures_;
    std::map<int, std::shared_ptr<const Bitmap>> iconPictures_;
};

/// The host's resources; always searched after the current module's.
ResourceModule& hostResources();

/// Looks a template up in the current module, then in the host's. A template of a module
/// other than the host is therefore found only while that module's resources are current.
const DialogTemplate* findDialogTemplate(int id);
bool loadBitmapResource(int id, Image& out);
bool loadIconResource(int id, Image& out);
/// The pixels of a bitmap (icon) resource through the same search; null when not found.
std::shared_ptr<const Bitmap> loadBitmapPixels(int id);
std::shared_ptr<const Bitmap> loadIconPixels(int id);
bool loadStringResource(int id, Kdr_String& out);
} // namespace ui

/// A module instance is its resource module.
using HINSTANCE = ui::ResourceModule*;

/// The module whose resources are current (the host's unless switched).
HINSTANCE AfxGetResourceHandle();
/// Makes a module's resources current; null makes the host's current.
void AfxSetResourceHandle(HINSTANCE module);
