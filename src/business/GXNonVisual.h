#pragma once
// GXNonVisual: the base of the business objects that live beside the
// accounting model, in the document's business arrays: VAT rates ('VatR'),
// VAT periods ('VatP') and invoice extensions ('InvC').
//
// Every object has a four-character type code held as text, an id drawn from
// its kind's counter, a name, a description, and the document that holds it.
// Type, id and key are what the document and its commands know of it (the
// document's GXNonVisual): the key is the type code followed by the decimal
// id ("VatR12"), and the command journal names a command's target by it.
//
// Ids: each kind has one counter for the whole process, shared by all open
// documents and stored nowhere. A kind's setIdKey applies the id rule: a new
// object (given a negative id while it has none) takes the next counter
// value; an object read from a file keeps its id and lifts the counter to it;
// an object with a positive id keeps it for good.
//
// Archive form: the four base values unkeyed and in this order (type, id,
// name, description), then each kind's own values; the order is part of the
// document file format. Setters announce their key (the field name) when the
// value changes, and mark the holding document changed. Main thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/GXNonVisual.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/value.h"

namespace ch::business {

class ArchivedFields;
class BusinessDocument;

class GXNonVisual : public ch::GXNonVisual, public Archivable {
public:
    ~GXNonVisual() override;

    // The type code as text; empty when none is held.
    std::string objectType() const override { return mObjectType.value_or(std::string()); }
    void setObjectType(std::optional<std::string> type);
    // None while the object has no id.
    std::optional<ObjectIdT> idKey() const override { return mIdKey; }
    // The kind's id rule; the base stores the id as given.
    virtual void setIdKey(std::optional<long> id);
    const std::optional<std::string>& name() const { return mName; }
    void setName(std::optional<std::string> name);
    const std::optional<std::string>& description() const { return mDescription; }
    void setDescription(std::optional<std::string> description);
    // The document that holds the object; not owned (the document owns its
    // arrays and so outlives what they hold).
    BusinessDocument* parentDocument() const { return mParentDocument; }
    // A counted kind's id raises the document's counter, so that the ids the
    // document hands out later never take it again.
    void setParentDocument(BusinessDocument* document);

    // "Type", "Name", "Id" and, when not empty, "Description"; a kind adds its own.
    virtual Dictionary dictionaryRepresentation() const;
    // Takes the four base fields ("Id" may be text; the id goes through
    // setIdKey). A kind takes its own after these.
    virtual bool setEqualToDictionaryRepresentation(const Dictionary& dictionary);

    // Whether the name or the description contains the text, ignoring case.
    bool matches(std::string_view searchText) const;
    // The name of the document's account with the id; none without id,
    // document or account (the first two are logged).
    std::optional<std::string> getAccountNameForId(std::optional<long> accountId) const;

    // Whether the object may be deleted; the base says no.
    virtual bool objectCanBeDeletedWithMessage(bool showMessage) const;
    bool objectCanBeDeleted() const { return objectCanBeDeletedWithMessage(false); }

    // The four base values; a kind writes its own after them.
    void encodeWithCoder(KeyedArchiver& coder) const override;

protected:
    explicit GXNonVisual(BusinessDocument* document);

    // Reads the four base values in their order, the id through setIdKey.
    void decodeBaseValues(ArchivedFields& fields);
    // The id rule with the kind's counter.
    void setIdKeyCountedBy(std::int32_t& counter, std::optional<long> id);
    // The counter of the kind in the document's counters, or the kind's own
    // for objects of no document; none for kinds that are not counted.
    virtual std::int32_t* idCounter(BusinessDocument* document) const;

    // Stores the value and announces the key when it differs; the change
    // then reaches the document's change count through its model root, so
    // that no caller of a setter has to mark the document.
    template <typename T>
    void change(T& field, T value, std::string_view key)
    {
        if (field == value)
            return;
        field = std::move(value);
        announce(key);
        booksChanged();
    }
    // Marks the holding document's books changed; nothing without a document.
    void booksChanged();

private:
    std::optional<std::string> mObjectType;
    std::optional<ObjectIdT> mIdKey;
    std::optional<std::string> mName;
    std::optional<std::string> mDescription;
    BusinessDocument* mParentDocument = nullptr;
};

} // namespace ch::business
