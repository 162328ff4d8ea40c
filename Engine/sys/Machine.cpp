#include "Engine/sys/Machine.h"

#include <atomic>

namespace GAME {

namespace {
thread_local Machine* tCurrent = nullptr;
std::atomic<int> gMachineCount{0};
}  // namespace

Machine::Machine() : mIndex(gMachineCount.fetch_add(1)) {}

Machine::~Machine() {
    MachineScope scope(*this);  // destructors of per-machine objects reach their own machine
    Clear();
}

Machine& Machine::Default() {
    static Machine machine;
    return machine;
}

Machine& Machine::Current() {
    return tCurrent ? *tCurrent : Default();
}

std::size_t Machine::NextSlot() {
    static std::atomic<std::size_t> next{0};
    return next.fetch_add(1);
}

void* Machine::Create(std::size_t slot, void* (*make)(), Deleter deleter) {
    // Constructors may use other per-machine objects, so they see this machine as current.
    MachineScope scope(*this);
    void* object = make();
    if (slot < mSlots.size() && mSlots[slot].object) {
        // A constructor asked for its own kind again; keep the first one.
        deleter(object);
        return mSlots[slot].object;
    }
    Adopt(slot, object, deleter);
    return object;
}

void Machine::Adopt(std::size_t slot, void* object, Deleter deleter) {
    if (slot >= mSlots.size())
        mSlots.resize(slot + 1);
    mSlots[slot] = SlotEntry{object, deleter};
    mCreationOrder.push_back(slot);
}

void Machine::Destroy(std::size_t slot) {
    if (slot >= mSlots.size() || !mSlots[slot].object)
        return;
    // The slot stays filled while the object is destroyed: its destructor (and those of the
    // objects it owns) may still reach it through Get.
    MachineScope scope(*this);
    SlotEntry entry = mSlots[slot];
    entry.deleter(entry.object);
    mSlots[slot] = SlotEntry{};
    std::erase(mCreationOrder, slot);
}

void Machine::Clear() {
    while (!mCreationOrder.empty()) {
        const std::size_t slot = mCreationOrder.back();
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

MachineScope::MachineScope(Machine& machine) : mPrevious(tCurrent) {
    tCurrent = &machine;
}

MachineScope::~MachineScope() {
    tCurrent = mPrevious;
}

int crt_rand() {
    return Machine::Current().CrtRand();
}

void crt_srand(unsigned int seed) {
    Machine::Current().CrtSrand(seed);
}

}  // namespace GAME
