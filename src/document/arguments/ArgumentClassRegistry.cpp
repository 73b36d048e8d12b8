#include "document/arguments/ArgumentClassRegistry.h"

namespace ch {

ArgumentClassRegistry& ArgumentClassRegistry::shared()
{
    static ArgumentClassRegistry table = [] {
        ArgumentClassRegistry registry;
        registerDocumentArgumentClasses(registry);
        return registry;
    }();
    return table;
}

void ArgumentClassRegistry::add(std::string name, Maker maker)
{
    if (maker)
        mMakers[std::move(name)] = maker;
}

std::unique_ptr<CArgumentAncestor> ArgumentClassRegistry::make(std::string_view name) const
{
    const auto found = mMakers.find(name);
    return found == mMakers.end() ? nullptr : found->second();
}

bool ArgumentClassRegistry::contains(std::string_view name) const
{
    return mMakers.find(name) != mMakers.end();
}

std::vector<std::string> ArgumentClassRegistry::classNames() const
{
    std::vector<std::string> names;
    names.reserve(mMakers.size());
    for (const auto& entry : mMakers)
        names.push_back(entry.first);
    return names;
}

} // namespace ch
