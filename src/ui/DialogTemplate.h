#pragma once

#include "host/Kdr_String.h"
#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/WinDefs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui
{
/// One control of a dialog template. The rectangle is in dialog units.
struct ControlTemplate
{
    int id = 0;
    std::string className;
    Kdr_String text;
    Rect rect;
    std::uint32_t style = WS_CHILD | WS_VISIBLE;
    std::uint32_t exStyle = 0;
};

/// A dialog template as a resource module holds it: caption, rectangle in dialog units (the
/// position of the window and the size of its client area), styles, font and controls in
/// tab order. The builder functions add controls with the styles the resource compiler gives
/// the statements of the same name; rectangles are given as x, y, width, height.
struct DialogTemplate
{
    int id = 0;
    Kdr_String caption;
    Rect rect;
    std::uint32_t style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    std::uint32_t exStyle = 0;
    Font font;
    std::vector<ControlTemplate> controls;

    DialogTemplate() = default;
    DialogTemplate(int templateId, std::string_view title, int x, int y, int cx, int cy)
        : id(templateId), caption(title), rect(x, y, x + cx, y + cy)
    {
    }

    /// Any control; WS_CHILD and WS_VISIBLE are added unless `hidden`.
    DialogTemplate& control(int controlId, std::string_view className, std::string_view text,
                            std::uint32_t style, int x, int y, int cx, int cy, std::uint32_t exStyle = 0,
                            bool hidden = false);
    DialogTemplate& ltext(int controlId, std::string_view text, int x, int y, int cx, int cy,
                          std::uint32_t extra = 0);
    DialogTemplate& icon(int controlId, int iconId, int x, int y, int cx, int cy, std::uint32_t extra = 0);
    DialogTemplate& pushButton(int controlId, std::string_view text, int x, int y, int cx, int cy,
                               std::uint32_t extra = 0);
    DialogTemplate& defPushButton(int controlId, std::string_view text, int x, int y, int cx, int cy,
                                  std::uint32_t extra = 0);
    DialogTemplate& editText(int controlId, int x, int y, int cx, int cy, std::uint32_t extra = 0);
    DialogTemplate& comboBox(int controlId, int x, int y, int cx, int cy,
                             std::uint32_t extra = CBS_DROPDOWNLIST);
    DialogTemplate& autoCheckBox(int controlId, std::string_view text, int x, int y, int cx, int cy,
                                 std::uint32_t extra = 0);
    DialogTemplate& auto3State(int controlId, std::string_view text, int x, int y, int cx, int cy,
                               std::uint32_t extra = 0);
    DialogTemplate& autoRadioButton(int controlId, std::string_view text, int x, int y, int cx, int cy,
                                    std::uint32_t extra = 0);
    DialogTemplate& groupBox(int controlId, std::string_view text, int x, int y, int cx, int cy,
                             std::uint32_t extra = 0);
    DialogTemplate& tabControl(int controlId, int x, int y, int cx, int cy, std::uint32_t extra = 0);

    const ControlTemplate* findControl(int controlId) const;
};
} // namespace ui
