#include "Engine/sys/Machine.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace GAME {

namespace detail {
constinit thread_local Machine* tCurrentMachine = nullptr;
}  // namespace detail

namespace {
std::atomic<int> gMachineCount{0};
}  // namespace

Machine::Machine() : mIndex(gMachineCount.fetch_add(1)) {}

Machine::~Machine() {
    MachineScope scope(*this);  // destructors of per-machine objects reach their own machine
    Clear();
    for (auto& chunk : mChunks)
        delete chunk.exchange(nullptr);
}

Machine& Machine::Default() {
    static Machine machine;
    return machine;
}

Machine& Machine::AdoptDefault() {
    Machine& machine = Default();
    detail::tCurrentMachine = &machine;
    return machine;
}

std::size_t Machine::NextSlot() {
    static std::atomic<std::size_t> next{static_cast<std::size_t>(FixedSlot::Count)};
    return next.fetch_add(1);
}

Machine::SlotEntry* Machine::Entry(std::size_t slot) {
    if (slot < kNearSlots)
        return &mNear[slot];
    slot -= kNearSlots;
    const std::size_t chunk = slot / kChunkSize;
    if (chunk >= kMaxChunks) {
        // Slots are per class; this many singleton classes means a programming error.
        std::fprintf(stderr, "Machine: singleton slot %zu exceeds the table.\n", slot + kNearSlots);
        std::abort();
    }
    Chunk* entries = mChunks[chunk].load(std::memory_order_acquire);
    if (!entries) {
        entries = new Chunk();
        mChunks[chunk].store(entries, std::memory_order_release);
    }
    return &entries->entries[slot % kChunkSize];
}

void* Machine::Create(std::size_t slot, void* (*make)(), Deleter deleter) {
    std::lock_guard lock(mMutex);
    if (void* existing = Lookup(slot))
        return existing;  // another thread made it first
    // Constructors may use other per-machine objects, so they see this machine as current.
    MachineScope scope(*this);
    void* object = make();
    if (void* existing = Lookup(slot)) {
        // A constructor asked for its own kind again; keep the first one.
        deleter(object);
        return existing;
    }
    Adopt(slot, object, deleter);
    return object;
}

void Machine::Adopt(std::size_t slot, void* object, Deleter deleter) {
    std::lock_guard lock(mMutex);
    SlotEntry* entry = Entry(slot);
    entry->deleter = deleter;
    entry->object.store(object, std::memory_order_release);
    mCreationOrder.push_back(slot);
}

void Machine::Destroy(std::size_t slot) {
    void* object = nullptr;
    Deleter deleter = nullptr;
    {
        std::lock_guard lock(mMutex);
        if (!Lookup(slot))
            return;
        SlotEntry* entry = Entry(slot);
        if (entry->destroying)
            return;
        entry->destroying = true;
        object = entry->object.load(std::memory_order_acquire);
        deleter = entry->deleter;
    }
    // The slot stays filled while the object is destroyed: its destructor (and those of the
    // objects it owns) may still reach it through Get. The lock is not held, so a destructor
    // may wait for a worker thread of this machine that is making an instance of its own.
    {
        MachineScope scope(*this);
        deleter(object);
    }
    std::lock_guard lock(mMutex);
    SlotEntry* entry = Entry(slot);
    entry->object.store(nullptr, std::memory_order_release);
    entry->deleter = nullptr;
    entry->destroying = false;
    std::erase(mCreationOrder, slot);
}

void Machine::Clear() {
    for (;;) {
        std::size_t slot;
        {
            std::lock_guard lock(mMutex);
            if (mCreationOrder.empty())
                return;
            slot = mCreationOrder.back();
        }
        Destroy(slot);
    }
}

int Machine::CrtRand() {
    mRandState = mRandState * 214013u + 2531011u;
    return static_cast<int>((mRandState >> 16) & 0x7FFF);
}

void Machine::CrtSrand(unsigned int seed) {
    mRandState = seed;
}

MachineScope::MachineScope(Machine& machine) : mPrevious(detail::tCurrentMachine) {
    detail::tCurrentMachine = &machine;
}

MachineScope::~MachineScope() {
    detail::tCurrentMachine = mPrevious;
}

int crt_rand() {
    return Machine::Current().CrtRand();
}

void crt_srand(unsigned int seed) {
    Machine::Current().CrtSrand(seed);
}

}  // namespace GAME
