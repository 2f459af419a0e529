#pragma once

#include "grid/functions/Function.h"
#include "grid/functions/Result.h"

namespace grid::fn
{
/// The sum of the numbers in a range of one column (texts, logicals and empty cells skipped;
/// the first error, from the top, is the result). Within one calculation pass of the context
/// (EvalContext::calculationPass) the sum of a range continues from the last sum of the same
/// column and first row, so that a column of SUM($A$1:An) costs one addition per cell, not
/// one per cell above it. The result is the same double either way: the numbers are added
/// from the top in the same order.
Result<double> columnSum(EvalContext& context, const CellRange& range);
} // namespace grid::fn
