#pragma once

#include "spread/Kdr_Spread.h"

#include <string>

namespace cli
{
class Console;

/// The file formats a bill can be written in, chosen by the output file's extension.
/// `.csv` is CSV with a header row, `.xlsx` is refused for now (with `error` saying so), any
/// other name the native sheet format. Every output format is chosen here and nowhere else.
bool chooseBillWriter(const std::string& outFile, Kdr_Spread::SheetFileWriter& writer, std::string& error);

/// `bill BILL.json --out FILE [--settings NAME] [--title T]`: feeds the bill's rows to the
/// bill output and writes the sheet.
int runBill(const std::string& billFile, const std::string& outFile, const std::string& settings,
            const std::string& title, Console& console);
} // namespace cli
