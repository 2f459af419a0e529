// The template's controls on a live dialog: attaching, drawing, painting, the mouse, values
// and the flex/fix buttons.

#include "designer/CControlRect.h"
#include "designer/CMultiRectTracker.h"
#include "designer/Kdr_DlgDesignerData.h"
#include "frame/ModuleResources.h"
#include "host/Texts.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/DialogAids.h"
#include "ui/Edit.h"
#include "ui/PaintContext.h"

#include <cmath>

namespace
{
/// The name of control type `type` in the designer's type combo.
Kdr_String typeName(int type)
{
    switch (type)
    {
    case ctPatternCount1:
        return dialString(803) + " 1: " + string(2220);
    case ctPatternCount2:
        return dialString(803) + " 2: " + string(2220);
    case ctCellButtonA:
        return dialString(823);
    case ctCellButtonB:
        return dialString(1315);
    case ctDrawingList:
        return dialString(1341);
    case ctCutType:
        return dialString(1404);
    case ctCellCheck:
        return dialString(1405);
    case ctFlexFixButton:
        return dialString(1428);
    default:
        break;
    }
    if (type <= ctPatternButton - 3)
        return dialString(799 + type); // 0 to 3: 799 to 802
    if (type == ctPatternButton)
        return dialString(804);
    if (type == ctBoltProp1)
        return dialString(805);
    if (type == ctBoltProp2)
        return dialString(806);
    return dialString(807 + type - ctBoltProp3); // 9 to 24: 807 to 822
}

std::uint32_t styleOf(int type, const char* className)
{
    const std::string_view windowClass(className);
    std::uint32_t style = WS_CHILD | WS_VISIBLE;
    if (windowClass == "EDIT")
        style |= (type == ctPatternCount1 || type == ctPatternCount2) ? (ES_MULTILINE | ES_AUTOVSCROLL)
                                                                      : ES_AUTOHSCROLL;
    else if (windowClass == "COMBOBOX")
        style |= (type == ctCellCombo || type == ctProfAngle) ? (CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL)
                                                              : (CBS_DROPDOWNLIST | WS_VSCROLL);
    else if (windowClass == "BUTTON")
    {
        if (type == ctGroup)
            style |= BS_GROUPBOX;
        else if (type == ctFlexFixButton)
            style |= BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON | BS_VCENTER;
        else
            style |= BS_PUSHBUTTON;
    }
    else
        style |= SS_LEFT;
    return style;
}
} // namespace

ui::Window* Kdr_DlgDesignerData::drawnWindowOf(int index) const
{
    const Kdr_DesignerControl* control = getControl(index);
    CControlRect* drawn = control ? findDrawn(control->resourceId) : nullptr;
    return drawn ? drawn->window() : nullptr;
}

Kdr_String Kdr_DlgDesignerData::indeterminateText()
{
    return dialString(695);
}

// ---- attaching ---------------------------------------------------------------------------

bool Kdr_DlgDesignerData::initialize(ui::Window* dialog, int firstId, int lastId, int typeComboId,
                                     int typeHintId, int contentsEditId, int extraLabelId, int extraEditId,
                                     bool designerMode)
{
    if (dialog == nullptr || !dialog->IsWindow())
        return false;
    dialog_ = dialog->GetSafeHwnd();
    firstId_ = firstId;
    lastId_ = lastId;
    designerMode_ = designerMode;
    initialised_ = true;
    if (!designerMode)
        return true;
    if (!tracker_)
        tracker_ = std::make_unique<CMultiRectTracker>();
    tracker_->attach(dialog);
    typeComboId_ = typeComboId;
    typeHintId_ = typeHintId;
    contentsEditId_ = contentsEditId;
    extraLabelId_ = extraLabelId;
    extraEditId_ = extraEditId;
    fillTypeCombo();
    return true;
}

void Kdr_DlgDesignerData::fillTypeCombo()
{
    ui::Window* dialog = getDlgPtr();
    auto* combo = dialog ? dialog->dlgItem<ui::ComboBox>(typeComboId_) : nullptr;
    if (combo == nullptr)
        return;
    combo->ResetContent();
    for (int type = 0; type < kNrControlTypes; ++type)
        combo->AddString(typeName(type));
    const int current = getCurSel();
    combo->SetCurSel(current >= 0 ? static_cast<int>(getControl(current)->type) : -1);
}

// ---- painting and the mouse --------------------------------------------------------------

int Kdr_DlgDesignerData::OnEraseBkgnd(ui::PaintContext& dc)
{
    ui::Window* dialog = getDlgPtr();
    if (dialog == nullptr)
        return 0;
    if (designerMode_)
        dc.FillSolidRect(dialog->GetClientRect(), GetSysColor(COLOR_BTNFACE));
    if (image_)
        dc.DrawBitmap(image_, ui::Rect(0, 0, imageWidth_, imageHeight_), imageMask_);
    return 0;
}

