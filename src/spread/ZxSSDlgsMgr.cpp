#include "spread/ZxSSDlgsMgr.h"

#include "frame/ModuleResources.h"
#include "host/Kdr_FunctionTimer.h"
#include "spread/EvaluationTimers.h"
#include "spread/ZxEvaluationRecorder.h"
#include "standards/ZxEvaluationReport.h"
#include "ui/AcadHost.h"

ZxSSDlgsMgr gSSDlgsMgr;

// ---- The standards dialog ------------------------------------------------------------------

ZxStandardsDlg::ZxStandardsDlg() : ui::Dialog(IDD_STANDARDS_SS, adsw_acadMainWnd())
{
}

bool ZxStandardsDlg::OnInitDialog()
{
    spread_.createInDialog(this, IDC_SS_PLACEHOLDER, false);
    return true;
}

Acad::ErrorStatus ZxStandardsDlg::evaluate()
{
    // The outermost evaluation owns the report; child runs add to it.
    struct OutermostScope
    {
        bool outermost = !gEvaluationReport.active();
        ~OutermostScope()
        {
            if (outermost)
                gEvaluationReport.endOutermost();
        }
    } scope;
    if (scope.outermost)
        gEvaluationReport.beginOutermost(working_.fileName);
    // A report follows the evaluation only when one was asked for; it learns how each run
    // ended on every path out of here.
    struct RecorderScope
    {
        ZxEvaluationRecorder* recorder = evaluationRecorder();
        bool ok = false;
        ~RecorderScope()
        {
            if (recorder)
                recorder->sheetFinished(ok);
        }
    } recording;
    if (recording.recorder)
        recording.recorder->sheetStarted(working_);
    {
        Kdr_FunctionTimer timer(gLoadFile);
        if (spread_.loadSheet(working_.fileName) != Acad::eOk)
            return Acad::eInvalidInput;
    }
    if (scope.outermost)
        gEvaluationReport.beginOutermost(spread_.loadedPath());
    if (recording.recorder)
        recording.recorder->sheetLoaded(spread_.loadedPath());
    if (working_.mode == ZxDlgStandardsData::kMainRun)
    {
        if (spread_.runMain(working_) != Acad::eOk || spread_.calculateMain(working_) != Acad::eOk)
            return Acad::eInvalidInput;
        working_.varCells = spread_.varCells();
        recording.ok = true;
        return Acad::eOk;
    }
    if (working_.mode == ZxDlgStandardsData::kChildRun)
    {
        if (spread_.runChild(working_) != Acad::eOk || spread_.calculateChild(working_) != Acad::eOk)
            return Acad::eInvalidInput;
        recording.ok = true;
        return Acad::eOk;
    }
    return Acad::eInvalidInput;
}

// ---- The pool --------------------------------------------------------------------------------

ZxSSDlgsMgr::~ZxSSDlgsMgr()
{
    destroyAll();
}

void* ZxSSDlgsMgr::getDlg()
{
    for (int i = 0; i < flags_.length() && i < dialogs_.length(); ++i)
        if (flags_[i] == 0)
        {
            flags_[i] = 1;
            return dialogs_[i];
        }
    auto* dialog = new ZxStandardsDlg();
    ModuleResourceScope resources;
    if (!dialog->Create(IDD_STANDARDS_SS, nullptr))
    {
        delete dialog;
        return nullptr;
    }
    dialogs_.append(dialog);
    flags_.append(1);
    return dialog;
}

Acad::ErrorStatus ZxSSDlgsMgr::releaseDlg(void* dlg)
{
    const int index = dialogs_.find(static_cast<ZxStandardsDlg*>(dlg));
    if (index < 0 || index >= flags_.length())
        return Acad::eInvalidInput;
    flags_[index] = 0;
    return Acad::eOk;
}

void ZxSSDlgsMgr::destroyAll()
{
    for (int i = dialogs_.length() - 1; i >= 0; --i)
        destroyDlg(i);
    flags_.removeAll();
}

Acad::ErrorStatus ZxSSDlgsMgr::destroyDlg(const int& index)
{
    if (!dialogs_.validIndex(index) || !dialogs_[index])
        return Acad::eInvalidInput;
    ZxStandardsDlg* dialog = dialogs_[index];
    if (dialog->IsWindow())
        dialog->DestroyWindow();
    delete dialog;
    dialogs_.removeAt(index);
    return Acad::eOk;
}
