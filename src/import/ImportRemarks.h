#pragma once
// An imported line's remark as one line of text: its comments, kept apart
// by carriage returns, joined with "; " - or with a blank only after a
// comment that ends in its own punctuation, so that none reads ".;".

#include <string>
#include <string_view>

namespace ch {

std::string remarkOnOneLine(std::string_view remark);

} // namespace ch
