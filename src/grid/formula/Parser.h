#pragma once

// Turns formula text into the stack-machine code of Bytecode.h. Recursive descent with
// precedence climbing; every construct that nests (parentheses, calls, signs) counts
// against kMaxFormulaDepth, so no input can exhaust the stack.

#include "grid/formula/Bytecode.h"

#include <memory>
#include <string>
#include <string_view>

namespace grid
{
class Parser
{
public:
    Parser(std::string_view text, int col, int row, ReferenceStyle style);

    /// Parses the whole text; on failure the result holds no formula and a message with
    /// the 1-based position of the fault.
    ParseResult run();

private:
    bool parseExpression(int minPrecedence);
    bool parseOperand();
    /// Operands joined by the intersection operator (a blank between two references).
    bool parseReferenceExpression();
    /// A primary, or primaries joined by the range operator ':' (A1:INDEX(…), INDEX(…):INDEX(…)).
    bool parseRangeTerm();
    bool parsePrimary();
    bool parseNumber();
    bool parseString();
    bool parseErrorLiteral();
    bool parseArrayConstant();
    /// Reads whole columns ("A:C", "$B:$B") or whole rows ("1:1", "$2:5") at the position;
    /// false, with nothing read, when the text there is neither.
    bool tryWholeLines();
    bool parseWord();
    bool parseReference(size_t start, std::string_view word);
    bool parseCall(std::string_view name);
    bool parseIf();
    bool parseIfError();
    bool parseChoose();
    bool parseGenericCall(std::string_view name);
    /// Parses one argument; an omitted one emits PushMissing with `missing` as its operand.
    bool parseArgument(std::int32_t missing);
    bool expect(char c, const char* what);

    void skipSpaces();
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    bool enter();
    void leave() { --depth_; }
    bool fail(const std::string& message);
    bool failHere(const std::string& what);

    size_t emit(Op op, std::int32_t a = 0, std::uint16_t argc = 0);
    /// Emits an operator, marked to work on whole ranges inside an array argument.
    void emitOperator(Op op);
    /// Marks the reference the operand ends with (if any) to be read as a value.
    void makeValue(size_t last);
    /// True when the operand whose code ends at `last` may evaluate to a reference: a
    /// reference, a reference operator, a reference-valued function (INDEX, OFFSET,
    /// INDIRECT), IF or CHOOSE, one of these in parentheses, or an error literal (a reference
    /// broken by a deleted row reads #REF! and must read back).
    bool isReferenceValued(size_t last) const;

    std::string_view text_;
    size_t pos_ = 0;
    int col_;
    int row_;
    ReferenceStyle style_;
    int depth_ = 0;
    /// True while parsing an argument that is evaluated as an array (SUMPRODUCT's): ranges
    /// there stay whole instead of being read as one cell.
    bool arrayContext_ = false;
    std::string error_;
    std::shared_ptr<Formula> formula_;
};
} // namespace grid
