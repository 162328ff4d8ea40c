#pragma once
// All process-wide state of the engine and the game lives in one Machine. A process has a
// current machine per thread (the process default when none was selected); tests build several
// machines (a server and its clients) and switch between them with MachineScope.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace GAME {

class Machine;

// The singletons a crowd's frame reaches at every turn hold fixed near slots: their slot index is
// a constant, not a per-class number read behind a guard. A class takes one by naming it as its
// `kMachineSlot`; every other class gets the next free slot past these on its first use.
enum class FixedSlot : std::size_t { Objects, World, GameEngine, Engine, Count };

namespace detail {
// The calling thread's machine; null until the thread first asks for one. Initial-exec: the
// engine library is linked at start-up, so its thread-locals sit in the static block and a read
// is one load relative to the thread pointer, not a call into the dynamic linker per access.
extern constinit thread_local Machine* tCurrentMachine __attribute__((tls_model("initial-exec")));
}  // namespace detail

class Machine {
public:
    Machine();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // The machine the calling thread works on. The accessors below are forced inline: the frame
    // reaches its singletons hundreds of thousands of times, and a call costs more than the read.
    [[gnu::always_inline]] static Machine& Current() {
        Machine* machine = detail::tCurrentMachine;
        return machine ? *machine : AdoptDefault();
    }
    // The process's own machine, used by threads that selected none.
    static Machine& Default();

    // The per-machine instance of T, created on first use.
    template <class T>
    [[gnu::always_inline]] T& Get() {
        const std::size_t slot = SlotOf<T>();
        if (void* object = Lookup(slot))
            return *static_cast<T*>(object);
        return Make<T>(slot);
    }
    // The instance of T when it exists, else null.
    template <class T>
    [[gnu::always_inline]] T* Find() const {
        return static_cast<T*>(Lookup(SlotOf<T>()));
    }
    // Destroys the instance of T now (it is created again on the next Get).
    template <class T>
    void Reset() {
        Destroy(SlotOf<T>());
    }
    // Replaces the instance of T with one the caller made (ownership passes to the machine).
    template <class T>
    void Install(std::unique_ptr<T> object) {
        Destroy(SlotOf<T>());
        T* raw = object.release();
        Adopt(SlotOf<T>(), raw, [](void* p) { delete static_cast<T*>(p); });
    }

    // The C runtime's rand/srand, one state per machine.
    int CrtRand();
    void CrtSrand(unsigned int seed);

    // Destroys every per-machine instance in the reverse order of creation.
    void Clear();

    // A small fixed id for logs and the loopback transport.
    int GetIndex() const { return mIndex; }

private:
    using Deleter = void (*)(void*);
    struct SlotEntry {
        std::atomic<void*> object{nullptr};
        Deleter deleter = nullptr;
        bool destroying = false;
    };
    // Slots live in chunks that never move, so other threads of the machine (a save thread
    // reading records, writing the log) may look instances up while new ones are created. The
    // first slots, which every program's classes fill, sit in the machine itself: one read.
    static constexpr std::size_t kNearSlots = 128;
    static constexpr std::size_t kChunkSize = 64;
    static constexpr std::size_t kMaxChunks = 256;
    struct Chunk {
        SlotEntry entries[kChunkSize];
    };

    template <class T>
    [[gnu::always_inline]] static std::size_t SlotOf() {
        // Complete: a class seen without its fixed slot would be given a second one.
        static_assert(sizeof(T) > 0);
        if constexpr (requires { T::kMachineSlot; }) {
            static_assert(static_cast<std::size_t>(T::kMachineSlot) <
                          static_cast<std::size_t>(FixedSlot::Count));
            return static_cast<std::size_t>(T::kMachineSlot);
        } else {
            static const std::size_t slot = NextSlot();
            return slot;
        }
    }
    static std::size_t NextSlot();
    // Get's first call for T, apart so that the lookup stays small enough to inline.
    template <class T>
    [[gnu::noinline]] T& Make(std::size_t slot) {
        return *static_cast<T*>(Create(
            slot, [] { return static_cast<void*>(new T()); },
            [](void* p) { delete static_cast<T*>(p); }));
    }
    // A thread that selected no machine works on the default one from its first access on.
    static Machine& AdoptDefault();
    [[gnu::always_inline]] void* Lookup(std::size_t slot) const {
        if (slot < kNearSlots) [[likely]]
            return mNear[slot].object.load(std::memory_order_acquire);
        return LookupFar(slot - kNearSlots);
    }
    void* LookupFar(std::size_t slot) const {
        const std::size_t chunk = slot / kChunkSize;
        if (chunk >= kMaxChunks)
            return nullptr;
        const Chunk* entries = mChunks[chunk].load(std::memory_order_acquire);
        return entries ? entries->entries[slot % kChunkSize].object.load(std::memory_order_acquire)
                       : nullptr;
    }
    SlotEntry* Entry(std::size_t slot);
    void* Create(std::size_t slot, void* (*make)(), Deleter deleter);
    void Adopt(std::size_t slot, void* object, Deleter deleter);
    void Destroy(std::size_t slot);

    SlotEntry mNear[kNearSlots];
    std::atomic<Chunk*> mChunks[kMaxChunks] = {};  // the slots past the near ones
    std::recursive_mutex mMutex;                   // creation and destruction of instances
    std::vector<std::size_t> mCreationOrder;
    std::uint32_t mRandState = 1;
    int mIndex = 0;

    friend class MachineScope;
};

// Makes a machine current for the calling thread for the guard's lifetime.
class MachineScope {
public:
    explicit MachineScope(Machine& machine);
    ~MachineScope();
    MachineScope(const MachineScope&) = delete;
    MachineScope& operator=(const MachineScope&) = delete;

private:
    Machine* mPrevious;
};

// The engine's singleton template: one instance per machine.
template <class T>
class Singleton {
public:
    [[gnu::always_inline]] static T& Get() { return Machine::Current().Get<T>(); }
};

// The C runtime stand-ins: `state = state * 214013 + 2531011`, 15-bit results, per machine.
constexpr int CRT_RAND_MAX = 0x7FFF;
int crt_rand();
void crt_srand(unsigned int seed);

}  // namespace GAME