void Kdr_DlgDesignerData::OnPaint(ui::PaintContext& dc)
{
    if (initialised_ && tracker_)
        tracker_->draw(dc);
}

bool Kdr_DlgDesignerData::OnSetCursor(unsigned hitTest, unsigned)
{
    ui::Window* dialog = getDlgPtr();
    if (dialog == nullptr || !tracker_ || hitTest != HTCLIENT)
        return false;
    ui::Point point;
    GetCursorPos(&point);
    dialog->ScreenToClient(point);
    return tracker_->setCursor(point);
}

void Kdr_DlgDesignerData::OnLButtonDown(unsigned flags, ui::Point point)
{
    if (initialised_ && tracker_)
        tracker_->onLButtonDown(flags, point);
}

void Kdr_DlgDesignerData::OnMouseMove(unsigned flags, ui::Point point)
{
    if (initialised_ && tracker_)
        tracker_->onMouseMove(flags, point);
}

void Kdr_DlgDesignerData::OnLButtonUp(unsigned flags, ui::Point point)
{
    if (initialised_ && tracker_)
        tracker_->onLButtonUp(flags, point);
}

void Kdr_DlgDesignerData::OnCaptureChanged()
{
    if (tracker_)
        tracker_->cancel();
}

bool Kdr_DlgDesignerData::preTranslateMouse(const ui::Message& message)
{
    ui::Window* dialog = getDlgPtr();
    if (dialog == nullptr || !tracker_ || message.window == nullptr || message.window == dialog ||
        message.message != WM_LBUTTONDOWN || ui::Window::GetCapture() != nullptr)
        return false;
    int index = -1;
    if (findDrawn(message.window->GetDlgCtrlID(), &index) == nullptr ||
        drawn_[static_cast<std::size_t>(index)]->window() != message.window)
        return false;
    ui::Point point{static_cast<short>(message.lParam & 0xFFFF),
                    static_cast<short>((message.lParam >> 16) & 0xFFFF)};
    message.window->ClientToScreen(point);
    dialog->ScreenToClient(point);
    tracker_->onLButtonDown(static_cast<unsigned>(message.wParam), point);
    return true;
}

// ---- drawing -----------------------------------------------------------------------------

bool Kdr_DlgDesignerData::drawControl(Kdr_DesignerControl& control)
{
    ui::Window* dialog = getDlgPtr();
    if (dialog == nullptr)
        return false;
    ui::Rect rect = getPixelRect(control);
    const char* className = getControlClassName(control.type);
    const std::string_view windowClass(className);
    if (!designerMode_ && windowClass == "COMBOBOX" && rect.bottom - rect.top < kMinComboHeight)
        rect.bottom = rect.top + kMinComboHeight;
    const std::uint32_t exStyle = windowClass == "EDIT" ? WS_EX_CLIENTEDGE : 0;
    ui::Window* window = ui::createControl(className, control.contents, styleOf(control.type, className),
                                           rect, dialog, control.resourceId, exStyle);
    if (window == nullptr)
        return false;
    if (const ui::Font* font = dialog->GetFont())
        window->SetFont(*font, false);
    if ((designerMode_ && windowClass != "STATIC") || control.readOnly)
        window->EnableWindow(false);
    drawn_.push_back(std::make_unique<CControlRect>(window));
    if (designerMode_ && tracker_)
        tracker_->add(drawn_.back().get());
    if (windowClass == "COMBOBOX")
        FillDesCombo(dialog, control);
    if (control.type == ctCutType)
        setComboValue(control.resourceId, control.contents);
    else if (control.type == ctCellCheck)
        setCheckValue(control.resourceId, control.comboList);
    else if (control.type == ctFlexFixButton)
        if (auto* button = dynamic_cast<ui::Button*>(window))
            button->SetIcon(flexIcon());
    return true;
}

ui::Image& Kdr_DlgDesignerData::flexIcon()
{
    if (!flexIcon_)
    {
        flexIcon_ = std::make_unique<ui::Image>();
        moduleResources().findIcon(IDI_FLEX_FIX, *flexIcon_);
    }
    return *flexIcon_;
}

