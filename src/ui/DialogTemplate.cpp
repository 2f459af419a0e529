#include "ui/DialogTemplate.h"

namespace ui
{
DialogTemplate& DialogTemplate::control(int controlId, std::string_view className, std::string_view text,
                                        std::uint32_t controlStyle, int x, int y, int cx, int cy,
                                        std::uint32_t controlExStyle, bool hidden)
{
    ControlTemplate c;
    c.id = controlId;
    c.className = std::string(className);
    c.text = Kdr_String(text);
    c.rect = Rect(x, y, x + cx, y + cy);
    c.style = controlStyle | WS_CHILD | (hidden ? 0u : WS_VISIBLE);
    c.exStyle = controlExStyle;
    controls.push_back(std::move(c));
    return *this;
}

DialogTemplate& DialogTemplate::ltext(int controlId, std::string_view text, int x, int y, int cx, int cy,
                                      std::uint32_t extra)
{
    return control(controlId, "STATIC", text, SS_LEFT | WS_GROUP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::icon(int controlId, int iconId, int x, int y, int cx, int cy,
                                     std::uint32_t extra)
{
    return control(controlId, "STATIC", "#" + std::to_string(iconId), SS_ICON | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::pushButton(int controlId, std::string_view text, int x, int y, int cx, int cy,
                                           std::uint32_t extra)
{
    return control(controlId, "BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::defPushButton(int controlId, std::string_view text, int x, int y, int cx,
                                              int cy, std::uint32_t extra)
{
    return control(controlId, "BUTTON", text, BS_DEFPUSHBUTTON | WS_TABSTOP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::editText(int controlId, int x, int y, int cx, int cy, std::uint32_t extra)
{
    return control(controlId, "EDIT", "", ES_LEFT | WS_BORDER | WS_TABSTOP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::comboBox(int controlId, int x, int y, int cx, int cy, std::uint32_t extra)
{
    return control(controlId, "COMBOBOX", "", WS_TABSTOP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::autoCheckBox(int controlId, std::string_view text, int x, int y, int cx,
                                             int cy, std::uint32_t extra)
{
    return control(controlId, "BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::auto3State(int controlId, std::string_view text, int x, int y, int cx, int cy,
                                           std::uint32_t extra)
{
    return control(controlId, "BUTTON", text, BS_AUTO3STATE | WS_TABSTOP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::autoRadioButton(int controlId, std::string_view text, int x, int y, int cx,
                                                int cy, std::uint32_t extra)
{
    return control(controlId, "BUTTON", text, BS_AUTORADIOBUTTON | WS_TABSTOP | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::groupBox(int controlId, std::string_view text, int x, int y, int cx, int cy,
                                         std::uint32_t extra)
{
    return control(controlId, "BUTTON", text, BS_GROUPBOX | extra, x, y, cx, cy);
}

DialogTemplate& DialogTemplate::tabControl(int controlId, int x, int y, int cx, int cy, std::uint32_t extra)
{
    return control(controlId, "SysTabControl32", "", WS_TABSTOP | extra, x, y, cx, cy);
}

const ControlTemplate* DialogTemplate::findControl(int controlId) const
{
    for (const ControlTemplate& c : controls)
        if (c.id == controlId)
            return &c;
    return nullptr;
}
} // namespace ui
