#include "frame/MacroDlgRegistry.h"

#include "designer/Kdr_DlgMacro.h"
#include "designer/MacroDialogResources.h"
#include "frame/ModuleResources.h"
#include "host/CommandLine.h"
#include "ui/AcadHost.h"
#include "ui/MessageLoop.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
constexpr unsigned kRetryMilliseconds = 50;

/// A close that waits for its dialog to stop being busy.
struct PendingClose
{
    std::uintptr_t timerId = 0;
    int index = -1;
};

// Both live until the process ends: the module closes its dialogs when it is unloaded, and a
// dialog must never be destroyed after the windowing it belongs to has gone at exit.
std::vector<std::unique_ptr<Kdr_DlgMacro>>& slots()
{
    static auto* instance = new std::vector<std::unique_ptr<Kdr_DlgMacro>>();
    return *instance;
}

std::vector<PendingClose>& pendingCloses()
{
    static auto* instance = new std::vector<PendingClose>();
    return *instance;
}

bool validSlot(int index)
{
    return index >= 0 && index < static_cast<int>(slots().size()) && slots()[static_cast<size_t>(index)];
}

// A slot that is freed takes its pending closes with it: the timer of a close meant for the
// old dialog must never close a new dialog that reuses the index.
void cancelPendingCloses(int index)
{
    auto& pending = pendingCloses();
    for (auto it = pending.begin(); it != pending.end();)
        if (it->index == index)
        {
            KillTimer(nullptr, it->timerId);
            it = pending.erase(it);
        }
        else
            ++it;
}

void dropTrailingEmptySlots()
{
    auto& all = slots();
    while (!all.empty() && !all.back())
        all.pop_back();
}

void delayedClose(ui::Window*, unsigned, std::uintptr_t timerId, std::uint32_t)
{
    acutPrintf("Delayed timer called.\n");
    auto& pending = pendingCloses();
    auto it = std::find_if(pending.begin(), pending.end(),
                           [timerId](const PendingClose& close) { return close.timerId == timerId; });
    if (it == pending.end())
        return;
    KillTimer(nullptr, timerId);
    // The record is used up before the close runs, which may start a fresh one.
    const int index = it->index;
    pending.erase(it);
    EndDlgMacroModeless(index);
}

bool closeSlot(int index, bool force)
{
    if (!validSlot(index))
        return false;
    Kdr_DlgMacro& dialog = *slots()[static_cast<size_t>(index)];
    if (dialog.isBusy() && !force)
    {
        // One pending close per dialog is enough; it is retried until the dialog is free.
        const auto& pending = pendingCloses();
        if (std::none_of(pending.begin(), pending.end(),
                         [index](const PendingClose& close) { return close.index == index; }))
        {
            const std::uintptr_t timerId = SetTimer(nullptr, 0, kRetryMilliseconds, delayedClose);
            pendingCloses().push_back({timerId, index});
        }
        return true;
    }
    if (dialog.IsWindow() && !dialog.DestroyWindow() && !force)
        return false;
    slots()[static_cast<size_t>(index)].reset();
    cancelPendingCloses(index);
    if (index == static_cast<int>(slots().size()) - 1)
        dropTrailingEmptySlots();
    acedPostCommandPrompt();
    return true;
}
} // namespace

bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& index)
{
    ModuleResourceScope resources;
    auto& all = slots();
    index = -1;
    for (int i = 0; i < static_cast<int>(all.size()); ++i)
        if (!all[static_cast<size_t>(i)])
            index = i;
    if (index < 0)
    {
        index = static_cast<int>(all.size());
        all.emplace_back();
    }

    ui::Window* main = adsw_acadMainWnd();
    auto dialog = std::make_unique<Kdr_DlgMacro>(main);
    dialog->setIndex(index);
    dialog->macroData() = data;
    if (!dialog->Create(IDD_MACRO, main))
    {
        // A dialog without a window is never stored: its slot would stay taken for good.
        dialog.reset();
        dropTrailingEmptySlots();
        index = -1;
        return false;
    }
    dialog->ShowWindow(SW_SHOW);
    all[static_cast<size_t>(index)] = std::move(dialog);
    if (!keepFocus)
        main->SetFocus();
    return true;
}

bool GetDlgMacroData(int index, MacroData& data)
{
    ModuleResourceScope resources;
    if (!validSlot(index))
        return false;
    data = slots()[static_cast<size_t>(index)]->macroData();
    return true;
}

bool EndDlgMacroModeless(int index)
{
    return closeSlot(index, false);
}

void DestroyAllMacroDlgs()
{
    for (const PendingClose& close : pendingCloses())
        KillTimer(nullptr, close.timerId);
    pendingCloses().clear();
    for (int index = static_cast<int>(slots().size()) - 1; index >= 0; --index)
        closeSlot(index, true);
    slots().clear();
}

Kdr_DlgMacro* macroDlgInSlot(int index)
{
    return validSlot(index) ? slots()[static_cast<size_t>(index)].get() : nullptr;
}

int macroDlgSlotCount()
{
    return static_cast<int>(slots().size());
}

std::size_t pendingMacroDlgCloses()
{
    return pendingCloses().size();
}

bool endMacroDlgInSlot(int index, const Kdr_DlgMacro* dialog)
{
    return macroDlgInSlot(index) == dialog && dialog != nullptr && EndDlgMacroModeless(index);
}
