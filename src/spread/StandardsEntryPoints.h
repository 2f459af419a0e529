#pragma once

#include "host/Kdr_StringArray.h"

class ZxDlgStandardsData;

/// Runs one standards evaluation in a pooled hidden dialog. True on success; `data` then
/// holds the results. On failure `data` is unchanged (macro variables already written stay).
bool StartDlgStandardsSS(ZxDlgStandardsData& data);

/// A fixed child run of "c:\a\a\a\test.zxs" with the arguments Column = IPE-200 and
/// Thickness = 10 (Input), Width = 212 and Length = 356 (Output).
bool StartDlgStandardsSStest();

/// Opens the spreadsheet formula test dialog on "c:\a\t3.sss", recalculates and reads cell (1, 1).
void EvaluateSS();

/// Loads a sheet file and returns, as displayed texts, cell (1, 1), the column captions and
/// every row. The two lists are emptied first.
void ReadSSFile(const Kdr_String& fileName, Kdr_String& firstCell, Kdr_StringArray& columnCaptions,
                Kdr_Array<Kdr_StringArray>& rows);
