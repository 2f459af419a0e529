#include "spread/CalculationReport.h"

#include "standards/ZxVarTypes.h"
#include "ui/ScreenText.h"

#include <algorithm>
#include <ctime>

namespace
{
const char* const kStyle = R"(
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #111; margin: 1.5em; }
h1 { font-size: 15pt; margin: 0 0 .4em 0; }
h2 { font-size: 12pt; margin: 1.2em 0 .4em 0; border-bottom: 1px solid #999; }
h3 { font-size: 10.5pt; margin: .8em 0 .3em 0; }
table { border-collapse: collapse; margin: .2em 0 .6em 0; width: 100%; }
th, td { border: 1px solid #bbb; padding: 2px 5px; text-align: left; vertical-align: top; }
th { background: #eee; }
table.facts { width: auto; }
table.facts th { width: 11em; }
td.num, th.num { text-align: right; }
code, .eq { font-family: "DejaVu Sans Mono", Consolas, monospace; font-size: 9pt; white-space: pre-wrap;
  overflow-wrap: anywhere; }
tr.failed td { background: #fde8e8; }
tr.changed td.new { background: #fff3b0; font-weight: bold; }
.ok { color: #176317; font-weight: bold; }
.bad { color: #a11; font-weight: bold; }
pre.message { margin: .3em 0 0 0; padding: 4px; background: #fff; border-left: 3px solid #a11;
  white-space: pre-wrap; font-size: 8.5pt; }
details { margin: .3em 0 .3em 1em; padding: 0 .5em; border-left: 3px solid #68a; }
details > summary { cursor: pointer; font-weight: bold; }
.picture { position: relative; border: 1px solid #999; margin: .4em 0; }
.picture img { display: block; }
.picture .caption { position: absolute; box-sizing: border-box; color: #333; font-size: 8pt; overflow: hidden;
  white-space: nowrap; }
.picture .bound { position: absolute; box-sizing: border-box; border: 1px solid #05a; background: #fffe;
  color: #003; font-size: 8pt; font-weight: bold; overflow: hidden; white-space: nowrap; text-align: center; }
section.macro + section.macro { page-break-before: always; }
.muted { color: #666; }
@page { size: A4; margin: 14mm; }
@media print {
  body { margin: 0; font-size: 9pt; }
  table, tr, details { page-break-inside: avoid; }
  h2 { page-break-after: avoid; }
}
)";

/// A value in a table cell; an empty value is shown as such rather than as nothing.
std::string valueHtml(const Kdr_String& value)
{
    if (value.empty())
        return "<span class=\"muted\">(empty)</span>";
    return "<code>" + htmlText(value) + "</code>";
}

std::string statusHtml(bool ok)
{
    return ok ? "<span class=\"ok\">ok</span>" : "<span class=\"bad\">failed</span>";
}

/// The equation as the sheet states it: "variable = expression", or the cell's text.
std::string equationHtml(const ZxRecordedEquation& equation)
{
    return "<span class=\"eq\">" + htmlText(equation.written) + "</span>";
}

class Writer
{
public:
    /// `level` is the heading level of the parts of a sheet (2 for the main sheet).
    Writer(std::string& out, int level) : out_(out), level_(level) {}

    void heading(const char* text)
    {
        const std::string tag = "h" + std::to_string(level_);
        out_ += "<" + tag + ">" + text + "</" + tag + ">\n";
    }

    void locals(const ZxRecordedSheet& sheet)
    {
        bool any = false;
        for (const ZxRecordedVariable& variable : sheet.variables)
            any = any || variable.cellType == cellLocal;
        if (!any)
            return;
        heading("Local variables");
        out_ += "<table class=\"locals\"><tr><th>Variable</th><th>Type</th>"
                "<th>Final value</th></tr>\n";
        for (const ZxRecordedVariable& variable : sheet.variables)
            if (variable.cellType == cellLocal)
                out_ += "<tr><td><code>" + htmlText(variable.name) + "</code></td><td>" +
                        valueTypeWord(variable.valueType) + "</td><td>" + valueHtml(variable.after) +
                        "</td></tr>\n";
        out_ += "</table>\n";
    }

    void rows(const ZxRecordedSheet& sheet, ZxCellType type, bool outputs)
    {
        out_ += outputs ? "<table class=\"outputs\"><tr><th>Variable</th><th>Type</th><th>Old value</th>"
                          "<th>New value</th><th>Bound to</th></tr>\n"
                        : "<table class=\"inputs\"><tr><th>Variable</th><th>Type</th><th>Value</th>"
                          "<th>From</th></tr>\n";
        int count = 0;
        for (const ZxRecordedVariable& variable : sheet.variables)
        {
            if (variable.cellType != type)
                continue;
            ++count;
            const bool changed = outputs && variable.changed();
            out_ += changed ? "<tr class=\"changed\">" : "<tr>";
            out_ += "<td><code>" + htmlText(variable.name) + "</code></td><td>" +
                    valueTypeWord(variable.valueType) + "</td>";
            if (outputs)
                out_ += "<td class=\"old\">" + valueHtml(variable.before) + "</td><td class=\"new\">" +
                        valueHtml(variable.after) +
                        (changed ? " <span class=\"muted\">(changed)</span>" : "") + "</td>";
            else
                out_ += "<td>" + valueHtml(variable.before) + "</td>";
            out_ += "<td>" + htmlText(variable.source) + "</td></tr>\n";
        }
        if (count == 0)
            out_ += std::string("<tr><td colspan=\"") + (outputs ? "5" : "4") +
                    "\" class=\"muted\">none</td></tr>\n";
        out_ += "</table>\n";
    }

    void calculation(const ZxRecordedSheet& sheet)
    {
        heading("Calculation");
        if (sheet.equations.empty())
        {
            out_ += "<p class=\"muted\">No equation was calculated.</p>\n";
            return;
        }
        out_ += "<table class=\"calculation\"><tr><th class=\"num\">Line</th><th>Equation</th>"
                "<th>With values</th><th>Result</th></tr>\n";
        for (const ZxRecordedEquation& equation : sheet.equations)
        {
            out_ += equation.failed ? "<tr class=\"failed\">" : "<tr>";
            out_ += "<td class=\"num\">" + std::to_string(equation.row) + "</td><td>" +
                    equationHtml(equation) + "</td><td><span class=\"eq\">";
            if (!equation.variable.empty())
                out_ += htmlText(equation.variable) + " = ";
            out_ += htmlText(equation.substituted) + "</span></td><td>";
            if (equation.failed)
                out_ += "<span class=\"bad\">failed:</span> " + htmlText(equation.reason) +
                        "<pre class=\"message\">" + htmlText(equation.message) + "</pre>";
            else
                out_ += valueHtml(equation.result);
            out_ += "</td></tr>\n";
            for (const auto& child : equation.children)
            {
                out_ += "<tr><td></td><td colspan=\"3\">";
                Writer(out_, std::min(level_ + 1, 6)).childSheet(*child);
                out_ += "</td></tr>\n";
            }
        }
        out_ += "</table>\n";
    }

    void childSheet(const ZxRecordedSheet& child)
    {
        out_ += "<details open class=\"child\"><summary>Child sheet <code>" +
                htmlText(child.path.empty() ? child.requested : child.path) + "</code> " +
                statusHtml(child.ok && child.failedEquations() == 0) + "</summary>\n";
        if (!child.loaded)
            out_ += "<p class=\"bad\">The child sheet could not be loaded.</p>\n";
        else if (!child.ok)
            out_ += "<p class=\"bad\">The child sheet failed (it needs as many arguments as it has Input and "
                    "Output variables, and a Calc heading).</p>\n";
        body(child);
        out_ += "</details>\n";
    }

    /// Inputs, calculation, outputs, locals and data look-ups of a sheet.
    void body(const ZxRecordedSheet& sheet)
    {
        heading("Inputs");
        rows(sheet, cellInput, false);
        calculation(sheet);
        heading("Outputs");
        rows(sheet, cellOutput, true);
        locals(sheet);
        lookUps(sheet);
    }

    void lookUps(const ZxRecordedSheet& sheet)
    {
        if (sheet.lookUpCount() == 0)
            return;
        heading("Data look-ups");
        out_ += "<table class=\"lookups\"><tr><th>Function</th><th>File</th>"
                "<th>Key</th><th>Value</th><th>Equation (line)</th></tr>\n";
        for (const ZxRecordedEquation& equation : sheet.equations)
            for (const ZxDataLookUp& lookUp : equation.lookUps)
                out_ += std::string(lookUp.found ? "<tr>" : "<tr class=\"failed\">") + "<td>" +
                        htmlText(lookUp.function) + "</td><td><code>" + htmlText(lookUp.file) +
                        "</code></td><td><code>" + htmlText(lookUp.key) + "</code></td><td>" +
                        (lookUp.found || !lookUp.value.empty() ? valueHtml(lookUp.value)
                                                               : "<span class=\"bad\">not found</span>") +
                        "</td><td>" + equationHtml(equation) + " (" + std::to_string(equation.row) +
                        ")</td></tr>\n";
        out_ += "</table>\n";
    }

    void picture(const ZxReportPicture& picture)
    {
        heading("Dialog picture");
        out_ += "<p class=\"muted\">Template <code>" + htmlText(picture.templateFile) +
                "</code> with the values bound to its controls.</p>\n";
        out_ += "<div class=\"picture\" style=\"width:" + std::to_string(picture.width) +
                "px;height:" + std::to_string(picture.height) + "px\">";
        if (!picture.dataUri.empty())
            out_ += "<img alt=\"template picture\" width=\"" + std::to_string(picture.width) +
                    "\" height=\"" + std::to_string(picture.height) + "\" src=\"" +
                    htmlText(picture.dataUri) + "\">";
        for (const ZxReportPictureLabel& label : picture.labels)
            out_ += std::string(label.caption ? "<span class=\"caption\"" : "<span class=\"bound\"") +
                    " title=\"" + htmlText(label.variable) + "\" style=\"left:" + std::to_string(label.x) +
                    "px;top:" + std::to_string(label.y) + "px;width:" + std::to_string(label.width) +
                    "px;height:" + std::to_string(label.height) + "px\">" + htmlText(label.value) + "</span>";
        out_ += "</div>\n";
    }

private:
    std::string& out_;
    int level_;
};

void macroSection(std::string& out, const ZxReportHeader& header, const ZxReportMacro& macro, int number)
{
    const ZxRecordedSheet* sheet = macro.record.get();
    out += "<section class=\"macro\" id=\"macro-" + std::to_string(number) + "\">\n";
    out +=
        "<h1>Calculation report: " + htmlText(macro.sheet) + " on " + htmlText(macro.macroFile) + "</h1>\n";
    out += "<table class=\"facts\">\n";
    out += "<tr><th>Sheet</th><td><code>" +
           htmlText(sheet && !sheet->path.empty() ? sheet->path : macro.sheet) + "</code>" +
           (macro.sheetModified.empty()
                ? std::string()
                : " <span class=\"muted\">(modified " + htmlText(macro.sheetModified) + ")</span>") +
           "</td></tr>\n";
    out += "<tr><th>Macro file</th><td><code>" + htmlText(macro.macroFile) + "</code></td></tr>\n";
    out += "<tr><th>Mapping target</th><td><code>" + htmlText(macro.target) + "</code></td></tr>\n";
    out += "<tr><th>Library folder</th><td><code>" + htmlText(header.libraryFolder) + "</code></td></tr>\n";
    out += "<tr><th>Program</th><td>kaldor-ss " + htmlText(header.programVersion) + "</td></tr>\n";
    out += "<tr><th>Date</th><td>" + htmlText(header.createdAt) + "</td></tr>\n";
    out += "<tr><th>Result</th><td>" + statusHtml(macro.ok) +
           (sheet ? " &mdash; " + std::to_string(sheet->failedEquations()) + " failed equation(s)"
                  : std::string()) +
           "</td></tr>\n";
    out += "</table>\n";
    if (!macro.error.empty())
        out += "<p class=\"bad\">" + htmlText(macro.error) + "</p>\n";
    bool others = false;
    for (const ZxEvaluationFailure& failure : macro.failures)
        others = others || failure.row == 0;
    if (others)
    {
        out += "<h2>Failures outside the equations</h2>\n<ul class=\"failures\">\n";
        for (const ZxEvaluationFailure& failure : macro.failures)
            if (failure.row == 0)
                out += "<li>" +
                       (failure.variable.empty() ? std::string()
                                                 : "<code>" + htmlText(failure.variable) + "</code>: ") +
                       htmlText(failure.reason) + "</li>\n";
        out += "</ul>\n";
    }
    Writer writer(out, 2);
    if (macro.picture)
        writer.picture(*macro.picture);
    if (!sheet)
    {
        out += "<p class=\"muted\">The evaluation did not start.</p>\n</section>\n";
        return;
    }
    writer.body(*sheet);
    out += "</section>\n";
}
} // namespace

std::string htmlText(std::string_view bytes)
{
    const std::string text = ui::screenText(bytes);
    std::string out;
    out.reserve(text.size());
    for (char c : text)
    {
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '\0':
            out += "&#xFFFD;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

Kdr_String formatUtcTime(std::chrono::system_clock::time_point time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    return text;
}

std::string calculationReportHtml(const ZxReportHeader& header, const std::vector<ZxReportMacro>& macros)
{
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"generator\" content=\"kaldor-ss " +
                      htmlText(header.programVersion) + "\">\n<title>Calculation report";
    if (macros.size() == 1)
        out += ": " + htmlText(macros[0].sheet) + " on " + htmlText(macros[0].macroFile);
    out += "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
    if (macros.size() > 1)
    {
        out +=
            "<section class=\"summary\">\n<h1>Calculation report</h1>\n<p>" + std::to_string(macros.size()) +
            " evaluations, " + htmlText(header.createdAt) + ", kaldor-ss " + htmlText(header.programVersion) +
            ".</p>\n<table class=\"summary\"><tr><th>Macro</th><th>Sheet</th><th>Target</th><th>Result</th>"
            "<th class=\"num\">Failed equations</th></tr>\n";
        int number = 0;
        for (const ZxReportMacro& macro : macros)
        {
            ++number;
            const int failed = macro.record ? macro.record->failedEquations() : 0;
            out += std::string(macro.ok ? "<tr>" : "<tr class=\"failed\">") + "<td><a href=\"#macro-" +
                   std::to_string(number) + "\">" + htmlText(macro.macroFile) + "</a></td><td>" +
                   htmlText(macro.sheet) + "</td><td><code>" + htmlText(macro.target) + "</code></td><td>" +
                   statusHtml(macro.ok) + "</td><td class=\"num\">" + std::to_string(failed) + "</td></tr>\n";
        }
        out += "</table>\n</section>\n";
    }
    int number = 0;
    for (const ZxReportMacro& macro : macros)
        macroSection(out, header, macro, ++number);
    out += "</body>\n</html>\n";
    return out;
}
