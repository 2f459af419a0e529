// Editing the layout of a template in the designer, and the keyboard order of its controls
// on a run-time dialog.

#include "designer/CControlRect.h"
#include "designer/CMultiRectTracker.h"
#include "designer/Kdr_DlgDesignerData.h"
#include "host/CommandLine.h"
#include "host/Texts.h"
#include "ui/Edit.h"
#include "ui/UserAgent.h"

#include <algorithm>
#include <cmath>

namespace
{
/// Tab positions go to live controls only: not to labels, group boxes or read-only fields.
bool takesTabPosition(const Kdr_DesignerControl& control)
{
    return !control.readOnly && control.type != ctText && control.type != ctGroup;
}

/// A size typed into the size prompt: a number above 0, else nothing.
bool readSize(const Kdr_String& text, double& size)
{
    Kdr_String trimmed = text;
    trimmed.trim();
    if (!trimmed.isNumber())
        return false;
    size = trimmed.toDouble();
    return std::isfinite(size) && size > 0;
}
} // namespace

// ---- designer editing --------------------------------------------------------------------

bool Kdr_DlgDesignerData::addNewControl(int type)
{
    // Without an image a size in pixels has no factor; such a control could only be drawn
    // as a point.
    if (!hasImage())
        return false;
    Kdr_DesignerControl control;
    control.type = static_cast<Kdr_ControlType>(type);
    control.contents = dialString(171);
    control.topLeftX = 0.2;
    control.topLeftY = 0.2;
    control.bottomRightX = 0.2 + 30.0 / imageWidth_;
    control.bottomRightY = 0.2 + 18.0 / imageHeight_;
    append(control);
    drawControl(*controls_.back());
    return true;
}

Kdr_Array<int> Kdr_DlgDesignerData::getSelectedIds() const
{
    Kdr_Array<int> ids;
    if (tracker_)
        for (const ui::Window* window : tracker_->getSelectedWindows())
            ids.append(window->GetDlgCtrlID());
    return ids;
}

std::vector<int> Kdr_DlgDesignerData::selectedControlIndices() const
{
    std::vector<int> indices;
    for (int id : getSelectedIds())
    {
        int index = -1;
        if (findCtrlFromResource(id, index))
            indices.push_back(index);
    }
    return indices;
}

bool Kdr_DlgDesignerData::removeCurControls()
{
    if (!tracker_)
        return false;
    for (int id : getSelectedIds())
    {
        int drawnIndex = -1;
        if (CControlRect* drawn = findDrawn(id, &drawnIndex))
        {
            tracker_->remove(drawn);
            drawn_.erase(drawn_.begin() + drawnIndex);
        }
        int index = -1;
        findCtrlFromResource(id, index);
        if (index < 0 || index >= getNrControls())
            acutPrintf("*Error* Invalid index passed to remove.\n");
        else
            removeControl(index);
    }
    if (ui::Window* dialog = getDlgPtr())
        dialog->Invalidate();
    return true;
}

void Kdr_DlgDesignerData::copyCurCtrls()
{
    const std::vector<int> selected = selectedControlIndices();
    if (selected.empty() || !hasImage())
        return;
    getSizeFromAllControls();
    Kdr_Array<int> copies;
    for (int index : selected)
    {
        Kdr_DesignerControl copy = *getControl(index);
        setTopLeftX(copy, getTopLeftX(copy) + 20);
        setTopLeftY(copy, getTopLeftY(copy) + 20);
        setBottomRightX(copy, getBottomRightX(copy) + 20);
        setBottomRightY(copy, getBottomRightY(copy) + 20);
        copies.append(append(copy));
        drawControl(*controls_.back());
    }
    redrawAllControls();
    selectCtrls(copies);
}

