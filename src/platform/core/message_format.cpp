#include "platform/core/message_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ch {

namespace {

// Bounds a translation's width and precision: "%999999999d" must not allocate
// a gigabyte.
constexpr int kMaxWidth = 255;

enum class Conversion { Text, Integer, Real };

std::string integerText(std::int64_t v)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string realText(double v, int precision)
{
    if (!std::isfinite(v))
        return std::isnan(v) ? "nan" : (v < 0 ? "-inf" : "inf");
    char buf[400];   // 1e308 in fixed notation, plus up to kMaxWidth decimals
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
    if (r.ec != std::errc())
        return {};
    return std::string(buf, r.ptr);
}

std::string shortestText(double v)
{
    if (!std::isfinite(v))
        return realText(v, 0);
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string render(const FormatArg& arg, Conversion conv, int precision)
{
    const auto& v = arg.value();
    if (const auto* text = std::get_if<std::string>(&v))
        return *text;
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        if (conv == Conversion::Real)
            return realText(double(*i), precision < 0 ? 6 : precision);
        return integerText(*i);
    }
    double d = std::get<double>(v);
    switch (conv) {
    case Conversion::Real: return realText(d, precision < 0 ? 6 : precision);
    case Conversion::Integer:
        return (std::isfinite(d) && std::fabs(d) < 9.2e18) ? integerText(std::int64_t(d))
                                                            : realText(d, 0);
    case Conversion::Text: break;
    }
    return shortestText(d);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits, saturating at kMaxWidth.
int readNumber(std::string_view s, std::size_t& i)
{
    int n = 0;
    while (i < s.size() && isDigit(s[i])) {
        n = std::min(kMaxWidth, n * 10 + (s[i] - '0'));
        ++i;
    }
    return n;
}

} // namespace

std::string formatMessage(std::string_view format, std::span<const FormatArg> args)
{
    std::string out;
    out.reserve(format.size() + 16 * args.size());
    std::size_t nextArg = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t start = i++;
        if (i < format.size() && format[i] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        // %[n$][flags][width][.precision][length]conversion
        std::size_t argIndex = nextArg;
        bool positional = false;
        {
            std::size_t j = i;
            int n = readNumber(format, j);
            if (j > i && j < format.size() && format[j] == '$' && n > 0) {
                argIndex = std::size_t(n - 1);
                positional = true;
                i = j + 1;
            }
        }
        bool leftAlign = false;
        bool zeroPad = false;
        while (i < format.size() && std::string_view("-+ 0#").find(format[i]) != std::string_view::npos) {
            leftAlign |= format[i] == '-';
            zeroPad |= format[i] == '0';
            ++i;
        }
        int width = readNumber(format, i);
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            precision = readNumber(format, i);
        }
        while (i < format.size() && std::string_view("hlqLzjt").find(format[i]) != std::string_view::npos)
            ++i;
        if (i >= format.size()) {
            out.append(format.substr(start));
            break;
        }
        Conversion conv;
        switch (format[i]) {
        case '@':
        case 's': conv = Conversion::Text; break;
        case 'd':
        case 'i':
        case 'u': conv = Conversion::Integer; break;
        case 'f':
        case 'F': conv = Conversion::Real; break;
        default:
            // Not a placeholder we know: keep the text as written.
            out.append(format.substr(start, i + 1 - start));
            ++i;
            continue;
        }
        ++i;
        if (!positional)
            ++nextArg;
        if (argIndex >= args.size())
            continue;   // a placeholder without its argument stays empty
        std::string text = render(args[argIndex], conv, precision);
        if (int(text.size()) < width) {
            std::size_t pad = std::size_t(width) - text.size();
            if (leftAlign)
                text.append(pad, ' ');
            else if (zeroPad && conv != Conversion::Text) {
                std::size_t at = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
                text.insert(at, pad, '0');
            } else
                text.insert(0, pad, ' ');
        }
        out += text;
    }
    return out;
}

std::string formatMessage(std::string_view format, std::initializer_list<FormatArg> args)
{
    return formatMessage(format, std::span<const FormatArg>(args.begin(), args.size()));
}

} // namespace ch
