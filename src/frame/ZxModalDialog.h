#pragma once

#include "frame/ModuleResources.h"
#include "ui/WinDefs.h"

#include <utility>

/// Runs a modal dialog of the module in the common shape of its entry points: the module's
/// resources are made current, the dialog is constructed from `constructorArgs`, `copyIn`
/// hands it the caller's record, and the dialog runs. Only when it ends with OK does
/// `copyOut` hand the dialog's record back, and the result is true; otherwise the caller's
/// record is left as it was and the result is false. The caller's resources are current
/// again on every path, an exception included: none leaves the entry point.
///
/// `copyIn` and `copyOut` take the dialog by reference.
template <typename Dialog, typename CopyIn, typename CopyOut, typename... Args>
bool runModalOnRecord(CopyIn&& copyIn, CopyOut&& copyOut, Args&&... constructorArgs)
{
    ModuleResourceScope resources;
    try
    {
        Dialog dialog(std::forward<Args>(constructorArgs)...);
        copyIn(dialog);
        if (dialog.DoModal() != IDOK)
            return false;
        copyOut(dialog);
        return true;
    }
    catch (...)
    {
        return false;
    }
}
