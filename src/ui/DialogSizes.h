#pragma once

#include "host/Kdr_String.h"
#include "ui/Geometry.h"

#include <map>
#include <string>
#include <string_view>

namespace ui
{
class Window;

/// The host's store of window rectangles under names ("DLG_…"); names ignore letter case.
/// It lives in memory and can be kept in a file: one line per name, "name TAB left TAB top
/// TAB width TAB height", with "\\", "\t" and "\n" standing for a backslash, TAB and line
/// break inside a name.
class DialogSizeStore
{
public:
    bool find(std::string_view key, Rect& rect) const;
    void store(std::string_view key, const Rect& rect);
    bool erase(std::string_view key);
    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }

    /// Replaces the store with a file's entries. False with "file:line: what" in `error` when
    /// the file cannot be read or a line is malformed; the store is then unchanged.
    bool load(const std::string& path, Kdr_String& error);
    /// Writes every entry, sorted by name, atomically. False with a message naming the file.
    bool save(const std::string& path, Kdr_String& error) const;

private:
    struct Entry
    {
        Kdr_String key;
        Rect rect;
    };
    std::map<std::string, Entry> entries_;
};

/// The store the dialog-size functions use.
DialogSizeStore& dialogSizes();
} // namespace ui

/// The width and height stored under `key`; false when nothing is stored.
bool getDlgSize(const Kdr_String& key, int& width, int& height);
/// Gives `window` the rectangle stored under `key` (position and size), kept on the screen
/// and held to the window's minimum size. False when nothing is stored or there is no window.
bool ChangeDlgSize(ui::Window* window, const Kdr_String& key);
/// Stores the rectangle of `window` under `key`. Nothing happens without a window.
void WriteDlgSize(ui::Window* window, const Kdr_String& key);
