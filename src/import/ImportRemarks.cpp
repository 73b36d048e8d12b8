#include "import/ImportRemarks.h"

namespace ch {

namespace {

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

std::string remarkOnOneLine(std::string_view remark)
{
    std::string joined;
    while (!remark.empty()) {
        const std::size_t end = remark.find('\r');
        const std::string_view comment = trimmed(remark.substr(0, end));
        remark = end == std::string_view::npos ? std::string_view() : remark.substr(end + 1);
        if (comment.empty()) continue;
        if (!joined.empty())
            joined += std::string_view(".;:!?").find(joined.back()) != std::string_view::npos ? " " : "; ";
        joined += comment;
    }
    return joined;
}

} // namespace ch
