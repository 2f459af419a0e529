#include "spread/ZxCalculationRecord.h"

#include "spread/ZxStandardsSpread.h"
#include "standards/ZxDlgStandardsData.h"
#include "standards/ZxMapObjType.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace
{
ZxEvaluationRecorder* gRecorder = nullptr;

bool isWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameValue(const Kdr_String& a, const Kdr_String& b)
{
    if (a.isNumber() && b.isNumber())
    {
        const double x = a.toDouble();
        const double y = b.toDouble();
        if (std::isfinite(x) && std::isfinite(y))
            return x == y;
    }
    return a == b;
}

/// Where a main run's variable got its value from.
Kdr_String macroSource(const ZxVarCell& cell, const ZxVarCells& cells, const ZxDlgStandardsData& request)
{
    if (cell.isLocal())
        return "cleared (local)";
    const ZxSSMapping& mapping = cells.mapping();
    if (mapping.mode() == mapModuleGroup)
        return "module group " + request.moduleGroup;
    int index = -1;
    if (mapping.mode() != mapFile || mapping.findSSVar(cell.name, cell.valueType, index) != Acad::eOk)
        return "sheet value";
    const ZxObjectMap& binding = mapping.mappedObjects()[index];
    Kdr_String source;
    if (!binding.objectName.empty())
        source = binding.objectName + ": ";
    const char* kind = kindWord(binding.objType);
    source += kind ? kind : "?";
    if (!binding.varName.empty())
        source += " " + binding.varName;
    return source;
}

/// Replaces each whole-word variable name of `expression` by its value, in one pass, the
/// longest name first where several start at one place, so a value never has names replaced
/// inside it.
Kdr_String substitute(const Kdr_String& expression, const ZxVarCells& cells)
{
    std::map<char, std::vector<int>> byFirst;
    for (int i = 0; i < cells.length(); ++i)
        if (!cells[i].name.empty())
            byFirst[folded(cells[i].name[0])].push_back(i);
    for (auto& [first, indices] : byFirst)
        std::stable_sort(indices.begin(), indices.end(),
                         [&](int a, int b) { return cells[a].name.size() > cells[b].name.size(); });
    Kdr_String out;
    size_t i = 0;
    while (i < expression.size())
    {
        const bool atStart = i == 0 || !isWordChar(expression[i - 1]);
        auto candidates = atStart ? byFirst.find(folded(expression[i])) : byFirst.end();
        bool replaced = false;
        if (candidates != byFirst.end())
            for (int index : candidates->second)
            {
                const Kdr_String& name = cells[index].name;
                const size_t end = i + name.size();
                if (end > expression.size() || (end < expression.size() && isWordChar(expression[end])))
                    continue;
                if (!Kdr_String(expression.substr(i, name.size())).equal(name, false))
                    continue;
                out += substitutedValue(cells[index].value);
                i = end;
                replaced = true;
                break;
            }
        if (!replaced)
            out += expression[i++];
    }
    return out;
}
} // namespace

ZxEvaluationRecorder* evaluationRecorder()
{
    return gRecorder;
}

ZxEvaluationRecorder* setEvaluationRecorder(ZxEvaluationRecorder* recorder)
{
    ZxEvaluationRecorder* previous = gRecorder;
    gRecorder = recorder;
    return previous;
}

Kdr_String substitutedValue(const Kdr_String& value)
{
    if (value.isNumber())
        return value;
    return "\"" + value + "\"";
}

bool ZxRecordedVariable::changed() const
{
    return !sameValue(before, after);
}

int ZxRecordedSheet::failedEquations() const
{
    int count = 0;
    for (const ZxRecordedEquation& equation : equations)
    {
        if (equation.failed)
            ++count;
        for (const auto& child : equation.children)
            count += child->failedEquations();
    }
    return count;
}

int ZxRecordedSheet::lookUpCount() const
{
    int count = 0;
    for (const ZxRecordedEquation& equation : equations)
        count += static_cast<int>(equation.lookUps.size());
    return count;
}

std::unique_ptr<ZxRecordedSheet> ZxCalculationRecorder::take()
{
    stack_.clear();
    return std::move(root_);
}

ZxRecordedEquation* ZxCalculationRecorder::currentEquation()
{
    Frame* frame = top();
    if (!frame || frame->equation < 0)
        return nullptr;
    return &frame->sheet->equations[static_cast<size_t>(frame->equation)];
}

void ZxCalculationRecorder::sheetStarted(const ZxDlgStandardsData& request)
{
    auto sheet = std::make_unique<ZxRecordedSheet>();
    sheet->requested = request.fileName;
    sheet->child = request.mode == ZxDlgStandardsData::kChildRun;
    ZxRecordedSheet* raw = sheet.get();
    if (stack_.empty())
        root_ = std::move(sheet);
    else if (ZxRecordedEquation* equation = currentEquation())
        equation->children.push_back(std::move(sheet));
    else
    {
        // A child outside any equation does not happen; keep it with the last equation there
        // is rather than lose it.
        ZxRecordedSheet* parent = top()->sheet;
        if (parent->equations.empty())
            parent->equations.emplace_back();
        parent->equations.back().children.push_back(std::move(sheet));
    }
    stack_.push_back(Frame{raw, {}, -1, false});
}

