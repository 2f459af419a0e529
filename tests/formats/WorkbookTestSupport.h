#pragma once

// Small workbooks built in memory for the reader tests.

#include <map>
#include <string>

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
} // namespace formatstest
