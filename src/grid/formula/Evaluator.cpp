// The stack machine that runs a compiled formula. It never recurses: nesting in the text
// became a flat instruction list when the formula was parsed, and the cells a formula
// reads are already calculated by the sheet.

#include "grid/CustomFunction.h"
#include "grid/formula/Bytecode.h"
#include "grid/formula/Formula.h"
#include "grid/formula/Operators.h"

#include <algorithm>
#include <exception>
#include <span>
#include <vector>

namespace grid
{
namespace
{
/// The element of an array operand at (row, col) when arrays meet element by element: a
/// single row or column stretches across the others; a position the operand does not have is
/// null (the caller's #N/A).
const Value* elementAt(const Arg& a, int row, int col)
{
    const int r = a.arrayRows == 1 ? 0 : row;
    const int c = a.arrayCols == 1 ? 0 : col;
    if (r >= a.arrayRows || c >= a.arrayCols)
        return nullptr;
    return &a.array[static_cast<size_t>(r) * static_cast<size_t>(a.arrayCols) + static_cast<size_t>(c)];
}

/// How a function takes a union of references such as (A1:B2,D4).
enum class UnionUse
{
    None,   ///< it needs one range: #VALUE!, as spreadsheets answer
    Spread, ///< every argument is data alike (SUM, COUNT…): each area becomes an argument
    Gather, ///< a data argument among others (SMALL's, RANK's): the areas' values as one array
    Keep,   ///< it reads the areas itself (AREAS, INDEX, ISREF)
};

UnionUse unionUse(std::string_view name)
{
    static constexpr std::string_view kSpread[] = {
        "AVEDEV",  "AVERAGE", "AVERAGEA", "COUNT",   "COUNTA",  "DEVSQ",  "GEOMEAN", "HARMEAN",
        "KURT",    "MAX",     "MAXA",     "MEDIAN",  "MIN",     "MINA",   "MODE",    "MODE.SNGL",
        "PRODUCT", "SKEW",    "STDEV",    "STDEV.P", "STDEV.S", "STDEVA", "STDEVP",  "STDEVPA",
        "SUM",     "SUMSQ",   "VAR",      "VAR.P",   "VAR.S",   "VARA",   "VARP",    "VARPA"};
    static constexpr std::string_view kGather[] = {
        "LARGE",        "PERCENTILE", "PERCENTILE.EXC", "PERCENTILE.INC", "QUARTILE", "QUARTILE.EXC",
        "QUARTILE.INC", "RANK",       "RANK.AVG",       "RANK.EQ",        "SMALL"};
    static constexpr std::string_view kKeep[] = {"AREAS", "INDEX", "ISREF"};
    auto listed = [name](const auto& list)
    { return std::find(std::begin(list), std::end(list), name) != std::end(list); };
    if (listed(kSpread))
        return UnionUse::Spread;
    if (listed(kGather))
        return UnionUse::Gather;
    if (listed(kKeep))
        return UnionUse::Keep;
    return UnionUse::None;
}

bool isUnion(const Arg& arg)
{
    return arg.kind == Arg::Kind::Reference && !arg.areas.empty();
}

/// The areas of a reference: those of a union, else its one range.
std::span<const CellRange> areasOf(const Arg& arg)
{
    return arg.areas.empty() ? std::span<const CellRange>(&arg.range, 1)
                             : std::span<const CellRange>(arg.areas);
}

/// A reference of the given areas: one range, or a union of several.
Arg referenceOf(std::vector<CellRange> areas)
{
    Arg out = Arg::ofReference(areas.front());
    if (areas.size() > 1)
        out.areas = std::move(areas);
    return out;
}

/// One stack for all evaluations on a thread. A nested evaluation (a custom function that
/// calculates another sheet) works above the caller's part of it and gives it back.
std::vector<Arg>& evaluationStack()
{
    thread_local std::vector<Arg> stack;
    return stack;
}

class Machine
{
public:
    Machine(const Formula& formula, FormulaContext& context)
        : formula_(formula), context_(context), stack_(evaluationStack()), base_(stack_.size()),
          col_(context.currentCol()), row_(context.currentRow())
    {
    }
    ~Machine() { stack_.resize(base_); }
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    Value run();

private:
    void push(Value value)
    {
        stack_.emplace_back();
        stack_.back().value = std::move(value);
    }
    /// Applies a binary operator to the top two entries, leaving the result in their place.
    void binary(const Instr& instr);
    /// True when an operand is worked element by element: an array, or a range of more than
    /// one cell inside an array argument.
    static bool isArrayOperand(const Arg& arg, const Instr& instr)
    {
        return arg.kind == Arg::Kind::Array ||
               ((instr.flags & kArrayContext) && arg.kind == Arg::Kind::Reference &&
                !arg.range.isSingleCell());
    }
    /// The values of an operand as an array (a single value is 1x1).
    Arg arrayOf(Arg&& arg) const;
    /// A binary operator applied element by element; a single row or column stretches
    /// across the other side, and positions only one side has give #N/A.
    void binaryArray(Op op);
    void unaryArray(Op op);
    /// Calls an element-wise function once per element when an argument is an array (or a
    /// range in an array argument); returns false, leaving the stack alone, when none is.
    bool callElementWise(const Instr& instr, const FunctionInfo& info);
    Value popScalar();
    /// The formula's value: the entry left on top of the stack.
    Value result();
    /// Runs the instructions from `pc` up to `end`, leaving their results on the stack.
    void execute(size_t pc, size_t end);
    /// IF over an array condition: both branches run and each element of the condition picks
    /// its element from one of them, as the operators do (a single row or column stretches).
    void ifElementWise(const Instr& instr, size_t thenStart);
    /// The value of a stack entry in a scalar context.
    Value scalar(const Arg& arg) const;
    Value readCell(int col, int row) const;
    /// A range read as one value: the cell in the formula's row or column.
    Value intersect(const CellRange& range) const;
    bool resolve(const Instr& instr, CellRange& range) const;
    void callNamed(const Instr& instr);
    /// Applies a reference operator (':', ' ' or ',') to the top operands.
    void referenceOperator(const Instr& instr);
    /// Readies the arguments from stack_[first] on for a function that may meet a union
    /// (see UnionUse); false when the call is to answer #VALUE! instead.
    bool takeUnions(std::string_view function, size_t first);
    /// True when the formula's last step, parentheses aside, is a custom function call.
    bool endsWithCustomCall() const
    {
        for (auto it = formula_.code.rbegin(); it != formula_.code.rend(); ++it)
            if (it->op != Op::Paren)
                return it->op == Op::CallNamed;
        return false;
    }

