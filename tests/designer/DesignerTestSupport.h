#pragma once

#include "designer/Kdr_DesignerFiles.h"
#include "host/Settings.h"
#include "host/TempFolder.h"
#include "ui/Bitmap.h"

#include <string>

namespace designertest
{
/// A scratch library folder holding the designer root folder, current while it lives.
class ScratchLibrary
{
public:
    ScratchLibrary() : previous_(gSettings.libDir()) { gSettings.setLibDir(folder_.path()); }
    ~ScratchLibrary() { gSettings.setLibDir(previous_); }
    ScratchLibrary(const ScratchLibrary&) = delete;
    ScratchLibrary& operator=(const ScratchLibrary&) = delete;

    /// A path below the designer root folder.
    std::string root(const std::string& name = "") const { return getDesignerRootFolder() + name; }
    /// Writes a file below the designer root folder.
    void writeTemplateFile(const std::string& name, const std::string& bytes) const
    {
        folder_.write("Dialog Templates/Dialog Design/" + name, bytes);
    }
    std::string readTemplateFile(const std::string& name) const
    {
        return folder_.read("Dialog Templates/Dialog Design/" + name);
    }
    /// Writes a picture of `width` × `height` pixels below the root folder.
    void writeImage(const std::string& name, int width, int height, COLORREF fill = RGB(255, 255, 255)) const
    {
        writeTemplateFile(name, ui::Bitmap(width, height, fill).toBytes());
    }
    const TempFolder& folder() const { return folder_; }

private:
    TempFolder folder_;
    Kdr_String previous_;
};
} // namespace designertest