void ZxCalculationRecorder::sheetLoaded(const Kdr_String& path)
{
    if (Frame* frame = top())
    {
        frame->sheet->path = path;
        frame->sheet->loaded = true;
    }
}

void ZxCalculationRecorder::cellTextReplaced(int col, int row, const Kdr_String& original)
{
    if (Frame* frame = top())
        frame->originals.push_back({{col, row}, original});
}

void ZxCalculationRecorder::inputsSet(const ZxStandardsSpread& sheet, const ZxDlgStandardsData& request)
{
    Frame* frame = top();
    if (!frame)
        return;
    const ZxVarCells& cells = sheet.varCells();
    std::vector<ZxRecordedVariable>& variables = frame->sheet->variables;
    variables.clear();
    int argument = 0;
    for (int i = 0; i < cells.length(); ++i)
    {
        const ZxVarCell& cell = cells[i];
        ZxRecordedVariable variable{
            cell.name, cell.cellType, cell.valueType, cell.col, cell.row, cell.value, cell.value, {}, {}};
        if (request.mode == ZxDlgStandardsData::kChildRun)
        {
            if (cell.isLocal())
                variable.source = "cleared (local)";
            else
            {
                const int k = argument++;
                variable.source = "argument " + std::to_string(k + 1);
                if (k < request.varCells.length())
                {
                    variable.argument = request.varCells[k].name;
                    variable.source += " (" + variable.argument + ")";
                }
            }
        }
        else
            variable.source = macroSource(cell, cells, request);
        variables.push_back(std::move(variable));
    }
}

void ZxCalculationRecorder::equationStarted(const ZxStandardsSpread& sheet, int col, int row,
                                            const Kdr_String& text, const Kdr_String& variable,
                                            const Kdr_String& expression)
{
    Frame* frame = top();
    if (!frame)
        return;
    ZxRecordedEquation equation;
    equation.col = col;
    equation.row = row;
    equation.written = text;
    for (const auto& [cell, original] : frame->originals)
        if (cell == std::make_pair(col, row))
            equation.written = original;
    equation.variable = variable;
    equation.substituted = substitute(expression, sheet.varCells());
    frame->sheet->equations.push_back(std::move(equation));
    frame->equation = static_cast<int>(frame->sheet->equations.size()) - 1;
    frame->collecting = true;
}

void ZxCalculationRecorder::equationCalculated()
{
    if (Frame* frame = top())
        frame->collecting = false;
}

void ZxCalculationRecorder::equationSucceeded(const Kdr_String& result)
{
    if (ZxRecordedEquation* equation = currentEquation())
    {
        equation->result = result;
        // A CallChild cell's result is what the child computed for the calling sheet: each of
        // its outputs under the name of the variable passed in its place.
        if (!equation->children.empty())
        {
            equation->result.clear();
            for (const ZxRecordedVariable& output : equation->children.back()->variables)
                if (output.cellType == cellOutput && !output.argument.empty())
                    equation->result +=
                        (equation->result.empty() ? "" : "; ") + output.argument + " = " + output.after;
        }
    }
    equationCalculated();
}

void ZxCalculationRecorder::equationFailed(const Kdr_String& reason, const Kdr_String& message)
{
    if (ZxRecordedEquation* equation = currentEquation())
    {
        equation->failed = true;
        equation->reason = reason;
        equation->message = message;
    }
    equationCalculated();
}

void ZxCalculationRecorder::dataLookedUp(const ZxDataLookUp& lookUp)
{
    Frame* frame = top();
    if (!frame || !frame->collecting)
        return;
    if (ZxRecordedEquation* equation = currentEquation())
        equation->lookUps.push_back(lookUp);
}

void ZxCalculationRecorder::outputsWritten(const ZxStandardsSpread& sheet)
{
    Frame* frame = top();
    if (!frame)
        return;
    const ZxVarCells& cells = sheet.varCells();
    // Duplicate declarations were dropped for the calculation; the variables are matched by
    // name and place, so a dropped one keeps its first value.
    for (ZxRecordedVariable& variable : frame->sheet->variables)
        for (int i = 0; i < cells.length(); ++i)
            if (cells[i].col == variable.col && cells[i].row == variable.row &&
                cells[i].name == variable.name)
            {
                variable.after = cells[i].value;
                break;
            }
}

void ZxCalculationRecorder::sheetFinished(bool ok)
{
    Frame* frame = top();
    if (!frame)
        return;
    frame->sheet->finished = true;
    frame->sheet->ok = ok;
    stack_.pop_back();
}
