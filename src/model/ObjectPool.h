#pragma once
// ObjectPool: the memory of the model objects a document reads (its
// transactions and their lines), taken in large blocks and given back all at
// once when the document's root goes. Objects made here are marked as such,
// so that the root destroys them without freeing each; deleting one any
// other way (a transaction deleted while editing) destroys it and leaves its
// memory to the pool until the end. An object must not outlive the pool it
// was made in. Main thread only.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace ch {

class ObjectPool {
public:
    ObjectPool() = default;
    ~ObjectPool();
    ObjectPool(const ObjectPool&) = delete;
    ObjectPool& operator=(const ObjectPool&) = delete;

    // A model object (a CNonVisual) made in the pool. The memory of one whose
    // constructor throws stays with the pool.
    template <typename Object, typename... Arguments>
    std::unique_ptr<Object> Make(Arguments&&... arguments)
    {
        void* at = Allocate(sizeof(Object), alignof(Object));
        MakingScope making(this, at);
        auto* object = ::new (at) Object(std::forward<Arguments>(arguments)...);
        object->MarkPooled();
        return std::unique_ptr<Object>(object);
    }

    // A value that a model object of the pool owns; whoever holds it destroys
    // it (without freeing it) before the pool goes.
    template <typename Value, typename... Arguments>
    Value* Construct(Arguments&&... arguments)
    {
        void* at = Allocate(sizeof(Value), alignof(Value));
        return ::new (at) Value(std::forward<Arguments>(arguments)...);
    }

    // The pool whose Make is constructing the object at this address right
    // now (so that the object can place what it owns there too); else null.
    static ObjectPool* Making(const void* object);

    // Gives every block back. Only when no object made in the pool lives.
    void Release();

    // The bytes taken from the system so far.
    std::size_t GetReservedBytes() const { return mReserved; }

    // Whether the memory lies in a block of any pool.
    static bool Holds(const void* memory);
    // The memory of an object deleted on its own: it stays with its pool,
    // out of bounds for the address checker of test builds.
    static void Abandon(void* memory, std::size_t bytes);

private:
    void* Allocate(std::size_t bytes, std::size_t alignment);

    // Names the object Make is constructing, for as long as it runs.
    class MakingScope {
    public:
        MakingScope(ObjectPool* pool, const void* object);
        ~MakingScope();
        MakingScope(const MakingScope&) = delete;
        MakingScope& operator=(const MakingScope&) = delete;

    private:
        ObjectPool* mPreviousPool;
        const void* mPreviousObject;
    };

    struct FreeBlock {
        void operator()(std::byte* block) const;
    };
    std::vector<std::unique_ptr<std::byte, FreeBlock>> mBlocks;
    std::byte* mNext = nullptr;
    std::size_t mLeft = 0;
    std::size_t mReserved = 0;
};

} // namespace ch
