#pragma once

// The calculation report: one self-contained HTML page (inline style sheet, no scripts, no
// network) that shows a checker which values went into a standards evaluation, which
// equation produced each number and what failed. Readable on screen and printed on A4.

#include "spread/ZxCalculationRecord.h"
#include "standards/ZxEvaluationReport.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A value written into a control's rectangle of a dialog template's picture.
struct ZxReportPictureLabel
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    /// The variable bound to the control, and its value.
    Kdr_String variable;
    Kdr_String value;
    /// A text label of the template (its caption in `value`) rather than a bound value.
    bool caption = false;
};

/// The picture of the dialog template of the macro's tab, with the bound values.
struct ZxReportPicture
{
    /// The template file it comes from.
    Kdr_String templateFile;
    /// The picture as a data URI ("data:image/png;base64,…").
    std::string dataUri;
    int width = 0;
    int height = 0;
    std::vector<ZxReportPictureLabel> labels;
};

/// One evaluation of the report: a macro file with the sheet evaluated on it.
struct ZxReportMacro
{
    Kdr_String macroFile;
    /// The sheet as the user named it, and the mapping target.
    Kdr_String sheet;
    Kdr_String target;
    /// The sheet file's modification time ("" when unknown).
    Kdr_String sheetModified;
    /// Whether the evaluation ran through without any failure.
    bool ok = false;
    /// Why the evaluation stopped before its end; "" when it ran.
    Kdr_String error;
    /// Every failure the evaluation reported (equations, variables, target).
    std::vector<ZxEvaluationFailure> failures;
    /// The recorded evaluation; null when it never started.
    std::shared_ptr<const ZxRecordedSheet> record;
    std::optional<ZxReportPicture> picture;
};

/// What the whole report shares.
struct ZxReportHeader
{
    Kdr_String libraryFolder;
    Kdr_String programVersion;
    /// When the report was made.
    Kdr_String createdAt;
};

/// The HTML page of the report. With more than one macro a summary table comes first.
std::string calculationReportHtml(const ZxReportHeader& header, const std::vector<ZxReportMacro>& macros);

/// A text as HTML character data: shown by the screen rule for 8-bit texts, with & < > " '
/// escaped, so that no text of a sheet or macro can become markup.
std::string htmlText(std::string_view bytes);

/// A calendar time as "YYYY-MM-DD HH:MM:SS UTC".
Kdr_String formatUtcTime(std::chrono::system_clock::time_point time);
