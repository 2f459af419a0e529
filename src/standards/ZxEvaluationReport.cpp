#include "standards/ZxEvaluationReport.h"

#include "host/FileFunctions.h"
#include "host/Settings.h"

#include <filesystem>
#include <map>

ZxEvaluationReport gEvaluationReport;

namespace
{
Kdr_String resolveNow(const Kdr_String& path)
{
    namespace fs = std::filesystem;
    std::error_code code;
    fs::path resolved = fs::weakly_canonical(fs::absolute(host::toPath(path), code), code);
    if (code)
        resolved = fs::absolute(host::toPath(path), code).lexically_normal();
    return host::normalizePath(resolved.string());
}

/// Paths resolved during the current outermost evaluation. Resolving asks the file system
/// about every folder of the path; one evaluation asks about the same few paths (its sheets,
/// the library, its data files) over and over, and sees the file system as it first found it.
std::map<Kdr_String, Kdr_String>& resolvedPaths()
{
    static std::map<Kdr_String, Kdr_String> paths;
    return paths;
}
} // namespace

void ZxEvaluationReport::beginOutermost(const Kdr_String& sheetPath)
{
    resolvedPaths().clear();
    active_ = true;
    failures_.clear();
    callStack_.clear();
    callStack_.append(resolvedSheetPath(sheetPath));
    lastFolderKnown_ = false;
    childEvaluations_ = 0;
    current_ = ZxEvaluationFailure();
}

void ZxEvaluationReport::addFailure(const ZxEvaluationFailure& failure)
{
    failures_.push_back(failure);
}

void ZxEvaluationReport::addEquationFailure(const Kdr_String& reason)
{
    ZxEvaluationFailure failure = current_;
    failure.reason = reason;
    failures_.push_back(failure);
}

void ZxEvaluationReport::setCurrentEquation(const Kdr_String& sheet, int row, const Kdr_String& variable,
                                            const Kdr_String& equation)
{
    // Assigned field by field: the texts keep their storage from one equation to the next.
    current_.sheet = sheet;
    current_.row = row;
    current_.variable = variable;
    current_.equation = equation;
    current_.reason.clear();
}

bool ZxEvaluationReport::enterChild(const Kdr_String& resolvedPath, Kdr_String& cycle)
{
    for (int i = 0; i < callStack_.length(); ++i)
    {
        if (callStack_[i] != resolvedPath)
            continue;
        cycle.clear();
        for (int k = i; k < callStack_.length(); ++k)
            cycle += host::getFileName(callStack_[k]) + " -> ";
        cycle += host::getFileName(resolvedPath);
        return false;
    }
    callStack_.append(resolvedPath);
    lastFolderKnown_ = false;
    return true;
}

void ZxEvaluationReport::leaveChild()
{
    if (callStack_.length() > 1)
    {
        callStack_.removeAt(callStack_.length() - 1);
        lastFolderKnown_ = false;
    }
}

bool ZxEvaluationReport::spendChildEvaluation()
{
    if (childEvaluations_ >= kChildBudget)
        return false;
    ++childEvaluations_;
    return true;
}

Kdr_StringArray ZxEvaluationReport::sheetFolders() const
{
    Kdr_StringArray folders;
    for (const Kdr_String& path : callStack_)
    {
        const Kdr_String folder = getPath(path);
        if (!folder.empty() && folders.find(folder, true) < 0)
            folders.append(folder);
    }
    return folders;
}

const Kdr_String& ZxEvaluationReport::lastSheetFolder() const
{
    if (!lastFolderKnown_)
    {
        const Kdr_StringArray folders = sheetFolders();
        lastFolder_ = folders.isEmpty() ? Kdr_String() : folders[folders.length() - 1];
        lastFolderKnown_ = true;
    }
    return lastFolder_;
}

Kdr_String resolvedSheetPath(const Kdr_String& path)
{
    if (!gEvaluationReport.active())
        return resolveNow(path);
    auto& paths = resolvedPaths();
    if (auto found = paths.find(path); found != paths.end())
        return found->second;
    return paths.emplace(path, resolveNow(path)).first->second;
}

bool sheetMayRead(const Kdr_String& path, Kdr_String& refusal)
{
    refusal.clear();
    if (gSettings.trustSheets())
        return true;
    const Kdr_String file = resolvedSheetPath(path);
    Kdr_StringArray roots = gEvaluationReport.sheetFolders();
    Kdr_String library = resolvedSheetPath(gSettings.libDir());
    while (!library.empty() && library.back() == '/')
        library.pop_back();
    roots.insertAt(0, library + "/");
    for (const Kdr_String& root : roots)
        if (file.size() > root.size() && file.compare(0, root.size(), root) == 0)
            return true;
    refusal =
        "reading \"" + host::normalizePath(path) + "\" refused: it lies outside the library folder " +
        roots[0] +
        (roots.length() > 1 ? " and the folder of the sheet " + roots[roots.length() - 1] : Kdr_String()) +
        " (--trust-sheets allows it)";
    return false;
}
