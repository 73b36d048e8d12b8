// The QIF file structure: the header dispatch, category lists and account lists.

#include "import/CQuickenData.h"

#include "import/ImportDocument.h"
#include "import/ImportLookups.h"
#include "import/ImportText.h"
#include "model/CAccType.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CExpenseTypeArray.h"
#include "model/CMasterExpenseType.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

constexpr ObjectIdT kLiabilityTypeId = 2;   // the account type of credit cards and other liabilities
constexpr ObjectIdT kAssetTypeId = 6;       // the account type of other assets

bool isHeader(std::string_view line)
{
    return line.starts_with('!');
}

std::vector<std::string_view> partsOf(std::string_view name)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t colon = name.find(':', start);
        parts.push_back(name.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    return parts;
}

// The character at a place of the line; 0 beyond its end.
char characterAt(std::string_view line, std::size_t place)
{
    return place < line.size() ? line[place] : '\0';
}

} // namespace

CQuickenData::CQuickenData(std::string_view text, const Dictionary* definition, ImportDocument* document)
    : CTextTableData(text, definition), theDocument(document)
{
}

std::optional<std::string> CQuickenData::nextFilledLine()
{
    while (std::optional<std::string> line = nextLine())
        if (!line->empty()) return line;
    return std::nullopt;
}

bool CQuickenData::mayCreate()
{
    if (mCreated >= kMaxCreatedObjects) return false;
    ++mCreated;
    return true;
}

std::vector<CImpTItem::Ptr> CQuickenData::Import()
{
    std::vector<CImpTItem::Ptr> lines;
    if (!theDocument) return lines;
    bool headerSeen = false;
    while (std::optional<std::string> line = nextFilledLine()) {
        std::string header(withoutTrailingBlanks(*line));
        if (!headerSeen && header == "C*") {
            ib_creditCardTransaction = true;
            if (importDefaultsOf(theDocument->books()).creditCardAccount <= 0) {
                CErrorManager::RaiseError(kNoCreditCardAccountError);
                mError = kNoCreditCardAccountError;
                return {};
            }
            header = "!C*";
        }
        if (!isHeader(header)) continue;
        headerSeen = true;
        if (header == "!Type:Cat") {
            Fetch_Categories();
        } else if (header == "!Type:Security") {
            // Its records are skipped as lines without a header.
        } else if (header == "!Option:AutoSwitch") {
            bool found = false;
            while (std::optional<std::string> next = nextFilledLine()) {
                if (withoutTrailingBlanks(*next) == "!Account") {
                    found = true;
                    break;
                }
            }
            if (!found) break;
            Fetch_Accounts();
        } else if (header == "!Account" || header == "!C*") {
            ResetToStartOfLastRecord();
            fetchTransactions(lines);
            break;
        } else if (equalsCaseInsensitive(header, "!Type:CCard")) {
            ib_creditCardTransaction = true;
            fetchTransactions(lines);
            break;
        } else if (isStatementHeader(header) || header.find("!Account:") != std::string::npos) {
            fetchTransactions(lines);
            break;
        }
    }
    // Without a type line nothing says what the records are: say that this
    // is why the file gave nothing (an empty file says nothing).
    if (lines.empty() && mError == 0 && lacksTypeLine()) mNotes.push_back(localized("QIFNOTYPE"));
    return lines;
}

bool CQuickenData::lacksTypeLine()
{
    while (ResetToStartOfLastRecord()) {
    }
    bool text = false;
    while (std::optional<std::string> line = nextFilledLine()) {
        const std::string_view trimmed = trimmedText(*line);
        if (startsWithCaseInsensitive(trimmed, "!Type:")) return false;
        text = text || !trimmed.empty();
    }
    return text;
}

// --- category lists

bool CQuickenData::isItemMasterType(std::string_view name, std::optional<std::string_view> nextName,
                                    std::string& parentName, std::string& childName)
{
    const std::vector<std::string_view> parts = partsOf(name);
    const std::vector<std::string_view> nextParts = nextName ? partsOf(*nextName) : std::vector<std::string_view>();
    childName = std::string(parts.back());
    parentName = parts.size() >= 2 ? std::string(parts[parts.size() - 2]) : std::string();
    return nextParts.size() == parts.size() + 1 && parts.back() == nextParts[nextParts.size() - 2];
}

