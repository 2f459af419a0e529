#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "spread/ZxStandardsSpread.h"
#include "standards/ZxDlgStandardsData.h"
#include "ui/Dialog.h"

#include <cstdint>

/// The hidden dialog a standards sheet is evaluated in: its only content is the grid.
class ZxStandardsDlg : public ui::Dialog
{
public:
    ZxStandardsDlg();

    /// Runs the evaluation of the working record: load, then a main or a child run.
    Acad::ErrorStatus evaluate();

    ZxStandardsSpread& spread() { return spread_; }
    ZxDlgStandardsData& working() { return working_; }

protected:
    bool OnInitDialog() override;

private:
    ZxStandardsSpread spread_;
    ZxDlgStandardsData working_;
};

/// The pool of hidden standards dialogs. A dialog is taken for one evaluation and given back
/// afterwards; a child sheet evaluated during its parent's calculation takes a second one.
class ZxSSDlgsMgr
{
public:
    ZxSSDlgsMgr() = default;
    virtual ~ZxSSDlgsMgr();
    ZxSSDlgsMgr(const ZxSSDlgsMgr&) = delete;
    ZxSSDlgsMgr& operator=(const ZxSSDlgsMgr&) = delete;

    /// A dialog for exclusive use: the first free one, else a new one; null when none can be made.
    void* getDlg();
    /// Gives a dialog back; eInvalidInput for a dialog the pool does not hold.
    Acad::ErrorStatus releaseDlg(void* dlg);
    /// Destroys every pooled dialog.
    void destroyAll();

    int dialogCount() const { return dialogs_.length(); }
    bool inUse(int index) const { return index >= 0 && index < flags_.length() && flags_[index] != 0; }

private:
    Acad::ErrorStatus destroyDlg(const int& index);

    Kdr_Array<ZxStandardsDlg*> dialogs_;
    Kdr_Array<std::uint8_t> flags_;
};

/// The module's one pool.
extern ZxSSDlgsMgr gSSDlgsMgr;
