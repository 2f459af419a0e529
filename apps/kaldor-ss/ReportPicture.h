#pragma once

#include "spread/CalculationReport.h"

#include <optional>
#include <string>

class Kdr_DbMacro;
class MacroData;

namespace cli
{
/// The picture of the dialog template of the macro's current tab (else of the first tab that
/// has one), as a PNG inside the page, with the value of each control's variable written into
/// the control's rectangle. None when no tab has a template; `problem` then says why when a
/// template was named but could not be read.
std::optional<ZxReportPicture> reportPicture(const Kdr_DbMacro& macro, const MacroData& data,
                                             std::string& problem);
} // namespace cli
