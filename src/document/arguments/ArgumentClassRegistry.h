#pragma once
// Argument classes by name: rebuilding an argument object from its journal
// text makes an empty object of the class named under "ArgumentClass".
//
// shared() holds the document's own argument classes from the start; other
// libraries add theirs at start-up, before a document opens. Look-ups may run
// on any thread once that is done.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/arguments/CArgumentAncestor.h"

namespace ch {

class ArgumentClassRegistry {
public:
    using Maker = std::unique_ptr<CArgumentAncestor> (*)();

    // An empty table.
    ArgumentClassRegistry() = default;

    // The application's table.
    static ArgumentClassRegistry& shared();

    // Adds a class, or replaces the maker of a name already present.
    void add(std::string name, Maker maker);
    template <typename T>
    void add()
    {
        add(T().argumentClass(), [] { return std::unique_ptr<CArgumentAncestor>(new T()); });
    }

    // A new empty object of the class; null for a name the table lacks.
    std::unique_ptr<CArgumentAncestor> make(std::string_view name) const;
    bool contains(std::string_view name) const;
    // The names in ascending order.
    std::vector<std::string> classNames() const;

private:
    std::map<std::string, Maker, std::less<>> mMakers;
};

// Adds the argument classes of the document's own commands (shared() starts
// with them).
void registerDocumentArgumentClasses(ArgumentClassRegistry& registry);

} // namespace ch
