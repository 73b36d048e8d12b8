#include "bridge/AmountExpression.h"

#include <cmath>

namespace ch {

namespace {

std::string withoutAll(std::string_view text, std::string_view piece)
{
    std::string out(text);
    if (piece.empty())
        return out;
    for (std::size_t at = out.find(piece); at != std::string::npos; at = out.find(piece, at))
        out.erase(at, piece.size());
    return out;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

bool containsAmountOperator(std::string_view text)
{
    return text.find_first_of(kAmountOperators) != std::string_view::npos;
}

std::optional<double> readAmountOperand(std::string_view text, const AmountSeparators& separators)
{
    std::string plain = withoutAll(text, separators.thousands);
    std::size_t begin = 0, end = plain.size();
    while (begin < end && isBlank(plain[begin]))
        ++begin;
    while (end > begin && isBlank(plain[end - 1]))
        --end;
    plain = plain.substr(begin, end - begin);
    if (plain.empty())
        return 0.0;
    double whole = 0.0, fraction = 0.0, scale = 1.0;
    bool inFraction = false, anyDigit = false;
    const std::string& decimal = separators.decimal.empty() ? std::string(".") : separators.decimal;
    for (std::size_t i = 0; i < plain.size();) {
        const char c = plain[i];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (inFraction) {
                scale /= 10.0;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10.0 + (c - '0');
            }
            ++i;
        } else if (!inFraction && plain.compare(i, decimal.size(), decimal) == 0) {
            inFraction = true;
            i += decimal.size();
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    return whole + fraction;
}

std::optional<double> evaluateAmountExpression(std::string_view text, const AmountSeparators& separators)
{
    auto nextOperator = [&](std::size_t from) { return text.find_first_of(kAmountOperators, from); };
    std::size_t at = nextOperator(0);
    std::optional<double> result = readAmountOperand(text.substr(0, at == std::string_view::npos ? text.size() : at),
                                                     separators);
    if (!result)
        return std::nullopt;
    while (at != std::string_view::npos && at + 1 < text.size()) {
        const char op = text[at];
        const std::size_t operandStart = at + 1;
        const std::size_t next = nextOperator(operandStart);
        const std::size_t operandEnd = next == std::string_view::npos ? text.size() : next;
        const std::optional<double> operand =
            readAmountOperand(text.substr(operandStart, operandEnd - operandStart), separators);
        if (!operand)
            return std::nullopt;
        switch (op) {
        case '+': *result += *operand; break;
        case '-': *result -= *operand; break;
        case '*': *result *= *operand; break;
        default:   // "/" and ":"
            if (*operand == 0.0)
                return std::nullopt;
            *result /= *operand;
            break;
        }
        at = next;
    }
    if (!std::isfinite(*result))
        return std::nullopt;
    return result;
}

} // namespace ch
