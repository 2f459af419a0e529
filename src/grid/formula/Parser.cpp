#include "grid/formula/Parser.h"

#include "grid/formula/ReferenceText.h"

#include <charconv>
#include <cmath>
#include <exception>

namespace grid
{
namespace
{
/// Calls take at most this many arguments, as in the common spreadsheets.
constexpr int kMaxArguments = 255;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
}

bool isWordStart(char c)
{
    return isLetter(c) || c == '_' || c == '\\' || c == '$';
}

bool isWordChar(char c)
{
    return isWordStart(c) || isDigit(c) || c == '.';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// A name that may stand for a function or a defined name: no '$', not starting with a digit.
bool isIdentifier(std::string_view word)
{
    if (word.empty() || word[0] == '$' || word[0] == '.')
        return false;
    for (char c : word)
        if (c == '$')
            return false;
    return true;
}

/// True when `word` is `upper` with letter case ignored.
bool isWord(std::string_view word, std::string_view upper)
{
    if (word.size() != upper.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
    {
        char c = word[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}

struct BinaryOperator
{
    Op op;
    int precedence;
    size_t length;
};

/// The binary operator at the start of `text`, if any. Comparisons bind loosest, then
/// '&', then '+' '-', then '*' '/', then '^'; all associate to the left.
std::optional<BinaryOperator> binaryOperatorAt(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const char c = text[0];
    const char next = text.size() > 1 ? text[1] : '\0';
    switch (c)
    {
    case '=':
        return BinaryOperator{Op::Equal, 1, 1};
    case '<':
        if (next == '>')
            return BinaryOperator{Op::NotEqual, 1, 2};
        if (next == '=')
            return BinaryOperator{Op::LessEqual, 1, 2};
        return BinaryOperator{Op::Less, 1, 1};
    case '>':
        if (next == '=')
            return BinaryOperator{Op::GreaterEqual, 1, 2};
        return BinaryOperator{Op::Greater, 1, 1};
    case '&':
        return BinaryOperator{Op::Concat, 2, 1};
    case '+':
        return BinaryOperator{Op::Add, 3, 1};
    case '-':
        return BinaryOperator{Op::Subtract, 3, 1};
    case '*':
        return BinaryOperator{Op::Multiply, 4, 1};
    case '/':
        return BinaryOperator{Op::Divide, 4, 1};
    case '^':
        return BinaryOperator{Op::Power, 5, 1};
    default:
        return std::nullopt;
    }
}
} // namespace

Parser::Parser(std::string_view text, int col, int row, ReferenceStyle style)
    : text_(text), col_(col), row_(row), style_(style), formula_(std::make_shared<Formula>())
{
    // Roughly one instruction per two characters; saves regrowing for typical formulas.
    formula_->code.reserve(text.size() / 2 + 2);
}

ParseResult Parser::run()
{
    skipSpaces();
    if (peek() == '=')
    {
        ++pos_;
        skipSpaces();
    }
    if (atEnd())
        return {nullptr, "Empty formula"};
    if (!parseExpression(0))
        return {nullptr, error_};
    skipSpaces();
    if (!atEnd())
    {
        failHere("Unexpected '" + std::string(1, peek()) + "'");
        return {nullptr, error_};
    }
    return {std::move(formula_), {}};
}

bool Parser::fail(const std::string& message)
{
    if (error_.empty())
        error_ = message;
    return false;
}

bool Parser::failHere(const std::string& what)
{
    return fail(what + " at position " + std::to_string(pos_ + 1));
}

void Parser::skipSpaces()
{
    while (!atEnd() && isSpace(text_[pos_]))
        ++pos_;
}

bool Parser::enter()
{
    if (++depth_ > kMaxFormulaDepth)
        return failHere("Formula nested too deeply (more than " + std::to_string(kMaxFormulaDepth) +
                        " levels)");
    return true;
}

size_t Parser::emit(Op op, std::int32_t a, std::uint16_t argc)
{
    Instr instr;
    instr.op = op;
    instr.a = a;
    instr.argc = argc;
    formula_->code.push_back(instr);
    return formula_->code.size() - 1;
}

void Parser::emitOperator(Op op)
{
    emit(op);
    if (arrayContext_)
        formula_->code.back().flags = kArrayContext;
}

void Parser::makeValue(size_t last)
{
    if (arrayContext_)
        return;
    Instr& instr = formula_->code[last];
    if (instr.op == Op::PushRef)
        instr.op = Op::PushRefValue;
    else if (instr.op == Op::PushRange)
        instr.op = Op::PushRangeValue;
}

bool Parser::isReferenceValued(size_t last) const
{
    const std::vector<Instr>& code = formula_->code;
    for (size_t i = last + 1; i-- > 0;)
    {
        const Instr& instr = code[i];
        switch (instr.op)
        {
        case Op::PushRef:
        case Op::PushRange:
        case Op::PushError:
        case Op::CallReference:
        case Op::RangeSpan:
        case Op::Intersect:
        case Op::Union:
            return true;
        case Op::EndLazy:
            return static_cast<LazyFunction>(instr.a) != LazyFunction::IfError;
        case Op::Paren:
            continue; // the parenthesised operand ends just before
        default:
            return false;
        }
    }
    return false;
}

bool Parser::expect(char c, const char* what)
{
    skipSpaces();
    if (peek() != c)
        return atEnd() ? fail(std::string("Missing ") + what + " at end of formula")
                       : failHere(std::string("Expected ") + what);
    ++pos_;
    return true;
}

bool Parser::parseExpression(int minPrecedence)
{
    if (!parseOperand())
        return false;
    for (;;)
    {
        skipSpaces();
        auto op = binaryOperatorAt(text_.substr(pos_));
        if (!op || op->precedence < minPrecedence)
            return true;
        makeValue(formula_->code.size() - 1);
        pos_ += op->length;
        if (!parseExpression(op->precedence + 1))
            return false;
        makeValue(formula_->code.size() - 1);
        emitOperator(op->op);
    }
}

bool Parser::parseOperand()
{
    // Signs bind tighter than any binary operator, '^' included: -2^2 is 4.
    std::vector<Op> signs;
    skipSpaces();
    while (peek() == '-' || peek() == '+')
    {
        if (!enter())
            return false;
        signs.push_back(peek() == '-' ? Op::Negate : Op::UnaryPlus);
        ++pos_;
        skipSpaces();
    }
    if (!parseReferenceExpression())
        return false;
    for (auto it = signs.rbegin(); it != signs.rend(); ++it)
    {
        makeValue(formula_->code.size() - 1);
        emitOperator(*it);
        leave();
    }
    skipSpaces();
    while (peek() == '%')
    {
        makeValue(formula_->code.size() - 1);
        emitOperator(Op::Percent);
        ++pos_;
        skipSpaces();
    }
    return true;
}

bool Parser::parseReferenceExpression()
{
    if (!parseRangeTerm())
        return false;
    for (;;)
    {
        // A blank between a reference-valued operand and the start of another operand is
        // the intersection operator. Nothing else may stand there, so every text that
        // parsed before the operator existed still parses the same.
        const size_t before = pos_;
        skipSpaces();
        const char c = peek();
        if (pos_ == before || atEnd() || !isReferenceValued(formula_->code.size() - 1) ||
            !(isWordStart(c) || isDigit(c) || c == '(' || c == '#'))
        {
            pos_ = before;
            return true;
        }
        const size_t operandStart = pos_;
        if (!parseRangeTerm())
            return false;
        if (!isReferenceValued(formula_->code.size() - 1))
        {
            pos_ = operandStart;
            return failHere("Unexpected '" + std::string(1, c) + "'");
        }
        emit(Op::Intersect);
    }
}

bool Parser::parseRangeTerm()
{
    if (!parsePrimary())
        return false;
    while (peek() == ':')
    {
        if (!isReferenceValued(formula_->code.size() - 1))
            return failHere("Unexpected ':'");
        ++pos_;
        const size_t operandStart = pos_;
        if (atEnd())
            return failHere("Invalid range end");
        if (!parsePrimary())
            return false;
        if (!isReferenceValued(formula_->code.size() - 1))
        {
            pos_ = operandStart;
            return failHere("Invalid range end");
        }
        emit(Op::RangeSpan);
    }
    return true;
}

bool Parser::parsePrimary()
{
    skipSpaces();
    if (atEnd())
        return fail("Missing operand at end of formula");
    const char c = peek();
    if (c == '(')
    {
        if (!enter())
            return false;
        ++pos_;
        if (!parseExpression(0))
            return false;
        skipSpaces();
        // (A1:B2,D4): a ',' after a reference inside parentheses joins references into a union.
        if (peek() == ',' && isReferenceValued(formula_->code.size() - 1))
        {
            int count = 1;
            while (peek() == ',')
            {
                ++pos_;
                if (++count > kMaxArguments)
                    return failHere("Too many references in a union");
                skipSpaces();
                const size_t operandStart = pos_;
                if (!parseExpression(0))
                    return false;
                if (!isReferenceValued(formula_->code.size() - 1))
                {
                    pos_ = operandStart;
                    return failHere("Expected a reference");
                }
                skipSpaces();
            }
            emit(Op::Union, 0, static_cast<std::uint16_t>(count));
        }
        if (!expect(')', "')'"))
            return false;
        emit(Op::Paren);
        leave();
        return true;
    }
    if (style_ == ReferenceStyle::A1 && (isDigit(c) || isLetter(c) || c == '$') && tryWholeLines())
        return true;
    if (isDigit(c) || c == '.')
        return parseNumber();
    if (c == '"')
        return parseString();
    if (c == '#')
        return parseErrorLiteral();
    if (c == '{')
        return parseArrayConstant();
    if (isWordStart(c))
        return parseWord();
    return failHere("Unexpected '" + std::string(1, c) + "'");
}

bool Parser::parseNumber()
{
    const size_t start = pos_;
    size_t i = pos_;
    bool digits = false;
    while (i < text_.size() && isDigit(text_[i]))
    {
        ++i;
        digits = true;
    }
    if (i < text_.size() && text_[i] == '.')
    {
        ++i;
        while (i < text_.size() && isDigit(text_[i]))
        {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return failHere("Malformed number");
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E'))
    {
        size_t k = i + 1;
        if (k < text_.size() && (text_[k] == '+' || text_[k] == '-'))
            ++k;
        if (k >= text_.size() || !isDigit(text_[k]))
            return failHere("Malformed number");
        while (k < text_.size() && isDigit(text_[k]))
            ++k;
        i = k;
    }
    if (i < text_.size() && isWordChar(text_[i]))
    {
        pos_ = i;
        return failHere("Unexpected '" + std::string(1, text_[i]) + "' after a number");
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + i, value);
    if (ec != std::errc() || end != text_.data() + i || !std::isfinite(value))
        return failHere("Number out of range");
    pos_ = i;
    emit(Op::PushNumber, static_cast<std::int32_t>(formula_->numbers.size()));
    formula_->numbers.push_back(value);
    return true;
}

bool Parser::parseString()
{
    const size_t start = pos_;
    std::string value;
    ++pos_;
    for (;;)
    {
        if (atEnd())
        {
            pos_ = start;
            return failHere("Unterminated text");
        }
        const char c = text_[pos_++];
        if (c == '"')
        {
            if (peek() != '"')
                break;
            ++pos_;
        }
        value += c;
    }
    emit(Op::PushText, static_cast<std::int32_t>(formula_->texts.size()));
    formula_->texts.push_back(std::move(value));
    return true;
}

bool Parser::parseErrorLiteral()
{
    size_t best = 0;
    ErrorCode code = ErrorCode::Value;
    for (int i = 0; i <= static_cast<int>(ErrorCode::Circular); ++i)
    {
        const std::string_view candidate = errorText(static_cast<ErrorCode>(i));
        if (candidate.size() <= best || text_.size() - pos_ < candidate.size())
            continue;
        if (parseErrorText(text_.substr(pos_, candidate.size())) == static_cast<ErrorCode>(i))
        {
            best = candidate.size();
            code = static_cast<ErrorCode>(i);
        }
    }
    if (best == 0)
        return failHere("Unknown error value");
    pos_ += best;
    emit(Op::PushError, static_cast<std::int32_t>(code));
    return true;
}

bool Parser::tryWholeLines()
{
    // One side of "A:C" or "1:3": an optional '$' and letters (columns) or digits (rows).
    struct Side
    {
        long value = 0;
        bool absolute = false;
        size_t end = 0;
    };
    auto side = [this](size_t at, bool letters) -> std::optional<Side>
    {
        Side out;
        if (at < text_.size() && text_[at] == '$')
        {
            out.absolute = true;
            ++at;
        }
        size_t count = 0;
        while (at < text_.size() && count < 8)
        {
            const char ch = text_[at];
            if (letters && ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')))
                out.value = out.value * 26 + ((ch & ~0x20) - 'A' + 1);
            else if (!letters && isDigit(ch))
                out.value = out.value * 10 + (ch - '0');
            else
                break;
            ++at;
            ++count;
        }
        if (count == 0 || out.value < 1 || out.value > (letters ? kMaxFormulaCol : kMaxFormulaRow))
            return std::nullopt;
        out.end = at;
        return out;
    };
    const char first = text_[pos_] == '$' && pos_ + 1 < text_.size() ? text_[pos_ + 1] : text_[pos_];
    const bool letters = isLetter(first);
    const auto from = side(pos_, letters);
    if (!from || from->end >= text_.size() || text_[from->end] != ':')
        return false;
    const auto to = side(from->end + 1, letters);
    if (!to || (to->end < text_.size() && (isWordChar(text_[to->end]) || text_[to->end] == '(')))
        return false;
    Instr instr;
    instr.op = Op::PushRange;
    const int base = letters ? col_ : row_;
    const std::int32_t lo = static_cast<std::int32_t>(from->absolute ? from->value : from->value - base);
    const std::int32_t hi = static_cast<std::int32_t>(to->absolute ? to->value : to->value - base);
    if (letters)
    {
        instr.a = lo;
        instr.c = hi;
        instr.b = 1;
        instr.d = kMaxFormulaRow;
        instr.flags = static_cast<std::uint8_t>(kWholeColumns | kRowAbsolute | kRow2Absolute |
                                                (from->absolute ? kColAbsolute : 0) |
                                                (to->absolute ? kCol2Absolute : 0));
    }
    else
    {
        instr.b = lo;
        instr.d = hi;
        instr.a = 1;
        instr.c = kMaxFormulaCol;
        instr.flags = static_cast<std::uint8_t>(kWholeRows | kColAbsolute | kCol2Absolute |
                                                (from->absolute ? kRowAbsolute : 0) |
                                                (to->absolute ? kRow2Absolute : 0));
    }
    formula_->code.push_back(instr);
    pos_ = to->end;
    return true;
}

bool Parser::parseArrayConstant()
{
    if (!enter())
        return false;
    leave();
    // Constants only, as in spreadsheets: numbers (with a sign), texts, logicals and
    // errors; ',' separates columns and ';' rows, and every row has the same length.
    ++pos_;
    Arg array;
    array.kind = Arg::Kind::Array;
    int cols = 0, rows = 0, inRow = 0;
    std::string written = "{"; // the constant as printed back: no blanks, names in upper case
    for (;;)
    {
        skipSpaces();
        const size_t at = pos_;
        bool negative = false;
        if (peek() == '-' || peek() == '+')
        {
            negative = peek() == '-';
            ++pos_;
            skipSpaces();
        }
        const size_t codeSize = formula_->code.size();
        const char c = peek();
        bool ok = false;
        if (isDigit(c) || c == '.')
            ok = parseNumber();
        else if (pos_ == at && c == '"')
            ok = parseString();
        else if (pos_ == at && c == '#')
            ok = parseErrorLiteral();
        else if (pos_ == at && isWordStart(c))
        {
            size_t end = pos_;
            while (end < text_.size() && isWordChar(text_[end]))
                ++end;
            const std::string_view word = text_.substr(pos_, end - pos_);
            if (isWord(word, "TRUE") || isWord(word, "FALSE"))
            {
                emit(Op::PushLogical, isWord(word, "TRUE") ? 1 : 0);
                pos_ = end;
                ok = true;
            }
        }
        if (!ok)
        {
            if (error_.empty())
                pos_ = at;
            return fail(error_.empty()
                            ? "Array constants hold only numbers, texts, logicals and errors at position " +
                                  std::to_string(at + 1)
                            : error_);
        }
        const Instr element = formula_->code.back();
        formula_->code.resize(codeSize);
        if (negative)
            written += '-';
        if (element.op == Op::PushLogical)
            written += element.a ? "TRUE" : "FALSE";
        else if (element.op == Op::PushError)
            written += errorText(static_cast<ErrorCode>(element.a));
        else
        {
            std::string_view token = text_.substr(at, pos_ - at);
            while (!token.empty() && (token.front() == '-' || token.front() == '+' || isSpace(token.front())))
                token.remove_prefix(1);
            written += token;
        }
        switch (element.op)
        {
        case Op::PushNumber:
            array.array.push_back(
                Value::number(negative ? -formula_->numbers[element.a] : formula_->numbers[element.a]));
            formula_->numbers.pop_back();
            break;
        case Op::PushText:
            array.array.push_back(Value::text(formula_->texts[element.a]));
            formula_->texts.pop_back();
            break;
        case Op::PushLogical:
            array.array.push_back(Value::logical(element.a != 0));
            break;
        default:
            array.array.push_back(Value::error(static_cast<ErrorCode>(element.a)));
            break;
        }
        ++inRow;
        skipSpaces();
        const char next = peek();
        if (next == ',')
        {
            written += ',';
            ++pos_;
            continue;
        }
        written += next;
        if (next != ';' && next != '}')
            return atEnd() ? fail("Missing '}' at end of formula") : failHere("Expected ',', ';' or '}'");
        if (rows > 0 && inRow != cols)
            return failHere("Rows of an array constant differ in length");
        cols = inRow;
        inRow = 0;
        ++rows;
        ++pos_;
        if (next == '}')
            break;
    }
    array.arrayRows = rows;
    array.arrayCols = cols;
    Instr instr;
    instr.op = Op::PushArray;
    instr.a = static_cast<std::int32_t>(formula_->arrays.size());
    instr.b = static_cast<std::int32_t>(formula_->texts.size());
    formula_->arrays.push_back(std::move(array));
    formula_->texts.push_back(std::move(written));
    formula_->code.push_back(instr);
    return true;
}

bool Parser::parseWord()
{
    const size_t start = pos_;
    if (style_ == ReferenceStyle::R1C1)
    {
        size_t length = 0;
        if (parseR1C1(text_.substr(pos_), length))
        {
            const size_t after = pos_ + length;
            if (after >= text_.size() ||
                (!isWordChar(text_[after]) && text_[after] != '(' && text_[after] != '['))
                return parseReference(start, text_.substr(start, length));
        }
    }
    size_t end = pos_;
    while (end < text_.size() && isWordChar(text_[end]))
        ++end;
    const std::string_view word = text_.substr(start, end - start);
    pos_ = end;
    if (peek() == '(')
    {
        if (!isIdentifier(word))
        {
            pos_ = start;
            return failHere("Invalid function name '" + std::string(word) + "'");
        }
        return parseCall(word);
    }
    if (style_ == ReferenceStyle::A1 && parseA1(word, col_, row_))
        return parseReference(start, word);
    if (isWord(word, "TRUE") || isWord(word, "FALSE"))
    {
        emit(Op::PushLogical, isWord(word, "TRUE") ? 1 : 0);
        return true;
    }
    // A name that reads as a reference in the other style would turn into that reference
    // once the formula is shown or saved in that style (files hold A1), so it is no name.
    size_t length = 0;
    if (!isIdentifier(word) || (style_ == ReferenceStyle::R1C1 && parseA1(word, col_, row_)) ||
        (style_ == ReferenceStyle::A1 && parseR1C1(word, length) && length == word.size()))
    {
        pos_ = start;
        return failHere("Invalid name '" + std::string(word) + "'");
    }
    emit(Op::PushName, static_cast<std::int32_t>(formula_->texts.size()));
    formula_->texts.emplace_back(word);
    return true;
}

bool Parser::parseReference(size_t start, std::string_view word)
{
    auto readCorner = [this](std::string_view text, size_t& length) -> std::optional<RefCorner>
    {
        if (style_ == ReferenceStyle::R1C1)
            return parseR1C1(text, length);
        size_t end = 0;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        length = end;
        return parseA1(text.substr(0, end), col_, row_);
    };
    size_t length = 0;
    auto first = readCorner(word, length);
    pos_ = start + length;
    Instr instr;
    instr.op = Op::PushRef;
    instr.a = first->col;
    instr.b = first->row;
    instr.flags = static_cast<std::uint8_t>((first->colAbsolute ? kColAbsolute : 0) |
                                            (first->rowAbsolute ? kRowAbsolute : 0));
    if (peek() == ':')
    {
        // A1:B2 is one range; A1:INDEX(…) or A1:(B2) is the range operator, left to the caller.
        auto second = readCorner(text_.substr(pos_ + 1), length);
        const size_t after = pos_ + 1 + length;
        if (!second || (after < text_.size() && (isWordChar(text_[after]) || text_[after] == '(')))
        {
            formula_->code.push_back(instr);
            return true;
        }
        pos_ = after;
        instr.op = Op::PushRange;
        instr.c = second->col;
        instr.d = second->row;
        instr.flags |= static_cast<std::uint8_t>((second->colAbsolute ? kCol2Absolute : 0) |
                                                 (second->rowAbsolute ? kRow2Absolute : 0));
    }
    formula_->code.push_back(instr);
    return true;
}

bool Parser::parseCall(std::string_view name)
{
    if (!enter())
        return false;
    ++pos_; // '('
    // SUMPRODUCT evaluates its arguments as arrays, and so does a function worked element by
    // element inside them (LEN in SUMPRODUCT(LEN(A1:A5))); any other call reads them as usual.
    const bool outerArrayContext = arrayContext_;
    arrayContext_ = isWord(name, "SUMPRODUCT") || (outerArrayContext && worksElementWise(name));
    bool ok = false;
    if (isWord(name, "IF"))
        ok = parseIf();
    else if (isWord(name, "IFERROR"))
        ok = parseIfError();
    else if (isWord(name, "CHOOSE"))
        ok = parseChoose();
    else
        ok = parseGenericCall(name);
    arrayContext_ = outerArrayContext;
    if (ok)
        leave();
    return ok;
}

bool Parser::parseArgument(std::int32_t missing)
{
    skipSpaces();
    if (peek() == ',' || peek() == ')')
    {
        emit(Op::PushMissing, missing);
        return true;
    }
    return parseExpression(0);
}

bool Parser::parseIf()
{
    const size_t callStart = pos_;
    if (!parseArgument(0))
        return false;
    skipSpaces();
    if (peek() != ',')
    {
        pos_ = callStart;
        return failHere("IF needs 2 or 3 arguments");
    }
    ++pos_;
    const size_t condition = emit(Op::JumpIfFalse);
    if (!parseArgument(1))
        return false;
    const size_t jumpToEnd = emit(Op::Jump);
    auto& code = formula_->code;
    code[condition].a = static_cast<std::int32_t>(code.size());
    std::uint16_t argc = 2;
    skipSpaces();
    if (peek() == ',')
    {
        ++pos_;
        if (!parseArgument(1))
            return false;
        argc = 3;
    }
    else
    {
        emit(Op::PushLogical, 0);
        code.back().flags = kHidden;
    }
    skipSpaces();
    if (peek() == ',')
        return failHere("IF needs 2 or 3 arguments");
    if (!expect(')', "')'"))
        return false;
    const auto end = static_cast<std::int32_t>(code.size());
    code[condition].b = end;
    code[jumpToEnd].a = end;
    emit(Op::EndLazy, static_cast<std::int32_t>(LazyFunction::If), argc);
    return true;
}

bool Parser::parseIfError()
{
    if (!parseArgument(1))
        return false;
    skipSpaces();
    if (peek() != ',')
        return failHere("IFERROR needs 2 arguments");
    ++pos_;
    const size_t test = emit(Op::JumpIfNotError);
    if (!parseArgument(1))
        return false;
    skipSpaces();
    if (peek() == ',')
        return failHere("IFERROR needs 2 arguments");
    if (!expect(')', "')'"))
        return false;
    auto& code = formula_->code;
    code[test].a = static_cast<std::int32_t>(code.size());
    emit(Op::EndLazy, static_cast<std::int32_t>(LazyFunction::IfError), 2);
    return true;
}

bool Parser::parseChoose()
{
    if (!parseArgument(0))
        return false;
    auto& code = formula_->code;
    const size_t choose = emit(Op::Choose);
    std::vector<std::int32_t> starts;
    std::vector<size_t> jumps;
    skipSpaces();
    while (peek() == ',')
    {
        ++pos_;
        if (static_cast<int>(starts.size()) + 1 >= kMaxArguments)
            return failHere("Too many arguments");
        starts.push_back(static_cast<std::int32_t>(code.size()));
        if (!parseArgument(1))
            return false;
        jumps.push_back(emit(Op::Jump));
        skipSpaces();
    }
    if (starts.empty())
        return failHere("CHOOSE needs at least 2 arguments");
    if (!expect(')', "')'"))
        return false;
    const auto end = static_cast<std::int32_t>(code.size());
    for (size_t jump : jumps)
        code[jump].a = end;
    code[choose].a = static_cast<std::int32_t>(formula_->targets.size());
    code[choose].b = end;
    code[choose].argc = static_cast<std::uint16_t>(starts.size());
    formula_->targets.insert(formula_->targets.end(), starts.begin(), starts.end());
    emit(Op::EndLazy, static_cast<std::int32_t>(LazyFunction::Choose),
         static_cast<std::uint16_t>(starts.size() + 1));
    return true;
}

bool Parser::parseGenericCall(std::string_view name)
{
    const size_t nameStart = pos_ - 1 - name.size();
    int argc = 0;
    skipSpaces();
    if (peek() == ')')
        ++pos_;
    else
    {
        for (;;)
        {
            if (++argc > kMaxArguments)
                return failHere("Too many arguments");
            if (!parseArgument(0))
                return false;
            skipSpaces();
            if (peek() == ',')
            {
                ++pos_;
                continue;
            }
            if (!expect(')', "')' or ','"))
                return false;
            break;
        }
    }
    if (const FunctionInfo* info = findBuiltin(name))
    {
        if (argc < info->minArgs || (info->maxArgs >= 0 && argc > info->maxArgs))
        {
            pos_ = nameStart;
            return failHere("Wrong number of arguments for " + std::string(info->name));
        }
        const std::string_view fname = info->name;
        // INDIRECT and OFFSET read cells no reference in the text names, so no dependency
        // can tell when their result changes: they are calculated at every change.
        if (fname == "RAND" || fname == "NOW" || fname == "TODAY" || fname == "RANDBETWEEN" ||
            fname == "INDIRECT" || fname == "OFFSET")
            formula_->isVolatile = true;
        if (ReferenceBody body = findReferenceBody(info))
        {
            const size_t at = emit(Op::CallReference, static_cast<std::int32_t>(formula_->builtins.size()),
                                   static_cast<std::uint16_t>(argc));
            formula_->code[at].b = static_cast<std::int32_t>(formula_->referenceBodies.size());
            formula_->referenceBodies.push_back(body);
        }
        else
        {
            emit(Op::CallBuiltin, static_cast<std::int32_t>(formula_->builtins.size()),
                 static_cast<std::uint16_t>(argc));
            if (arrayContext_)
                formula_->code.back().flags = kArrayContext;
        }
        formula_->builtins.push_back(info);
        return true;
    }
    emit(Op::CallNamed, static_cast<std::int32_t>(formula_->texts.size()), static_cast<std::uint16_t>(argc));
    formula_->texts.emplace_back(name);
    return true;
}

ParseResult parseFormula(std::string_view text, int col, int row, ReferenceStyle style)
{
    try
    {
        return Parser(text, col, row, style).run();
    }
    catch (const std::exception& e)
    {
        return {nullptr, std::string("Formula could not be read: ") + e.what()};
    }
}
} // namespace grid
