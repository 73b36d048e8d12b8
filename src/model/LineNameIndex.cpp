#include "model/LineNameIndex.h"

#include <cstring>

#include "model/CNamedListArray.h"

namespace ch {

void LineNameIndex::Refresh(const CNamedListArray& list)
{
    if (mList == &list && mListChanges == list.GetChangeCount() && mNameChanges == CNonVisual::NameChanges()) return;
    mFirst.clear();
    const auto count = static_cast<ArrayIndexT>(list.GetCount());
    mFirst.reserve(static_cast<std::size_t>(count));
    for (ArrayIndexT i = 1; i <= count; ++i) {
        const CNonVisual* line = list.ObjectAt(i);
        if (!line) continue;
        char name[kNameSize] = {};
        line->Get_Name(name);
        mFirst.emplace(std::string(name, strnlen(name, mCompared)), i);
    }
    mList = &list;
    mListChanges = list.GetChangeCount();
    mNameChanges = CNonVisual::NameChanges();
}

ArrayIndexT LineNameIndex::FirstNamed(const CNamedListArray& list, std::string_view name)
{
    Refresh(list);
    const auto found = mFirst.find(std::string(name.substr(0, mCompared)));
    return found == mFirst.end() ? 0 : found->second;
}

} // namespace ch
