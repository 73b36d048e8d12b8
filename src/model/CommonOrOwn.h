#pragma once
// CommonOrOwn: a value that most model objects have in common with many others
// (the texts of booking lines, the empty references of transactions) is kept
// once; an object points to that common value until it gets a value of its
// own, which it then owns. A change to a common value is made to a copy, and
// a copy that comes out equal to a common value points to that one instead.
//
// Value provides two statics: Common(const Value&), the common value equal to
// the one given (null when it is no common value), and IsCommon(const Value*).
// Common values live as long as the program.

#include <utility>

namespace ch {

template <typename Value>
class CommonOrOwn {
public:
    explicit CommonOrOwn(Value* common) : mValue(common) {}
    ~CommonOrOwn()
    {
        if (!Value::IsCommon(mValue)) delete mValue;
    }
    CommonOrOwn(const CommonOrOwn&) = delete;
    CommonOrOwn& operator=(const CommonOrOwn&) = delete;

    bool IsCommon() const { return Value::IsCommon(mValue); }
    const Value& operator*() const { return *mValue; }
    const Value* operator->() const { return mValue; }

    // Applies edit (a function of Value&) to the object's value.
    template <typename Edit>
    void Change(Edit&& edit)
    {
        if (!Value::IsCommon(mValue)) {
            edit(*mValue);
            return;
        }
        Value changed(*mValue);
        edit(changed);
        if (Value* common = Value::Common(changed)) {
            mValue = common;
            return;
        }
        mValue = new Value(std::move(changed));
    }

    // Takes the value: the common one equal to it, or as the object's own
    // (references to the object's own value do not survive this).
    void Assign(Value value)
    {
        if (Value* common = Value::Common(value)) {
            if (!Value::IsCommon(mValue)) delete mValue;
            mValue = common;
        } else if (Value::IsCommon(mValue)) {
            mValue = new Value(std::move(value));
        } else {
            *mValue = std::move(value);
        }
    }

    // Gives up the object's own value for the common one equal to it. Only
    // for a value made since the caller last saw a common one: references to
    // the object's own value do not survive this.
    void ShareIfCommon()
    {
        if (Value::IsCommon(mValue)) return;
        if (Value* common = Value::Common(*mValue)) {
            delete mValue;
            mValue = common;
        }
    }

private:
    Value* mValue;
};

} // namespace ch