void CQuickenData::Fetch_Categories()
{
    CDocAccounting& books = theDocument->books();
    for (;;) {
        std::optional<std::string> line = nextFilledLine();
        if (!line) return;
        if (isHeader(*line)) {
            ResetToStartOfLastRecord();
            return;
        }
        // A record: name and description are its own; the kind carries over.
        std::string name;
        std::string description;
        int lineNumber = 0;
        bool ended = false;
        for (; line; line = nextFilledLine()) {
            if (isHeader(*line)) {
                // A record cut short by the next section makes nothing.
                ResetToStartOfLastRecord();
                return;
            }
            ++lineNumber;
            const char letter = line->front();
            const std::string_view text = std::string_view(*line).substr(1);
            if (letter == '^') {
                ended = true;
                break;
            }
            if (letter == 'N') name = text;
            else if (letter == 'D') description = text;
            else if (lineNumber == 3 && letter == 'I') mCategoryKind = 0;
            else if (lineNumber == 3 && letter == 'E') mCategoryKind = 1;
            else if (lineNumber == 3 && letter == 'T') mCategoryKind = 2;
        }
        if (!ended) return;

        const std::optional<std::string> peeked = peekNextRecord();
        std::optional<std::string_view> nextName;
        if (peeked && peeked->starts_with('N')) nextName = std::string_view(*peeked).substr(1);

        std::string parentName;
        std::string childName;
        const bool isGroup = isItemMasterType(name, nextName, parentName, childName);
        // The parent is the group this file made under that path; else the
        // books' group of that name.
        const std::string_view parentPath =
            std::string_view(name).substr(0, name.size() - std::min(name.size(), childName.size() + 1));
        std::optional<ObjectIdT> parentId;
        if (!parentName.empty()) {
            if (const auto made = mGroupsByPath.find(parentPath); made != mGroupsByPath.end()) parentId = made->second;
            else if (const CMasterExpenseType* parent = books.GetMasterExpenseTypeForName(parentName))
                parentId = parent->Get_Id();
        }
        if (!childName.empty() && (isGroup || !parentName.empty()) && mayCreate()) {
            // The books hold one group or category per name: one of the same
            // name in another group keeps its place, and this one is named by
            // its path, so that both stay.
            if (isGroup) {
                const ObjectIdT parent = parentName.empty() ? mCategoryKind : parentId.value_or(-1);
                const CMasterExpenseType* same = books.GetMasterExpenseTypeForName(childName);
                const bool elsewhere = same && same->Get_mParentId() != parent;
                const ObjectIdT id = theDocument->createCategoryGroup(elsewhere ? std::string_view(name) : childName,
                                                                      mCategoryKind, parent);
                if (id > 0) mGroupsByPath[name] = id;
            } else {
                const ObjectIdT group = parentId.value_or(-1);
                const CExpenseType* same = categoryForName(books, childName);
                const bool elsewhere = same && group > 0 && same->Get_mMasterType() != group;
                const ObjectIdT id = theDocument->createCategory(elsewhere ? std::string_view(name) : childName,
                                                                 description, mCategoryKind, group);
                if (id > 0) mCategoriesByPath[name] = id;
            }
        }
        if (peeked && isHeader(*peeked)) return;
    }
}

CExpenseType* CQuickenData::categoryForPath(std::string_view path)
{
    CDocAccounting& books = theDocument->books();
    if (const auto made = mCategoriesByPath.find(path); made != mCategoriesByPath.end())
        if (CExpenseType* category = categoryForId(books, made->second)) return category;
    const std::vector<std::string_view> parts = partsOf(path);
    if (parts.size() >= 2 && books.mExpenseTypeList) {
        // The category of that name whose groups, upwards, carry the path's names.
        auto groupsMatch = [&](ObjectIdT groupId) {
            for (std::size_t part = parts.size() - 1; part-- > 0;) {
                const CMasterExpenseType* group = books.GetMasterExpenseTypeForId(groupId);
                if (!group || !equalsCaseInsensitive(group->Get_StringrefName(), parts[part])) return false;
                groupId = group->Get_mParentId();
            }
            return true;
        };
        const CExpenseTypeArray& list = *books.mExpenseTypeList;
        const auto count = static_cast<ArrayIndexT>(list.GetCount());
        for (ArrayIndexT i = 1; i <= count; ++i) {
            CNonVisual* object = list.ObjectAt(i);
            if (!object || object->Get_ObjectType() != type::kExpenseType) continue;
            auto* category = static_cast<CExpenseType*>(object);
            if (equalsCaseInsensitive(category->Get_StringrefName(), parts.back()) &&
                groupsMatch(category->Get_mMasterType()))
                return category;
        }
    }
    if (CExpenseType* category = categoryForName(books, path)) return category;
    if (parts.size() >= 2) return categoryForName(books, parts.back());
    return nullptr;
}

// --- account lists

void CQuickenData::Fetch_Accounts()
{
    CDocAccounting& books = theDocument->books();
    const ImportDefaults defaults = importDefaultsOf(books);
    const ObjectIdT propertyType = defaults.ownPropertyAccountType;
    const ObjectIdT portfolioType = defaults.portfolioAccountType;
    auto exists = [&](ObjectIdT typeId) { return typeId > 0 && books.GetAccountTypeForId(typeId) != nullptr; };

    std::string name;
    std::string description;
    std::optional<ObjectIdT> typeId;
    bool card = false;   // a "CCard" account: made a credit card, as it was
    while (std::optional<std::string> line = nextFilledLine()) {
        if (isHeader(*line)) {
            // The header that ends the list belongs to the next section.
            ResetToStartOfLastRecord();
            return;
        }
        const char letter = line->front();
        const std::string_view text = std::string_view(*line).substr(1);
        switch (letter) {
        case 'N': name = text; break;
        case 'D': description = text; break;
        case 'T':
            switch (characterAt(*line, 1)) {
            case 'B':
                typeId = propertyType;
                card = false;
                break;
            case 'C':
                card = characterAt(*line, 2) == 'C';
                typeId = card ? kLiabilityTypeId : propertyType;
                break;
            case 'M':
            case 'P':
                typeId = portfolioType;
                card = false;
                break;
            case 'O':
                if (characterAt(*line, 5) == 'L' || characterAt(*line, 5) == 'A') {
                    typeId = characterAt(*line, 5) == 'L' ? kLiabilityTypeId : kAssetTypeId;
                    card = false;
                }
                break;
            default: break;
            }
            break;
        case '^':
            if (typeId && !name.empty()) {
                // A type the books lack gives the own-property type; without that, no account.
                const ObjectIdT chosen = exists(*typeId) ? *typeId : propertyType;
                // An account the books hold under that name is the one the list names.
                if (exists(chosen) && !accountForName(books, name) && mayCreate()) {
                    if (card && chosen == *typeId) theDocument->insertCreditCard(name, description, chosen);
                    else theDocument->insertAccount(name, description, chosen, -1);
                }
            }
            name.clear();
            description.clear();
            break;
        default: break;
        }
    }
}

} // namespace ch