    const Formula& formula_;
    FormulaContext& context_;
    std::vector<Arg>& stack_;
    size_t base_;
    int col_;
    int row_;
    /// Set once a union is made, so calls check their arguments for one only then.
    bool unions_ = false;
};

void Machine::referenceOperator(const Instr& instr)
{
    const size_t count = instr.op == Op::Union ? instr.argc : 2;
    const size_t first = stack_.size() - count;
    // An error operand (a deleted reference's #REF!) is the result; any other value is no
    // reference and gives #VALUE!.
    for (size_t i = first; i < stack_.size(); ++i)
    {
        const Arg& operand = stack_[i];
        if (operand.kind == Arg::Kind::Reference)
            continue;
        Value error = operand.kind == Arg::Kind::Value && operand.value.isError()
                          ? operand.value
                          : Value::error(ErrorCode::Value);
        stack_.resize(first);
        push(std::move(error));
        return;
    }
    std::vector<CellRange> areas;
    switch (instr.op)
    {
    case Op::RangeSpan:
    {
        // The smallest range holding every cell of both sides.
        CellRange span = stack_[first].range;
        for (size_t i = first; i < stack_.size(); ++i)
            for (const CellRange& r : areasOf(stack_[i]))
            {
                span.col1 = std::min(span.col1, r.col1);
                span.row1 = std::min(span.row1, r.row1);
                span.col2 = std::max(span.col2, r.col2);
                span.row2 = std::max(span.row2, r.row2);
            }
        areas.push_back(span);
        break;
    }
    case Op::Intersect:
        for (const CellRange& l : areasOf(stack_[first]))
            for (const CellRange& r : areasOf(stack_[first + 1]))
            {
                const CellRange common{std::max(l.col1, r.col1), std::max(l.row1, r.row1),
                                       std::min(l.col2, r.col2), std::min(l.row2, r.row2)};
                if (common.col1 <= common.col2 && common.row1 <= common.row2)
                    areas.push_back(common);
            }
        break;
    default:
        for (size_t i = first; i < stack_.size(); ++i)
            for (const CellRange& r : areasOf(stack_[i]))
                areas.push_back(r);
        break;
    }
    stack_.resize(first);
    if (areas.empty())
    {
        push(Value::error(ErrorCode::Null));
        return;
    }
    unions_ = unions_ || areas.size() > 1;
    stack_.push_back(referenceOf(std::move(areas)));
}

bool Machine::takeUnions(std::string_view function, size_t first)
{
    if (std::none_of(stack_.begin() + static_cast<std::ptrdiff_t>(first), stack_.end(), isUnion))
        return true;
    switch (unionUse(function))
    {
    case UnionUse::None:
        return false;
    case UnionUse::Keep:
        return true;
    case UnionUse::Spread:
    {
        std::vector<Arg> spread;
        for (size_t i = first; i < stack_.size(); ++i)
        {
            if (!isUnion(stack_[i]))
                spread.push_back(std::move(stack_[i]));
            else
                for (const CellRange& r : stack_[i].areas)
                    spread.push_back(Arg::ofReference(r));
        }
        stack_.resize(first);
        for (Arg& arg : spread)
            stack_.push_back(std::move(arg));
        return true;
    }
    case UnionUse::Gather:
        for (size_t i = first; i < stack_.size(); ++i)
        {
            if (!isUnion(stack_[i]))
                continue;
            // Empty cells count for none of these functions, so only stored values are taken.
            Arg gathered;
            gathered.kind = Arg::Kind::Array;
            struct Collect final : RangeVisitor
            {
                explicit Collect(std::vector<Value>& v) : values(v) {}
                bool visit(int, int, const Value& value) override
                {
                    values.push_back(value);
                    return true;
                }
                std::vector<Value>& values;
            } collect(gathered.array);
            for (const CellRange& r : stack_[i].areas)
                context_.visitRange(r, collect);
            if (gathered.array.empty())
                gathered.array.emplace_back();
            gathered.arrayRows = 1;
            gathered.arrayCols = static_cast<int>(gathered.array.size());
            stack_[i] = std::move(gathered);
        }
        return true;
    }
    return false;
}

bool Machine::resolve(const Instr& instr, CellRange& range) const
{
    range.col1 = resolveCoordinate(instr.a, instr.flags & kColAbsolute, col_);
    range.row1 = resolveCoordinate(instr.b, instr.flags & kRowAbsolute, row_);
    if (isRangeOp(instr.op))
    {
        range.col2 = resolveCoordinate(instr.c, instr.flags & kCol2Absolute, col_);
        range.row2 = resolveCoordinate(instr.d, instr.flags & kRow2Absolute, row_);
        if (range.col2 < range.col1)
            std::swap(range.col1, range.col2);
        if (range.row2 < range.row1)
            std::swap(range.row1, range.row2);
    }
    else
    {
        range.col2 = range.col1;
        range.row2 = range.row1;
    }
    return range.col1 >= 1 && range.row1 >= 1 && range.col2 <= kMaxFormulaCol && range.row2 <= kMaxFormulaRow;
}

Value Machine::readCell(int col, int row) const
{
    return context_.cellValue(col, row);
}

Value Machine::intersect(const CellRange& range) const
{
    if (range.isSingleCell())
        return readCell(range.col1, range.row1);
    if (range.col1 == range.col2 && row_ >= range.row1 && row_ <= range.row2)
        return readCell(range.col1, row_);
    if (range.row1 == range.row2 && col_ >= range.col1 && col_ <= range.col2)
        return readCell(col_, range.row1);
    return Value::error(ErrorCode::Value);
}

Value Machine::scalar(const Arg& arg) const
{
    switch (arg.kind)
    {
    case Arg::Kind::Value:
        return arg.value;
    case Arg::Kind::Reference:
        // A union is no single value.
        return arg.areas.empty() ? intersect(arg.range) : Value::error(ErrorCode::Value);
    case Arg::Kind::Array:
        return arg.array.empty() ? Value() : arg.array.front();
    }
    return {};
}

Value Machine::popScalar()
{
    Arg& top = stack_.back();
    Value value = top.kind == Arg::Kind::Value ? std::move(top.value) : scalar(top);
    stack_.pop_back();
    return value;
}

void Machine::callNamed(const Instr& instr)
{
    const std::string& name = formula_.texts[instr.a];
    const size_t first = stack_.size() - instr.argc;
    const CustomFunction* function = context_.findCustomFunction(name);
    Value result = Value::error(ErrorCode::Name);
    if (function && unions_ && !takeUnions({}, first))
    {
        stack_.resize(first);
        push(Value::error(ErrorCode::Value));
        return;
    }
    if (function)
    {
        // Copy the arguments out: the callback may evaluate other formulas on this stack.
        std::vector<Arg> args(std::make_move_iterator(stack_.begin() + static_cast<std::ptrdiff_t>(first)),
                              std::make_move_iterator(stack_.end()));
        stack_.resize(first);
        result = callCustomFunction(*function, args, context_);
    }
    else
        stack_.resize(first);
    push(std::move(result));
}

Arg Machine::arrayOf(Arg&& arg) const
{
    if (arg.kind == Arg::Kind::Array)
        return std::move(arg);
    Arg out;
    out.kind = Arg::Kind::Array;
    if (arg.kind == Arg::Kind::Value || isUnion(arg))
    {
        out.arrayRows = out.arrayCols = 1;
        out.array.push_back(isUnion(arg) ? Value::error(ErrorCode::Value) : std::move(arg.value));
        return out;
    }
    const CellRange& r = arg.range;
    out.arrayRows = r.height();
    out.arrayCols = r.width();
    out.array.resize(static_cast<size_t>(out.arrayRows) * static_cast<size_t>(out.arrayCols));
    // Only the stored cells are read; the rest stay empty.
    struct Fill final : RangeVisitor
    {
        Fill(Arg& a, const CellRange& r) : out(a), range(r) {}
        bool visit(int col, int row, const Value& value) override
        {
            out.array[static_cast<size_t>(row - range.row1) * static_cast<size_t>(out.arrayCols) +
                      static_cast<size_t>(col - range.col1)] = value;
            return true;
        }
        Arg& out;
        const CellRange& range;
    } fill(out, r);
    context_.visitRange(r, fill);
    return out;
}

void Machine::binaryArray(Op op)
{
    Arg right = arrayOf(std::move(stack_.back()));
    stack_.pop_back();
    Arg left = arrayOf(std::move(stack_.back()));
    stack_.pop_back();
    Arg out;
    out.kind = Arg::Kind::Array;
    out.arrayRows = std::max(left.arrayRows, right.arrayRows);
    out.arrayCols = std::max(left.arrayCols, right.arrayCols);
    out.array.reserve(static_cast<size_t>(out.arrayRows) * static_cast<size_t>(out.arrayCols));
    for (int row = 0; row < out.arrayRows; ++row)
        for (int col = 0; col < out.arrayCols; ++col)
        {
            const Value* l = elementAt(left, row, col);
            const Value* r = elementAt(right, row, col);
            out.array.push_back(l && r ? applyBinary(op, *l, *r) : Value::error(ErrorCode::NA));
        }
    stack_.push_back(std::move(out));
}

void Machine::unaryArray(Op op)
{
    Arg operand = arrayOf(std::move(stack_.back()));
    stack_.pop_back();
    for (Value& v : operand.array)
        v = applyUnary(op, v);
    stack_.push_back(std::move(operand));
}

bool Machine::callElementWise(const Instr& instr, const FunctionInfo& info)
{
    const size_t first = stack_.size() - instr.argc;
    bool any = false;
    for (size_t i = first; i < stack_.size(); ++i)
        any = any || isArrayOperand(stack_[i], instr);
    if (!any || !worksElementWise(info.name))
        return false;
    std::vector<Arg> arrays;
    arrays.reserve(instr.argc);
    int rows = 1;
    int cols = 1;
    for (size_t i = first; i < stack_.size(); ++i)
    {
        arrays.push_back(arrayOf(std::move(stack_[i])));
        rows = std::max(rows, arrays.back().arrayRows);
        cols = std::max(cols, arrays.back().arrayCols);
    }
    stack_.resize(first);
    Arg out;
    out.kind = Arg::Kind::Array;
    out.arrayRows = rows;
    out.arrayCols = cols;
    out.array.reserve(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    std::vector<Arg> call(arrays.size());
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
        {
            // As with operators, a single row or column stretches across the others and a
            // position only some arguments have gives #N/A.
            bool inside = true;
            for (size_t i = 0; i < arrays.size() && inside; ++i)
            {
                const Value* element = elementAt(arrays[i], row, col);
                inside = element != nullptr;
                if (inside)
                    call[i] = Arg::ofValue(*element);
            }
            Value result = inside ? info.body(context_, call) : Value::error(ErrorCode::NA);
            if (result.isNumber() && !std::isfinite(result.asNumber()))
                result = Value::error(ErrorCode::Num);
            out.array.push_back(std::move(result));
        }
    stack_.push_back(std::move(out));
    return true;
}

void Machine::binary(const Instr& instr)
{
    const Op op = instr.op;
    if (isArrayOperand(stack_.back(), instr) || isArrayOperand(stack_[stack_.size() - 2], instr))
    {
        binaryArray(op);
        return;
    }
    Arg& left = stack_[stack_.size() - 2];
    Arg& right = stack_.back();
    if (left.kind == Arg::Kind::Value && right.kind == Arg::Kind::Value && left.value.isNumber() &&
        right.value.isNumber() && (op == Op::Add || op == Op::Subtract || op == Op::Multiply))
    {
        // The common case of plain numbers, done in place.
        const double a = left.value.asNumber();
        const double b = right.value.asNumber();
        left.value = numberResult(op == Op::Add ? a + b : op == Op::Subtract ? a - b : a * b);
        stack_.pop_back();
        return;
    }
    Value r = popScalar();
    Value l = popScalar();
    push(applyBinary(op, l, r));
}

void Machine::ifElementWise(const Instr& instr, size_t thenStart)
{
    Arg condition = arrayOf(std::move(stack_.back()));
    stack_.pop_back();
    // The then-branch ends at the jump over the else-branch; the else-branch (FALSE when
    // IF has two arguments) ends where the call does.
    const size_t elseStart = static_cast<size_t>(instr.a);
    const size_t end = static_cast<size_t>(instr.b);
    execute(thenStart, elseStart - 1);
    Arg whenTrue = arrayOf(std::move(stack_.back()));
    stack_.pop_back();
    execute(elseStart, end);
    Arg whenFalse = arrayOf(std::move(stack_.back()));
    stack_.pop_back();
    const Arg* parts[] = {&condition, &whenTrue, &whenFalse};
    int rows = 1;
    int cols = 1;
    for (const Arg* part : parts)
    {
        rows = std::max(rows, part->arrayRows);
        cols = std::max(cols, part->arrayCols);
    }
    Arg out;
    out.kind = Arg::Kind::Array;
    out.arrayRows = rows;
    out.arrayCols = cols;
    out.array.reserve(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
        {
            const Value* test = elementAt(condition, row, col);
            if (!test)
            {
                out.array.push_back(Value::error(ErrorCode::NA));
                continue;
            }
            Value truth = logicalOperand(*test);
            if (truth.isError())
            {
                out.array.push_back(std::move(truth));
                continue;
            }
            const Value* picked = elementAt(truth.asLogical() ? whenTrue : whenFalse, row, col);
            out.array.push_back(picked ? (picked->isEmpty() ? Value::number(0) : *picked)
                                       : Value::error(ErrorCode::NA));
        }
    stack_.push_back(std::move(out));
}

Value Machine::run()
{
    execute(0, formula_.code.size());
    return result();
}

void Machine::execute(size_t pc, size_t size)
{
    const std::vector<Instr>& code = formula_.code;
    while (pc < size)
    {
        const Instr& instr = code[pc++];
        switch (instr.op)
        {
        case Op::PushNumber:
            push(Value::number(formula_.numbers[instr.a]));
            break;
        case Op::PushText:
            push(Value::text(formula_.texts[instr.a]));
            break;
        case Op::PushLogical:
            push(Value::logical(instr.a != 0));
            break;
        case Op::PushError:
            push(Value::error(static_cast<ErrorCode>(instr.a)));
            break;
        case Op::PushMissing:
            push(instr.a ? Value::number(0) : Value());
            break;
        case Op::PushName:
            push(Value::error(ErrorCode::Name));
            break;
        case Op::PushArray:
            stack_.push_back(formula_.arrays[instr.a]);
            break;
        case Op::PushRef:
        case Op::PushRange:
        {
            CellRange range;
            if (resolve(instr, range))
                stack_.push_back(Arg::ofReference(range));
            else
                push(Value::error(ErrorCode::Ref));
            break;
        }
        case Op::PushRefValue:
        case Op::PushRangeValue:
        {
            CellRange range;
            push(resolve(instr, range) ? intersect(range) : Value::error(ErrorCode::Ref));
            break;
        }
        case Op::Negate:
        case Op::UnaryPlus:
        case Op::Percent:
        {
            if (isArrayOperand(stack_.back(), instr))
            {
                unaryArray(instr.op);
                break;
            }
            Value operand = popScalar();
            push(applyUnary(instr.op, operand));
            break;
        }
        case Op::Add:
        case Op::Subtract:
        case Op::Multiply:
        case Op::Divide:
        case Op::Power:
        case Op::Concat:
        case Op::Equal:
        case Op::NotEqual:
        case Op::Less:
        case Op::Greater:
        case Op::LessEqual:
        case Op::GreaterEqual:
            binary(instr);
            break;
        case Op::Paren:
        case Op::EndLazy:
            break;
        case Op::CallBuiltin:
        {
            const FunctionInfo* info = formula_.builtins[instr.a];
            if (callElementWise(instr, *info))
                break;
            const size_t first = stack_.size() - instr.argc;
            if (unions_ && !takeUnions(info->name, first)) [[unlikely]]
            {
                stack_.resize(first);
                push(Value::error(ErrorCode::Value));
                break;
            }
            Value result =
                info->body(context_, std::span<const Arg>(stack_.data() + first, stack_.size() - first));
            stack_.resize(first);
            if (result.isNumber() && !std::isfinite(result.asNumber()))
                result = Value::error(ErrorCode::Num);
            push(std::move(result));
            break;
        }
        case Op::CallReference:
        {
            const size_t first = stack_.size() - instr.argc;
            if (unions_ && !takeUnions(formula_.builtins[instr.a]->name, first))
            {
                stack_.resize(first);
                push(Value::error(ErrorCode::Value));
                break;
            }
            Arg result = formula_.referenceBodies[instr.b](
                context_, std::span<const Arg>(stack_.data() + first, stack_.size() - first));
            stack_.resize(first);
            if (result.kind == Arg::Kind::Value && result.value.isNumber() &&
                !std::isfinite(result.value.asNumber()))
                result.value = Value::error(ErrorCode::Num);
            unions_ = unions_ || isUnion(result);
            stack_.push_back(std::move(result));
            break;
        }
        case Op::RangeSpan:
        case Op::Intersect:
        case Op::Union:
            referenceOperator(instr);
            break;
        case Op::CallNamed:
            callNamed(instr);
            break;
        case Op::JumpIfFalse:
        {
            if (stack_.back().kind == Arg::Kind::Array)
            {
                ifElementWise(instr, pc);
                pc = static_cast<size_t>(instr.b);
                break;
            }
            Value condition = logicalOperand(popScalar());
            if (condition.isError())
            {
                push(std::move(condition));
                pc = static_cast<size_t>(instr.b);
            }
            else if (!condition.asLogical())
                pc = static_cast<size_t>(instr.a);
            break;
        }
        case Op::Jump:
            pc = static_cast<size_t>(instr.a);
            break;
        case Op::JumpIfNotError:
        {
            Value value = popScalar();
            if (!value.isError())
            {
                push(value.isEmpty() ? Value::number(0) : std::move(value));
                pc = static_cast<size_t>(instr.a);
            }
            break;
        }
        case Op::Choose:
        {
            Value index = numberOperand(popScalar());
            if (index.isError())
            {
                push(std::move(index));
                pc = static_cast<size_t>(instr.b);
                break;
            }
            const double k = std::trunc(index.asNumber());
            if (k < 1 || k > instr.argc)
            {
                push(Value::error(ErrorCode::Value));
                pc = static_cast<size_t>(instr.b);
                break;
            }
            pc = static_cast<size_t>(formula_.targets[instr.a + static_cast<int>(k) - 1]);
            break;
        }
        }
    }
}

Value Machine::result()
{
    if (stack_.size() <= base_)
        return Value::error(ErrorCode::Value);
    const Arg& top = stack_.back();
    if (top.kind == Arg::Kind::Value)
    {
        // A lookup that lands on an empty cell (INDEX, VLOOKUP, CHOOSE…) shows 0, as the
        // reference itself would; only a custom function may leave the result empty.
        if (top.value.isEmpty() && !endsWithCustomCall())
            return Value::number(0);
        return top.value;
    }
    // A reference as the whole result: an empty cell shows as 0.
    Value value = scalar(top);
    return value.isEmpty() ? Value::number(0) : value;
}
} // namespace

Value evaluateFormula(const Formula& formula, FormulaContext& context)
{
    try
    {
        Machine machine(formula, context);
        return machine.run();
    }
    catch (const std::exception&)
    {
        return Value::error(ErrorCode::Value);
    }
}
} // namespace grid
