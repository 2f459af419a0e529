#pragma once

#include <string>

namespace cli
{
class Console;

/// `stock groups`: the groups of the library's "Cutting Stock" folder, one name a line, sorted.
int runStockGroups(Console& console);
/// `stock show GROUP [--purchase] [--file NAME]`: the rows of the group's latest stock (or
/// purchase) file, or of the file named, one line each, cells separated by TAB.
int runStockShow(const std::string& group, bool purchase, const std::string& file, Console& console);
/// `stock save GROUP FILE.csv [--purchase]`: the CSV's records as the group's next
/// "Stock<n>.shp" (or ".buy"); prints the file written.
int runStockSave(const std::string& group, const std::string& csv, bool purchase, Console& console);
/// `stock report DATA.json [--out FILE.json]`: loads the latest files of every group of the
/// record and prints the report; with --out the record with the loaded rows is saved.
int runStockReport(const std::string& dataPath, const std::string& out, Console& console);
} // namespace cli
