#pragma once
// The object commands of an item's context menu: for each, whether it is
// offered and its title.

#include <string>

namespace ch {

struct GXMenuCommands {
    bool newObjectInd = false;
    std::string newObjectTitle;
    bool newObjectBelowInd = false;
    std::string newObjectBelowTitle;
    bool groupBelowInd = false;
    std::string newgroupBelowTitle;
    bool deleteObjectInd = false;
    std::string deleteObjectTitle;
};

} // namespace ch
