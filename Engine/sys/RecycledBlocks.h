#pragma once
// Storage for small objects that are made and dropped all the time (a character's actions, the
// commands sent for them, paths): a dropped object's block is kept by its size class, on the
// thread that dropped it, and the next object of that class takes it, so a steady frame takes
// nothing new from the heap. A class that runs dry takes a chunk of blocks at once. Blocks are
// never handed back to the heap; a thread's are passed on when it ends. Sanitizer builds use the
// heap for every object, so a use after free is still caught, unless a thread asks otherwise.
#include <cstddef>
#include <utility>
#include <vector>

namespace GAME {

class RecycledBlocks {
public:
    static void* Take(std::size_t size);
    static void Give(void* block, std::size_t size) noexcept;
    // Blocks kept for reuse on the calling thread.
    static std::size_t KeptCount();
    // Whether the calling thread recycles; returns the previous setting. Switch only while the
    // thread holds no object made under the other setting.
    static bool SetRecycling(bool recycle);
    // The largest object kept; larger ones come from the heap.
    static constexpr std::size_t kLargestKept = 512;
};

// Derive from it to keep a class family's storage recycled. Objects dropped through a base
// pointer need a virtual destructor, so that the size given back is the object's own.
class RecycledStorage {
public:
    static void* operator new(std::size_t size) { return RecycledBlocks::Take(size); }
    static void operator delete(void* block, std::size_t size) noexcept {
        RecycledBlocks::Give(block, size);
    }
};

// A container allocator over the same blocks: a recycled object's vectors (a path's corners).
template <class T>
class RecycledAllocator {
public:
    using value_type = T;
    RecycledAllocator() = default;
    template <class U>
    RecycledAllocator(const RecycledAllocator<U>&) noexcept {}
    T* allocate(std::size_t count) {
        return static_cast<T*>(RecycledBlocks::Take(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        RecycledBlocks::Give(block, count * sizeof(T));
    }
    friend bool operator==(const RecycledAllocator&, const RecycledAllocator&) { return true; }
};

// Storage of vectors that such objects own (a command's list of targets): a dropped object's
// vector hands its storage to the next object's, per thread. At most kKept are kept.
template <class T>
class RecycledVectors {
public:
    static constexpr std::size_t kKept = 256;
    // An empty vector, with the storage of one given back when there is one.
    static std::vector<T> Take() {
        if (Gone() || Kept().spares.empty())
            return {};
        std::vector<std::vector<T>>& spares = Kept().spares;
        std::vector<T> taken = std::move(spares.back());
        spares.pop_back();
        return taken;
    }
    // Takes the vector's storage; the vector is left empty.
    static void Give(std::vector<T>& given) noexcept {
        if (given.capacity() == 0 || Gone())
            return;
        std::vector<std::vector<T>>& spares = Kept().spares;
        if (spares.size() == kKept)
            return;
        given.clear();
        if (spares.capacity() == 0)
            spares.reserve(kKept);
        spares.push_back(std::move(given));
    }

private:
    struct Store {
        std::vector<std::vector<T>> spares;
        ~Store() { Gone() = true; }
    };
    // Set once the thread's store is gone: objects dropped later (by other thread-locals' or
    // statics' destructors) keep their storage to themselves.
    static bool& Gone() {
        thread_local bool gone = false;
        return gone;
    }
    static Store& Kept() {
        thread_local Store store;
        return store;
    }
};

}  // namespace GAME
