#pragma once

// Small workbooks built in memory for the reader tests.

#include "formats/SheetFiles.h"
#include "grid/Sheet.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace formatstest
{
/// A zip archive of the given parts (name → bytes), deflated.
std::string makeZip(const std::map<std::string, std::string>& parts);

/// An .xlsx archive with one worksheet "Loads" holding `sheetData` (and whatever else is
/// given after it inside <worksheet>), the shared strings and the styles given.
std::string makeXlsx(const std::string& sheetBody, const std::string& sharedStrings = "",
                     const std::string& styles = "", std::map<std::string, std::string> extraParts = {});

/// An .ods archive whose content.xml holds `tables` in office:spreadsheet and
/// `automaticStyles` in office:automatic-styles.
std::string makeOds(const std::string& tables, const std::string& automaticStyles = "");

std::string readBytes(const std::string& path);

/// What reading a workbook gave: the sheet, or the error, and the remarks on what was left out.
struct Read
{
    bool ok = false;
    grid::Sheet sheet;
    std::string error;
    std::vector<std::string> remarks;
};

std::unique_ptr<Read> readWorkbookBytes(const std::string& bytes, formats::WorkbookKind kind,
                                        const std::string& sheetName = "",
                                        const formats::ReadLimits& limits = {});

/// Every stored cell as "A1=value" or "A1=value [=formula]", one per line.
std::string dump(const grid::Sheet& sheet);
} // namespace formatstest