bool Kdr_DlgDesignerData::FillDesCombo(ui::Window* dialog, Kdr_DesignerControl& control)
{
    auto* combo = dialog ? dynamic_cast<ui::ComboBox*>(dialog->GetDlgItem(control.resourceId)) : nullptr;
    if (combo == nullptr || control.resourceId == 0)
        return false;
    if (control.type == ctCutType)
    {
        combo->ResetContent();
        for (int number : {1395, 1396, 1397, 1398})
            combo->AddString(dialString(number));
        combo->AddString(indeterminateText());
        return true;
    }
    Kdr_StringArray items = control.comboItems;
    if (items.isEmpty())
        control.getComboItemsFromFile(items);
    if (items.isEmpty())
        return true;
    combo->ResetContent();
    for (const Kdr_String& item : items)
        combo->AddString(item);
    // The platform's exact search ignores letter case; a value is matched as it is spelled.
    int match = -1;
    for (int i = 0; i < items.length() && match < 0; ++i)
        if (items[i] == control.contents)
            match = i;
    if (match < 0)
        match = combo->FindStringExact(-1, control.contents);
    if (match >= 0)
        combo->SetCurSel(match);
    else
        combo->SetWindowText(control.contents);
    return true;
}

// ---- values ------------------------------------------------------------------------------

bool Kdr_DlgDesignerData::getCtrlValue(int id, Kdr_String& text) const
{
    int index = -1;
    CControlRect* drawn = findDrawn(id);
    const Kdr_DesignerControl* control = findCtrlFromResource(id, index) ? getControl(index) : nullptr;
    if (drawn == nullptr || control == nullptr)
        return false;
    auto* self = const_cast<Kdr_DlgDesignerData*>(this);
    if (control->type == ctCellCheck)
        return self->getSetCheckValue(false, index, text);
    if (control->type == ctCutType)
        return self->getSetComboValue(false, index, text);
    text = drawn->window()->GetWindowText();
    return true;
}

bool Kdr_DlgDesignerData::setCtrlValue(int id, const Kdr_String& text)
{
    int index = -1;
    CControlRect* drawn = findDrawn(id);
    const Kdr_DesignerControl* control = findCtrlFromResource(id, index) ? getControl(index) : nullptr;
    if (drawn == nullptr || control == nullptr)
        return false;
    Kdr_String value = text;
    switch (control->type)
    {
    case ctCutType:
        getSetComboValue(true, index, value);
        break;
    case ctCellButtonA:
    case ctCellButtonB:
        break; // the caption stays
    case ctCellCheck:
        getSetCheckValue(true, index, value);
        break;
    default:
        drawn->window()->SetWindowText(text);
        break;
    }
    return true;
}

bool Kdr_DlgDesignerData::getSetCheckValue(bool set, int index, Kdr_String& text)
{
    const Kdr_DesignerControl* control = getControl(index);
    if (control == nullptr || (control->type != ctCellCheck && control->type != ctFlexFixButton))
        return false;
    auto* button = dynamic_cast<ui::Button*>(drawnWindowOf(index));
    if (button == nullptr)
        return false;
    const Kdr_String indeterminate = indeterminateText();
    if (set)
    {
        if (text == indeterminate)
        {
            button->SetButtonStyle(BS_AUTO3STATE);
            button->SetCheck(BST_INDETERMINATE);
        }
        else
        {
            button->SetButtonStyle(BS_AUTOCHECKBOX);
            const double number = std::atof(text.c_str());
            button->SetCheck(number > 0 ? BST_CHECKED : BST_UNCHECKED);
        }
        return true;
    }
    const int state = button->GetCheck();
    text = state == BST_INDETERMINATE ? indeterminate : Kdr_String(state == BST_CHECKED ? "1" : "0");
    return true;
}

bool Kdr_DlgDesignerData::getCheckValue(int id, Kdr_String& text)
{
    int index = -1;
    return findCtrlFromResource(id, index) && getSetCheckValue(false, index, text);
}

bool Kdr_DlgDesignerData::setCheckValue(int id, const Kdr_String& text)
{
    int index = -1;
    Kdr_String value = text;
    return findCtrlFromResource(id, index) && getSetCheckValue(true, index, value);
}

bool Kdr_DlgDesignerData::getSetComboValue(bool set, int index, Kdr_String& text)
{
    const Kdr_DesignerControl* control = getControl(index);
    if (control == nullptr || control->type != ctCutType)
        return false;
    auto* combo = dynamic_cast<ui::ComboBox*>(drawnWindowOf(index));
    if (combo == nullptr)
        return false;
    if (set)
        combo->SetCurSel(text.toInt());
    else
        text = Kdr_String(combo->GetCurSel() < 0 ? -1 : combo->GetCurSel());
    return true;
}

bool Kdr_DlgDesignerData::getComboValue(int id, Kdr_String& text)
{
    int index = -1;
    return findCtrlFromResource(id, index) && getSetComboValue(false, index, text);
}

bool Kdr_DlgDesignerData::setComboValue(int id, const Kdr_String& text)
{
    int index = -1;
    Kdr_String value = text;
    return findCtrlFromResource(id, index) && getSetComboValue(true, index, value);
}

