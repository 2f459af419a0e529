#include "grid/CustomFunction.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace grid
{
namespace
{
SpreadCalcValue blankRecord()
{
    SpreadCalcValue record;
    std::memset(&record, 0, sizeof record);
    record.status = kCalcStatusEmpty;
    record.type = kCalcTypeLong;
    return record;
}

void writeReference(SpreadCalcValue& record, const CellRange& range)
{
    record.status = kCalcStatusValid;
    record.type = range.isSingleCell() ? kCalcTypeCell : kCalcTypeRange;
    record.value.cell.col = range.col1;
    record.value.cell.row = range.row1;
    record.value.cell.col2 = range.col2;
    record.value.cell.row2 = range.row2;
}
} // namespace

void writeCalcValue(SpreadCalcValue& record, const Value& value)
{
    record = blankRecord();
    switch (value.type())
    {
    case Value::Type::Empty:
        break;
    case Value::Type::Number:
        record.status = kCalcStatusValid;
        record.type = kCalcTypeDouble;
        record.value.doubleValue = value.asNumber();
        break;
    case Value::Type::Logical:
        record.status = kCalcStatusValid;
        record.type = kCalcTypeLong;
        record.value.longValue = value.asLogical() ? 1 : 0;
        break;
    case Value::Type::Text:
        record.status = kCalcStatusValid;
        record.type = kCalcTypeString;
        record.value.textHandle = setGlobalStr(Kdr_String(value.asText()));
        if (record.value.textHandle == 0)
            record.status = kCalcStatusEmpty;
        break;
    case Value::Type::Error:
        record.status = kCalcStatusError;
        record.type = kCalcTypeLong;
        record.value.longValue = static_cast<std::int32_t>(value.asError());
        break;
    }
}

Value readCalcValue(const SpreadCalcValue& record, EvalContext& context)
{
    if (record.status == kCalcStatusError)
    {
        const std::int32_t code = record.value.longValue;
        if (code >= 0 && code <= static_cast<std::int32_t>(ErrorCode::Circular))
            return Value::error(static_cast<ErrorCode>(code));
        return Value::error(ErrorCode::Value);
    }
    if (record.status != kCalcStatusValid)
        return {};
    switch (record.type)
    {
    case kCalcTypeLong:
        return Value::number(record.value.longValue);
    case kCalcTypeDouble:
    {
        const double v = record.value.doubleValue;
        return std::isfinite(v) ? Value::number(v) : Value::error(ErrorCode::Num);
    }
    case kCalcTypeString:
    {
        Kdr_String text;
        if (!getGlobalStr(record.value.textHandle, text))
            return Value::error(ErrorCode::Value);
        return Value::text(std::move(text));
    }
    case kCalcTypeCell:
    {
        const int col = record.value.cell.col;
        const int row = record.value.cell.row;
        if (col < 1 || row < 1)
            return Value::error(ErrorCode::Ref);
        return context.cellValue(col, row);
    }
    default:
        return Value::error(ErrorCode::Value);
    }
}

Value callCustomFunction(const CustomFunction& function, std::span<const Arg> args, EvalContext& context)
{
    const auto count = static_cast<long>(args.size());
    if (!function.callback || count < function.minArgs ||
        (function.maxArgs >= 0 && count > function.maxArgs) ||
        count > std::numeric_limits<std::int16_t>::max())
        return Value::error(ErrorCode::Value);

    const bool passReferences = (function.flags & kCustomFunctionPassReferences) != 0;
    std::vector<SpreadCalcValue> records(args.empty() ? 1 : args.size(), blankRecord());
    std::vector<host::GlobalHandle> blocks;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const Arg& arg = args[i];
        SpreadCalcValue& record = records[i];
        if (arg.kind == Arg::Kind::Reference)
        {
            if (passReferences || !arg.range.isSingleCell())
                writeReference(record, arg.range);
            else
                writeCalcValue(record, context.cellValue(arg.range.col1, arg.range.row1));
        }
        else if (arg.kind == Arg::Kind::Array)
            writeCalcValue(record, arg.array.empty() ? Value() : arg.array.front());
        else
            writeCalcValue(record, arg.value);
        if (record.status == kCalcStatusValid && record.type == kCalcTypeString)
        {
            const host::GlobalHandle handle = record.value.textHandle; // copied out of the packed record
            blocks.push_back(handle);
        }
    }

    SpreadCalcValue result = blankRecord();
    const bool ok = function.callback(&result, records.data(), static_cast<std::int16_t>(count)) != 0;

    host::GlobalHandle resultBlock = 0;
    if (result.status == kCalcStatusValid && result.type == kCalcTypeString)
        resultBlock = result.value.textHandle;
    Value value;
    if (ok)
        value = readCalcValue(result, context);
    else if (resultBlock != 0)
        freeGlobalStr(resultBlock);
    // Argument blocks the callback did not take are the engine's to free; a block the
    // callback handed back as its result has been read above.
    for (host::GlobalHandle block : blocks)
        if (block != resultBlock)
            freeGlobalStr(block);
    return value;
}
} // namespace grid
