#pragma once
// CommonOrOwn: a value that most model objects have in common with many others
// (the texts of booking lines, the empty references of transactions) is kept
// once; an object points to that common value until it gets a value of its
// own, which it then owns. A change to a common value is made to a copy, and
// a copy that comes out equal to a common value points to that one instead.
//
// An object's own value is made on the heap, or in the object's pool while
// the object is read into one.
//
// Value provides two statics: Common(const Value&), the common value equal to
// the one given (null when it is no common value), and IsCommon(const Value*).
// Common values live as long as the program.

#include <cstdint>
#include <utility>

#include "model/ObjectPool.h"

namespace ch {

template <typename Value>
class CommonOrOwn {
public:
    explicit CommonOrOwn(Value* common) : mBits(Bits(common, false)) {}
    ~CommonOrOwn() { Drop(); }
    CommonOrOwn(const CommonOrOwn&) = delete;
    CommonOrOwn& operator=(const CommonOrOwn&) = delete;

    bool IsCommon() const { return Value::IsCommon(Get()); }
    const Value& operator*() const { return *Get(); }
    const Value* operator->() const { return Get(); }

    // Applies edit (a function of Value&) to the object's value.
    template <typename Edit>
    void Change(Edit&& edit)
    {
        if (!IsCommon()) {
            edit(*Get());
            return;
        }
        Value changed(*Get());
        edit(changed);
        if (Value* common = Value::Common(changed)) {
            mBits = Bits(common, false);
            return;
        }
        mBits = Bits(new Value(std::move(changed)), false);
    }

    // Takes the value: the common one equal to it, or as the object's own,
    // made in the pool when one is given (references to the object's own
    // value do not survive this).
    void Assign(Value value, ObjectPool* pool = nullptr)
    {
        if (Value* common = Value::Common(value)) {
            Drop();
            mBits = Bits(common, false);
        } else if (!IsCommon()) {
            *Get() = std::move(value);
        } else if (pool) {
            mBits = Bits(pool->Construct<Value>(std::move(value)), true);
        } else {
            mBits = Bits(new Value(std::move(value)), false);
        }
    }

    // Gives up the object's own value for the common one equal to it. Only
    // for a value made since the caller last saw a common one: references to
    // the object's own value do not survive this.
    void ShareIfCommon()
    {
        if (IsCommon()) return;
        if (Value* common = Value::Common(*Get())) {
            Drop();
            mBits = Bits(common, false);
        }
    }

private:
    // The value's address, with the lowest bit set when it lies in a pool
    // (which frees it with the rest).
    static std::uintptr_t Bits(Value* value, bool inPool)
    {
        static_assert(alignof(Value) > 1, "the lowest address bit marks a value in a pool");
        return reinterpret_cast<std::uintptr_t>(value) | (inPool ? 1u : 0u);
    }
    Value* Get() const { return reinterpret_cast<Value*>(mBits & ~std::uintptr_t(1)); }
    bool InPool() const { return (mBits & 1u) != 0; }
    // The object's own value goes: destroyed in its pool, else deleted.
    void Drop()
    {
        if (IsCommon()) return;
        if (InPool()) Get()->~Value();
        else delete Get();
    }

    std::uintptr_t mBits;
};

} // namespace ch
