#pragma once
// What the keyed-archive reader must do with any bytes: refuse them cleanly
// (nil from then on), or decode objects and values that the archiver writes
// and the reader reads back unchanged.

#include "platform/core/keyed_archive.h"

#include "plist_check.h"

#include <string>
#include <string_view>

namespace ch::fuzz {

// Stands in for the business classes: unkeyed values in sequence plus one
// keyed value, or (as "GXFuzzObject") a reference to another object.
struct FuzzObject : Archivable {
    std::string className;
    std::vector<Value> fields;
    Value keyed;
    std::shared_ptr<Archivable> next;

    std::vector<std::string> archiveClassNames() const override { return {className, "NSObject"}; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        for (const Value& field : fields)
            coder.encodeValue(field);
        if (!keyed.isAbsent())
            coder.encodeValue(keyed, "key");
        if (next)
            coder.encodeObject(next, "next");
    }
};

inline const ArchiveClassRegistry& fuzzRegistry() {
    static const ArchiveClassRegistry registry = [] {
        ArchiveClassRegistry r;
        for (const char* name : {"GXVATRate", "GXVATPeriod", "GXInvoice"})
            r.add(name, [name](KeyedUnarchiver& coder) -> std::shared_ptr<Archivable> {
                auto object = std::make_shared<FuzzObject>();
                object->className = name;
                while (!coder.failed() && coder.containsKey("$" + std::to_string(object->fields.size())))
                    object->fields.push_back(coder.decodeValue());
                object->keyed = coder.decodeValue("key");
                return object;
            });
        r.add("GXFuzzObject", [](KeyedUnarchiver& coder) -> std::shared_ptr<Archivable> {
            auto object = std::make_shared<FuzzObject>();
            object->className = "GXFuzzObject";
            object->next = coder.containsKey("next") ? coder.decodeObject("next") : coder.decodeObject();
            return object;
        });
        return r;
    }();
    return registry;
}

inline bool sameObject(const std::shared_ptr<Archivable>& a, const std::shared_ptr<Archivable>& b, int depth = 0) {
    auto x = std::dynamic_pointer_cast<FuzzObject>(a), y = std::dynamic_pointer_cast<FuzzObject>(b);
    if (!x || !y)
        return !a && !b;
    if (x->className != y->className || x->fields.size() != y->fields.size() || !sameValue(x->keyed, y->keyed))
        return false;
    for (std::size_t i = 0; i < x->fields.size(); ++i)
        if (!sameValue(x->fields[i], y->fields[i]))
            return false;
    return depth > 64 || sameObject(x->next, y->next, depth + 1);
}

inline constexpr const char* kBusinessKeys[] = {"SERIALIZEDVATARRAY", "SERIALIZEDAMORTISATIONSCHEMEARRAY",
                                                 "SERIALIZEDVATPERIODARRAY", "SERIALIZEDCUSTOMERINVOICEARRAY",
                                                 "SERIALIZEDSUPPLIERINVOICEARRAY"};

inline std::string checkKeyedArchive(std::string_view input) {
    // The five business arrays, as the document reads them.
    std::vector<std::vector<std::shared_ptr<Archivable>>> arrays;
    Value value;
    {
        KeyedUnarchiver unarchiver(input, fuzzRegistry());
        for (const char* key : kBusinessKeys)
            arrays.push_back(unarchiver.decodeObjectArray(key));
        if (unarchiver.failed()) {
            if (unarchiver.error().empty() || !unarchiver.decodeObjectArray(kBusinessKeys[0]).empty())
                return "a failed unarchiver still decoded something";
            return {};
        }
        value = unarchiver.decodeValue("value");
        if (unarchiver.failed())
            return value.isAbsent() ? std::string() : "a failed value decode still gave a value";
    }

    // What was read is written again and reads back the same.
    KeyedArchiver archiver;
    for (std::size_t i = 0; i < arrays.size(); ++i)
        archiver.encodeObjectArray(arrays[i], kBusinessKeys[i]);
    archiver.encodeValue(value, "value");
    const PlistOutput out = archiver.finish();
    if (!out.ok())
        // Strings with a NUL character cannot go back through libplist.
        return out.error.find("NUL") != std::string::npos ? std::string() : "could not archive again: " + out.error;
    KeyedUnarchiver again(out.bytes, fuzzRegistry());
    for (std::size_t i = 0; i < arrays.size(); ++i) {
        const auto reread = again.decodeObjectArray(kBusinessKeys[i]);
        if (reread.size() != arrays[i].size())
            return "an array read back with another size";
        for (std::size_t j = 0; j < reread.size(); ++j)
            if (!sameObject(reread[j], arrays[i][j]))
                return "an object read back differently";
    }
    if (!sameValue(again.decodeValue("value"), value))
        return "a value read back differently";
    if (again.failed())
        return "our own archive did not read back: " + again.error();
    return {};
}

} // namespace ch::fuzz
