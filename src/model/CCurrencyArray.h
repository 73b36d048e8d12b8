#pragma once
// CCurrencyArray: the document's list of currencies and shares, with one
// sub-list per currency type (shares, types 2 and 3, ordinary currencies) and
// look-ups by long name, by display name and by short name (code or ticker).

#include "model/CCurrency.h"
#include "model/CSubListArray.h"

namespace ch {

class CCurrencyArray : public CSubListArray {
public:
    enum SubListIndex : std::size_t {
        kShares,       // type 1
        kType2,
        kType3,
        kCurrencies,   // type 0
        kSubListCount
    };

    // The sub-lists share the full list's comparator and keep-sorted setting.
    CCurrencyArray(LComparator* comparator, bool keepSorted);

    // The full list's insertion, then the sub-list of the currency's type
    // (types above 3 have none); the full list's result.
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;

    // A currency whose type changed from oldType moves to the sub-list of its type.
    void SwitchList(CCurrency* currency, CurrencyTypeT oldType);
    void RemoveFromSubList(CCurrency* currency, CurrencyTypeT currencyType);

    // Each walks the full list in order and compares ignoring case with the
    // long name (the Unicode description), the display name ("code :
    // description") or the short name (the code). The first match sets found
    // and its 1-based position and gives its id; none gives -1, position 1
    // and leaves found as it was.
    ObjectIdT GetCurrencyForName(TextRef text, CCurrency*& found, ArrayIndexT& position) const;
    ObjectIdT GetCurrencyForDisplayName(TextRef text, CCurrency*& found, ArrayIndexT& position) const;
    ObjectIdT GetCurrencyForSymbol(TextRef text, CCurrency*& found, ArrayIndexT& position) const;

    CNamedListArray* Get_SubList(SubListIndex index) const { return SubList(index); }

private:
    // The sub-list of a type; kSubListCount above 3.
    static std::size_t ListOf(CurrencyTypeT currencyType);
    template <typename TextOf>
    ObjectIdT Find(TextRef text, CCurrency*& found, ArrayIndexT& position, TextOf textOf) const;
};

} // namespace ch
