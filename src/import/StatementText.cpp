#include "import/StatementText.h"

#include "platform/core/text_encoding.h"
#include "platform/core/unicode.h"

namespace ch {

std::string statementText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        if (isValidUtf8(bytes)) return std::string(bytes);
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        if (std::optional<std::string> text = fromUtf16External(bytes)) return *text;
    } else if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return decode(bytes, encoding::windowsLatin1).value_or(std::string());
}

} // namespace ch
