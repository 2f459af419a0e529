// The window classes the toolkit knows by name, and those registered by higher layers.

#include "ui/Button.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Static.h"
#include "ui/TabControl.h"
#include "ui/Window.h"

#include <map>

namespace ui
{
namespace
{
// Class names ignore letter case, as on the platform.
std::string classKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return key;
}

std::map<std::string, WindowFactory>& factories()
{
    static auto& map = *new std::map<std::string, WindowFactory>;
    return map;
}
} // namespace

void registerWindowClass(std::string className, WindowFactory factory)
{
    factories()[classKey(className)] = std::move(factory);
}

std::unique_ptr<Window> makeWindowOfClass(std::string_view className)
{
    const std::string key = classKey(className);
    if (auto it = factories().find(key); it != factories().end() && it->second)
        if (std::unique_ptr<Window> made = it->second())
            return made;
    if (key == "BUTTON")
        return std::make_unique<Button>();
    if (key == "EDIT")
        return std::make_unique<Edit>();
    if (key == "COMBOBOX")
        return std::make_unique<ComboBox>();
    if (key == "CHECKLISTCOMBO")
        return std::make_unique<CheckListComboBox>();
    if (key == "STATIC")
        return std::make_unique<Static>();
    if (key == "SYSTABCONTROL32")
        return std::make_unique<TabControl>();
    return std::make_unique<Window>();
}
} // namespace ui
