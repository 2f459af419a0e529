#pragma once

// The steel functions of standards sheets: rounding to production steps, looking values up
// in data files and section tables, and choosing standard plate sizes within a tolerance.
// Each is a custom function of the grid engine: it gets its evaluated arguments as records,
// fills the result record and returns nonzero when the result holds its value. Every one
// first sets the result to empty, so a failure leaves the cell empty and the calculation of
// the sheet goes on.

#include "grid/CustomFunction.h"
#include "host/Kdr_String.h"

#include <cstdint>

class Kdr_Spread;
namespace grid
{
class Sheet;
}

// Readers of the argument records. Each fails unless `index` is inside the `count`
// arguments and the record is valid (status 0) and of its kind.

/// A number: a long (type 0) or a double (type 1).
bool calcArgNumber(const grid::SpreadCalcValue* args, int count, int index, double& value);
/// A text (type 2), taken out of its global block (which is freed, so a text argument can
/// be read once); one leading and one trailing '"' are removed when present.
bool calcArgText(const grid::SpreadCalcValue* args, int count, int index, Kdr_String& text);
/// A cell reference (type 3): its four fields.
bool calcArgCell(const grid::SpreadCalcValue* args, int count, int index,
                 grid::SpreadCalcValue::CellFields& cell);
/// True when the argument is there and empty (status 2).
bool calcArgIsEmpty(const grid::SpreadCalcValue* args, int count, int index);

/// Makes the result a number (status 0, type 1). Always true.
bool setCalcResultNumber(grid::SpreadCalcValue* result, double value);
/// Makes the result a text in a new global block; an empty text makes the result empty
/// (status 2) instead. False when no block could be had.
bool setCalcResultText(grid::SpreadCalcValue* result, const Kdr_String& text);

/// Registers the twelve functions on a sheet (argument counts as listed below, flags 0).
/// False when the engine refused one of them.
bool registerStandardsFunctions(grid::Sheet& sheet);
/// The same on a grid window; false when the window has not been created.
bool registerStandardsFunctions(Kdr_Spread& spread);

/// ROUNDTO(value, step): the value rounded to the nearest multiple of the step.
std::int32_t ssRoundTo(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// GETCELL(file, key1 [, … key6]): column 2 of the row of a table file whose column 1 is the
/// keys joined with ';' (numbers written with up to 6 decimals).
std::int32_t ssGetCell(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// GETPROFCELL(file, key1 [, … key6]): as GETCELL, with the table's keys taken as section
/// names and turned into system names.
std::int32_t ssGetProfCell(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// SECTIONSIZE(section, n): property n (from 1) of a section.
std::int32_t ssSectionSize(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// GETSYSNAME(name): the system name of a section, or the name itself.
std::int32_t ssGetSysName(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// STDWIDTHWITHTOLERANCE(file, step, thickness, value, down, up).
std::int32_t ssStdWidthWithTolerance(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args,
                                     std::int16_t count);
/// STDTHICKNESSWITHTOLERANCE(file, step, value, down, up).
std::int32_t ssStdThicknessWithTolerance(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args,
                                         std::int16_t count);
/// STDSIZEWITHTOLERANCE(file, step, value, down, up).
std::int32_t ssStdSizeWithTolerance(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args,
                                    std::int16_t count);
/// GETARRAYITEM(list, n): item n (from 1) of a ';'-separated list; empty outside it.
std::int32_t ssGetArrayItem(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// TONUMBER(text): the number a text starts with (0 when none).
std::int32_t ssToNumber(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// ISNULL(x): 1 for an empty value, an empty text or 0; else 0.
std::int32_t ssIsNull(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
/// ISPOSITIVE(x): 1 for a number, or a text read as a number, greater than 0; else 0.
std::int32_t ssIsPositive(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
