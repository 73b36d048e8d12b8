#pragma once
// LineNameIndex: a look-up by name kept beside one list of booking lines: the
// first position of each name (cut to the characters compared), so that the
// first earlier booking of a name is found without walking the list.
//
// Made on first use and made again whenever the list has changed
// (LArray::GetChangeCount) or any name has changed since
// (CNonVisual::NameChanges), so it answers what a walk over the list as it
// stands would. Main thread only, like the lists.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/foundation/LArray.h"

namespace ch {

class CNamedListArray;

class LineNameIndex {
public:
    explicit LineNameIndex(std::size_t comparedCharacters) : mCompared(comparedCharacters) {}

    // The first position (1-based) of a line whose 8-bit name, cut to the
    // characters compared, equals the name so cut; 0 when there is none.
    ArrayIndexT FirstNamed(const CNamedListArray& list, std::string_view name);

private:
    void Refresh(const CNamedListArray& list);

    std::size_t mCompared;
    const CNamedListArray* mList = nullptr;
    std::uint64_t mListChanges = 0;
    std::uint64_t mNameChanges = 0;
    std::unordered_map<std::string, ArrayIndexT> mFirst;
};

} // namespace ch
