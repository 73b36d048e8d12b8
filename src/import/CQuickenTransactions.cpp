// The QIF registers: the headers that begin them, and the reading of their
// records (QifRegisterReader).

#include "import/CQuickenData.h"
#include "import/ImportText.h"
#include "import/QifRegisterReader.h"
#include "platform/core/unicode.h"

namespace ch {

bool CQuickenData::isStatementHeader(std::string_view header)
{
    for (const std::string_view kind : {"!type:bank", "!type:cash", "!type:ccard", "!type:oth a", "!type:oth l"})
        if (equalsCaseInsensitive(header, kind)) return true;
    return false;
}

void CQuickenData::scanRegisters(std::vector<std::string>& dates, std::vector<std::string>& amounts)
{
    // The same header rules as QifRegisterReader; the reader steps back to
    // where it began.
    std::size_t read = 0;
    bool headerMode = false;
    bool list = false;
    while (std::optional<std::string> raw = nextLine()) {
        ++read;
        if (raw->empty()) continue;
        const std::string_view text = std::string_view(*raw).substr(1);
        switch (raw->front()) {
        case '!': {
            const std::string_view header = withoutTrailingBlanks(*raw);
            if (header.substr(1, 4) == "Acco") {
                headerMode = true;
            } else if (header.substr(1, 4) == "Type") {
                headerMode = false;
                list = isQifListHeader(header);
            }
            break;
        }
        case 'D':
            if (!headerMode && !list) dates.emplace_back(trimmedText(text));
            break;
        case 'T':
        case 'U':
        case '$':
            if (!list) amounts.emplace_back(trimmedText(text));
            break;
        default: break;
        }
    }
    while (read-- > 0) ResetToStartOfLastRecord();
}

std::int32_t CQuickenData::fetchTransactions(std::vector<CImpTItem::Ptr>& lines)
{
    if (!theDocument) return kNoMoreRecords;
    QifRegisterReader(*this, lines).readToEnd();
    return kNoMoreRecords;
}

} // namespace ch
