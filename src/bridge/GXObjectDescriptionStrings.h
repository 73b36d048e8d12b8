#pragma once
// What an item says about its kind for menus: the name of its kind, of the
// objects and of the folders that can be made inside it, and whether it may
// be deleted.

#include <string>

namespace ch {

struct GXObjectDescriptionStrings {
    std::string objectTypeName;
    std::string childObjectTypeName;  // empty: nothing can be made inside
    std::string childGroupTypeName;   // empty: no folder can be made inside
    bool canBeDeleted = false;
};

} // namespace ch