bool Kdr_DlgDesignerData::outlineCurCtrls()
{
    const std::vector<int> selected = selectedControlIndices();
    if (selected.empty() || !hasImage())
        return false;
    getSizeFromAllControls();
    int reference = selected.front();
    for (int index : selected)
        if (getTopLeftX(*getControl(index)) < getTopLeftX(*getControl(reference)))
            reference = index;
    const double bottom = getBottomRightY(*getControl(reference));
    for (int index : selected)
    {
        if (index == reference)
            continue;
        Kdr_DesignerControl& control = *getControlWrite(index);
        const double height = getHeight(control);
        setBottomRightY(control, bottom);
        setHeight(control, height);
    }
    const Kdr_Array<int> ids = getSelectedIds();
    redrawAllControls();
    reselect(ids);
    return true;
}

bool Kdr_DlgDesignerData::stickRightCurCtrls()
{
    const std::vector<int> selected = selectedControlIndices();
    if (selected.size() != 2 || !hasImage())
        return false;
    getSizeFromAllControls();
    const bool firstIsLeft = getTopLeftX(*getControl(selected[0])) <= getTopLeftX(*getControl(selected[1]));
    const Kdr_DesignerControl& reference = *getControl(firstIsLeft ? selected[0] : selected[1]);
    Kdr_DesignerControl& other = *getControlWrite(firstIsLeft ? selected[1] : selected[0]);
    const double width = getWidth(other);
    setTopLeftY(other, getTopLeftY(reference));
    setBottomRightY(other, getBottomRightY(reference));
    setTopLeftX(other, getBottomRightX(reference));
    setWidth(other, width);
    const Kdr_Array<int> ids = getSelectedIds();
    redrawAllControls();
    reselect(ids);
    return true;
}

void Kdr_DlgDesignerData::changeCtrlSize(bool horizontal)
{
    const std::vector<int> selected = selectedControlIndices();
    if (selected.empty() || !hasImage())
        return;
    ui::ValuePromptRequest request;
    request.owner = getDlgPtr();
    request.title = dialString(horizontal ? 90 : 744);
    request.label = dialString(horizontal ? 825 : 826);
    request.value = horizontal ? "30" : "18";
    request.okCaption = dialString(1);
    request.cancelCaption = dialString(2);
    Kdr_String answer;
    double size = 0;
    if (!ui::promptValue(request, answer) || !readSize(answer, size))
        return;
    getSizeFromAllControls();
    for (int index : selected)
        changeCtrlSize(index, horizontal, size);
    const Kdr_Array<int> ids = getSelectedIds();
    redrawAllControls();
    reselect(ids);
}

void Kdr_DlgDesignerData::changeCtrlSize(int index, bool horizontal, double pixels)
{
    Kdr_DesignerControl* control = getControlWrite(index);
    if (control == nullptr)
        return;
    if (horizontal)
        setBottomRightX(*control, getTopLeftX(*control) + pixels);
    else
        setBottomRightY(*control, getTopLeftY(*control) + pixels);
}

void Kdr_DlgDesignerData::selectCtrls(const Kdr_Array<int>& identifiers)
{
    reselect(identifiers);
}

void Kdr_DlgDesignerData::reselect(const Kdr_Array<int>& identifiers)
{
    if (!tracker_)
        return;
    tracker_->clear();
    for (int id : identifiers)
        if (CControlRect* drawn = findDrawn(id))
            tracker_->select(drawn);
    if (ui::Window* dialog = getDlgPtr())
        dialog->Invalidate();
}

void Kdr_DlgDesignerData::redrawAllControls()
{
    if (!designerMode_)
        sortAllControls();
    else if (tracker_)
        tracker_->clear();
    removeAllDrawnCtrls();
    for (auto& control : controls_)
        drawControl(*control);
    if (ui::Window* dialog = getDlgPtr())
        dialog->Invalidate();
}

// ---- keyboard order ----------------------------------------------------------------------