bool Kdr_DlgDesignerData::setCtrlReadOnly(int id, bool readOnly)
{
    int index = -1;
    CControlRect* drawn = findDrawn(id);
    const Kdr_DesignerControl* control = findCtrlFromResource(id, index) ? getControl(index) : nullptr;
    if (drawn == nullptr || control == nullptr ||
        (control->type != ctCellEdit && control->type != ctCellCombo))
        return false;
    ui::Window* window = drawn->window();
    if (window->IsWindowEnabled() == readOnly)
        window->EnableWindow(!readOnly);
    return true;
}

bool Kdr_DlgDesignerData::isTypeBoltCount(int id) const
{
    int type = -1;
    return getDynControlType(id, type) && (type == ctPatternCount1 || type == ctPatternCount2);
}

bool Kdr_DlgDesignerData::getDynControlType(int id, int& type) const
{
    int index = -1;
    if (!findCtrlFromResource(id, index))
        return false;
    type = getControl(index)->type;
    return true;
}

bool Kdr_DlgDesignerData::findEditCtrlWithContents(const Kdr_String& name, int& index) const
{
    for (int i = 0; i < getNrControls(); ++i)
    {
        const Kdr_DesignerControl* control = getControl(i);
        if ((control->type == ctCellEdit || control->type == ctCellCombo) && control->contents == name)
        {
            index = i;
            return true;
        }
    }
    return false;
}

// ---- flex/fix buttons --------------------------------------------------------------------

void Kdr_DlgDesignerData::getFlexBtnsGroups(Kdr_StringArray& names) const
{
    names.clear();
    for (const auto& control : controls_)
        if (control->type == ctFlexFixButton && !names.contains(control->flexFields[0], true))
            names.append(control->flexFields[0]);
}

bool Kdr_DlgDesignerData::getFlexBtnsInGroup(const Kdr_String& group, Kdr_Array<int>& all,
                                             Kdr_Array<int>& marked) const
{
    all.clear();
    marked.clear();
    if (group.isEmpty())
        return true;
    for (int i = 0; i < getNrControls(); ++i)
    {
        const Kdr_DesignerControl* control = getControl(i);
        if (control->type != ctFlexFixButton || control->flexFields[0] != group)
            continue;
        all.append(i);
        if (!control->flexFields[2].isEmpty())
            marked.append(i);
    }
    return true;
}

bool Kdr_DlgDesignerData::findFlexButton(const Kdr_String& group, const Kdr_String& variable,
                                         int& index) const
{
    for (int i = 0; i < getNrControls(); ++i)
    {
        const Kdr_DesignerControl* control = getControl(i);
        if (control->type == ctFlexFixButton && control->flexFields[0].equal(group, false) &&
            control->contents.equal(variable, false))
        {
            index = i;
            return true;
        }
    }
    return false;
}

void Kdr_DlgDesignerData::getAllFlexVarsOfGroup(const Kdr_String& group, Kdr_StringArray& names) const
{
    names.clear();
    for (const auto& control : controls_)
        if (control->type == ctFlexFixButton && control->flexFields[0] == group)
            names.append(control->contents);
}

bool Kdr_DlgDesignerData::getFlexBtnGroupName(int id, Kdr_String& group, Kdr_String& variable) const
{
    int index = -1;
    if (!findCtrlFromResource(id, index) || getControl(index)->type != ctFlexFixButton)
        return false;
    group = getControl(index)->flexFields[0];
    variable = getControl(index)->contents;
    return true;
}

bool Kdr_DlgDesignerData::getSetFlexBtnStatus(bool set, int index, int& status)
{
    const Kdr_DesignerControl* control = getControl(index);
    if (control == nullptr || control->type != ctFlexFixButton)
        return false;
    auto* button = dynamic_cast<ui::Button*>(drawnWindowOf(index));
    if (button == nullptr)
        return false;
    if (set)
    {
        if (status == BST_INDETERMINATE)
            status = BST_UNCHECKED;
        button->SetCheck(status);
    }
    else
        status = button->GetCheck();
    return true;
}

bool Kdr_DlgDesignerData::getFlexBtnStatus(const Kdr_String& group, const Kdr_String& variable, int& status)
{
    int index = -1;
    return findFlexButton(group, variable, index) && getSetFlexBtnStatus(false, index, status);
}

bool Kdr_DlgDesignerData::setFlexBtnStatus(const Kdr_String& group, const Kdr_String& variable, int status)
{
    int index = -1;
    return findFlexButton(group, variable, index) && getSetFlexBtnStatus(true, index, status);
}

void Kdr_DlgDesignerData::hideAllFlexBtns(const Kdr_String& group)
{
    ui::Window* dialog = getDlgPtr();
    for (const auto& control : controls_)
        if (control->type == ctFlexFixButton && control->flexFields[0] == group)
            ShowOrHideCtrl(dialog, control->resourceId, false);
}
