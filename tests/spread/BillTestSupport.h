#pragma once

#include "editor/ZxSSEditorSettings.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/TempFolder.h"
#include "spread/Kdr_Spread.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace billtest
{
/// The header row and column of a grid.
constexpr int H = Kdr_Spread::kHeaderIndex;

/// The editor settings a grid shows (its font, text height and column widths).
inline ZxSSEditorSettings settingsOf(Kdr_Spread& spread)
{
    ZxSSEditorSettings settings;
    settings.readFromSheet(&spread);
    return settings;
}

inline std::string le32(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

/// The head of a Windows bitmap of the given size (all the loader reads).
inline std::string bitmap(std::int32_t width, std::int32_t height)
{
    return "BM" + le32(0) + le32(0) + le32(54) + le32(40) + le32(width) + le32(height) +
           std::string("\x01\x00\x18\x00", 4);
}

/// Points the application folder and the editor's configuration at a fresh temporary folder
/// for one test, so no test reads or writes the real home.
class EditorEnvironment
{
public:
    EditorEnvironment() : previousApp_(gSettings.appDir())
    {
        remember("XDG_CONFIG_HOME", folder_.path("config"));
        remember("XDG_CONFIG_DIRS", folder_.path("system"));
        gSettings.setAppDir(folder_.path("app"));
        ObjectExportCreateDirectory(folder_.path("app"));
    }
    ~EditorEnvironment()
    {
        gSettings.setAppDir(previousApp_);
        for (auto& [name, value] : previous_)
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
    }
    EditorEnvironment(const EditorEnvironment&) = delete;
    EditorEnvironment& operator=(const EditorEnvironment&) = delete;

    const TempFolder& folder() const { return folder_; }
    std::string path(const std::string& name = "") const { return folder_.path(name); }
    /// Writes the user's editor configuration.
    void configure(const std::string& text) const { folder_.write("config/kaldor-ss/editor.conf", text); }

private:
    void remember(const std::string& name, const std::string& value)
    {
        const char* old = std::getenv(name.c_str());
        previous_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(name.c_str(), value.c_str(), 1);
    }

    TempFolder folder_;
    Kdr_String previousApp_;
    std::vector<std::pair<std::string, std::optional<std::string>>> previous_;
};
} // namespace billtest
