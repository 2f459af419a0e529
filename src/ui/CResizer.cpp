#include "ui/CResizer.h"

#include <algorithm>
#include <cmath>

namespace
{
// Factors of one axis from its two anchor bits.
void axisFactors(bool near, bool far, double& first, double& second)
{
    if (near && far)
        first = 0, second = 1;
    else if (far)
        first = 1, second = 1;
    else if (near)
        first = 0, second = 0;
    else
        first = 0.5, second = 0.5;
}

int shifted(int edge, double factor, int delta)
{
    return edge + static_cast<int>(std::lround(factor * delta));
}
} // namespace

bool CResizer::Attach(ui::Window* parent)
{
    if (parent == nullptr || !parent->IsWindow())
        return false;
    if (parent->GetSafeHwnd() != parent_)
        entries_.clear();
    parent_ = parent->GetSafeHwnd();
    return true;
}

void CResizer::Detach()
{
    parent_ = 0;
    entries_.clear();
}

bool CResizer::AddControl(int id, double left, double top, double right, double bottom)
{
    ui::Window* parent = ui::Window::FromHandle(parent_);
    ui::Window* control = parent != nullptr ? parent->GetDlgItem(id) : nullptr;
    if (control == nullptr)
        return false;
    RemoveControl(id);
    entries_.push_back(
        Entry{id, control->rectInParent(), parent->GetClientRect().GetSize(), left, top, right, bottom});
    return true;
}

bool CResizer::AddControl(int id, unsigned anchors)
{
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
    axisFactors((anchors & anchorLeft) != 0, (anchors & anchorRight) != 0, left, right);
    axisFactors((anchors & anchorTop) != 0, (anchors & anchorBottom) != 0, top, bottom);
    return AddControl(id, left, top, right, bottom);
}

bool CResizer::RemoveControl(int id)
{
    return std::erase_if(entries_, [id](const Entry& e) { return e.id == id; }) != 0;
}

void CResizer::Move()
{
    ui::Window* parent = ui::Window::FromHandle(parent_);
    if (parent == nullptr)
        return;
    const ui::Size now = parent->GetClientRect().GetSize();
    for (const Entry& e : std::vector<Entry>(entries_))
    {
        ui::Window* control = parent->GetDlgItem(e.id);
        if (control == nullptr)
            continue;
        const int dx = now.cx - e.reference.cx;
        const int dy = now.cy - e.reference.cy;
        ui::Rect r(shifted(e.original.left, e.left, dx), shifted(e.original.top, e.top, dy),
                   shifted(e.original.right, e.right, dx), shifted(e.original.bottom, e.bottom, dy));
        r.right = std::max(r.left, r.right);
        r.bottom = std::max(r.top, r.bottom);
        control->MoveWindow(r, true);
    }
}