void Kdr_DlgDesignerData::sortAllControls()
{
    std::vector<int> candidates;
    for (int i = 0; i < getNrControls(); ++i)
        if (takesTabPosition(*getControl(i)))
            candidates.push_back(i);
    int counter = 1;
    while (!candidates.empty())
        sortNextRow(candidates, counter);
}

void Kdr_DlgDesignerData::sortNextRow(std::vector<int>& candidates, int& counter)
{
    int top = candidates.front();
    for (int index : candidates)
        if (getControl(index)->topLeftY < getControl(top)->topLeftY)
            top = index;
    const double rowBottom = getControl(top)->bottomRightY;
    std::vector<int> row;
    for (int index : candidates)
        if (index == top || getControl(index)->topLeftY <= rowBottom)
            row.push_back(index);
    std::erase_if(candidates,
                  [&row](int index) { return std::find(row.begin(), row.end(), index) != row.end(); });
    std::stable_sort(row.begin(), row.end(),
                     [this](int a, int b) { return getControl(a)->topLeftX < getControl(b)->topLeftX; });
    for (int index : row)
        getControlWrite(index)->tabOrder = counter++;
}

bool Kdr_DlgDesignerData::containsEditableCtrls() const
{
    return std::any_of(controls_.begin(), controls_.end(),
                       [](const auto& control) { return takesTabPosition(*control); });
}

bool Kdr_DlgDesignerData::findCtrlWithTabOrder(int tabOrder, int& index) const
{
    for (int i = 0; i < getNrControls(); ++i)
        if (getControl(i)->tabOrder == tabOrder)
        {
            index = i;
            return true;
        }
    return false;
}

bool Kdr_DlgDesignerData::handleTabKey(unsigned key, Kdr_TabMsgHandle& result)
{
    result = tmhNotHandled;
    int id = 0;
    int index = -1;
    if (key != VK_TAB || !initialised_ || !containsEditableCtrls() || !getFocusedDynControl(id) ||
        !findCtrlFromResource(id, index))
        return false;
    const int position = getControl(index)->tabOrder;
    int target = -1;
    if (ui::GetKeyState(VK_SHIFT) < 0)
    {
        if (position <= 1 || !findCtrlWithTabOrder(position - 1, target))
            result = tmhBeforeFirst;
        else
            result = setFocusToCtrl(target) ? tmhMoved : tmhBeforeFirst;
    }
    else
    {
        if (!findCtrlWithTabOrder(position + 1, target))
            result = tmhAfterLast;
        else
            result = setFocusToCtrl(target) ? tmhMoved : tmhAfterLast;
    }
    return true;
}

bool Kdr_DlgDesignerData::setFocusToCtrl(int index)
{
    if (index < 0 || index >= static_cast<int>(drawn_.size()))
        return false;
    ui::Window* window = drawnWindowOf(index);
    if (window == nullptr)
        return false;
    window->SetFocus();
    if (auto* edit = dynamic_cast<ui::Edit*>(window))
        edit->SetSel(0, -1);
    return true;
}

bool Kdr_DlgDesignerData::setFocusToCtrl(bool first)
{
    if (!containsEditableCtrls())
        return false;
    int index = -1;
    if (first)
        return findCtrlWithTabOrder(1, index) && setFocusToCtrl(index);
    int highest = 0;
    for (int i = 0; i < getNrControls(); ++i)
        if (getControl(i)->tabOrder > highest)
        {
            highest = getControl(i)->tabOrder;
            index = i;
        }
    if (index >= 0)
        setFocusToCtrl(index);
    return true;
}

bool Kdr_DlgDesignerData::getFocusedDynControl(int& id) const
{
    const ui::Window* focus = ui::Window::GetFocus();
    id = focus ? focus->GetDlgCtrlID() : 0;
    return focus != nullptr && isADynControl(id) && findDrawn(id)->window() == focus;
}

bool Kdr_DlgDesignerData::isADynControl(int id) const
{
    return findDrawn(id) != nullptr;
}
