#include "document/app/NewDocumentPlan.h"

namespace ch {

namespace {

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string currencySymbolFor(std::string_view symbol, std::string_view name)
{
    if (!symbol.empty())
        return std::string(symbol);
    // "(XYZ)" at the end: only then is the code part of the name. Any other
    // name is its own symbol, so a name such as "Bitcoin" is not cut to "coi".
    const std::size_t n = name.size();
    if (n >= 5 && name[n - 5] == '(' && name[n - 1] == ')' && isLetter(name[n - 4]) && isLetter(name[n - 3]) &&
        isLetter(name[n - 2]))
        return std::string(name.substr(n - 4, 3));
    return std::string(name);
}

long resolveCategoryGroupPath(const std::string& path, long systemType, NewDocumentTarget& target)
{
    long current = systemType;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        if (std::optional<long> found = target.findCategoryGroup(part)) {
            current = *found;
            continue;
        }
        const long made = target.createCategoryGroup(part, current, systemType);
        if (made < 1)
            break; // a failed group must not become the parent of what follows
        current = made;
    }
    return current;
}

void executeNewDocumentPlan(const NewDocumentPlan& plan, NewDocumentTarget& target)
{
    for (const PlannedCurrency& currency : plan.currencies) {
        if (currency.isDefault)
            target.modifyHomeCurrency(currency);
        else
            target.createCurrency(currency);
    }
    for (const PlannedAccount& account : plan.accounts) {
        if (account.isDefaultPropertyAccount)
            target.modifyDefaultPropertyAccount(account);
        else
            target.createAccount(account);
    }
    std::optional<long> listType;
    long parent = 0;
    for (const PlannedCategory& category : plan.categories) {
        if (listType != category.systemType) {
            listType = category.systemType;
            parent = category.systemType;
        }
        if (category.groupPath)
            parent = resolveCategoryGroupPath(*category.groupPath, category.systemType, target);
        target.createCategory(category.name, parent);
    }
}

} // namespace ch
