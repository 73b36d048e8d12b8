#include "ui/sheets/SheetParameters.h"

namespace ch {

SheetParameters::SheetParameters(std::initializer_list<std::pair<const std::string, Entry>> entries)
    : mEntries(entries.begin(), entries.end())
{
}

void SheetParameters::set(std::string_view key, Entry value)
{
    mEntries.insert_or_assign(std::string(key), std::move(value));
}

void SheetParameters::remove(std::string_view key)
{
    if (auto it = mEntries.find(key); it != mEntries.end())
        mEntries.erase(it);
}

bool SheetParameters::contains(std::string_view key) const
{
    return mEntries.find(key) != mEntries.end();
}

template <class T>
const T* SheetParameters::find(std::string_view key) const
{
    auto it = mEntries.find(key);
    return it == mEntries.end() ? nullptr : std::get_if<T>(&it->second);
}

std::optional<long> SheetParameters::number(std::string_view key) const
{
    if (const long* n = find<long>(key))
        return *n;
    if (const double* d = find<double>(key))
        return static_cast<long>(*d);
    return std::nullopt;
}

std::optional<double> SheetParameters::real(std::string_view key) const
{
    if (const double* d = find<double>(key))
        return *d;
    if (const long* n = find<long>(key))
        return static_cast<double>(*n);
    return std::nullopt;
}

std::optional<std::string> SheetParameters::text(std::string_view key) const
{
    if (const std::string* s = find<std::string>(key))
        return *s;
    return std::nullopt;
}

SheetParameters::Item SheetParameters::item(std::string_view key) const
{
    const Item* i = find<Item>(key);
    return i ? *i : nullptr;
}

SheetDocument* SheetParameters::document(std::string_view key) const
{
    SheetDocument* const* d = find<SheetDocument*>(key);
    return d ? *d : nullptr;
}

CallbackReceiver* SheetParameters::receiver(std::string_view key) const
{
    CallbackReceiver* const* r = find<CallbackReceiver*>(key);
    return r ? *r : nullptr;
}

std::shared_ptr<Dictionary> SheetParameters::dictionary(std::string_view key) const
{
    const auto* d = find<std::shared_ptr<Dictionary>>(key);
    return d ? *d : nullptr;
}

std::shared_ptr<ImportLine> SheetParameters::importLine(std::string_view key) const
{
    const auto* l = find<std::shared_ptr<ImportLine>>(key);
    return l ? *l : nullptr;
}

} // namespace ch
