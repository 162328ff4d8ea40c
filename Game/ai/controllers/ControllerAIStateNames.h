#pragma once
// The names of a controller class's states, each given an index the first time any controller
// of the class registers it, and the states the class itself registers: recorded once, by the
// class's first controller, and made for every controller of the class in one block of its own,
// each when first asked for (most controllers visit few of their states).
// A state is found through the class's one table, by listed number or by name, never through a
// map per controller.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "Game/ai/controllers/AIStateId.h"
#include "Game/ai/controllers/ControllerAIState.h"

namespace GAME {

class ControllerAI;

// How a class's state is made in place, for the controller that owns it.
struct ControllerAIStateKind {
    std::size_t size = 0;
    std::size_t align = 0;
    ControllerAIState* (*construct)(void* at, ControllerAI& owner) = nullptr;
};

class ControllerAIStateNames {
public:
    static constexpr std::uint32_t kNone = ~0u;

    // One state of the class: how it is made and where it lies in each controller's block.
    struct Slot {
        ControllerAIStateKind kind;
        std::size_t offset = 0;
        // From the block's bytes to the state base, found when the first one is made.
        std::ptrdiff_t base = 0;
        // Its place among the made states (GetMade).
        std::uint32_t made = 0;
    };

    ControllerAIStateNames() { mListed.fill(kNone); }

    // The table of a controller class's states or temporary states, on the calling thread's
    // machine.
    static ControllerAIStateNames& Of(std::type_index controllerClass, bool temporary) {
        return *BothOf(controllerClass)[temporary ? 1 : 0];
    }
    // Both tables of the class, [0] its states and [1] its temporary states, in one look-up.
    static const std::array<ControllerAIStateNames*, 2>& BothOf(std::type_index controllerClass);

    // The name's index, given on first registration.
    std::uint32_t Register(std::string_view name);
    std::uint32_t Register(const AIStateKey& key);
    std::uint32_t Find(std::string_view name) const;
    std::uint32_t Find(const AIStateKey& key) const {
        return key.IsListed() ? mListed[static_cast<std::size_t>(key.GetId())]
                              : Find(key.GetName());
    }
    const std::string& GetName(std::uint32_t index) const { return mNames[index]; }
    std::size_t Size() const { return mNames.size(); }

    // The class's own states, recorded until the first controller of the class has them all.
    bool IsSealed() const { return mSealed; }
    // True when it replaces a state recorded under the index.
    bool Record(std::uint32_t index, const ControllerAIStateKind& kind);
    // Lays the recorded states out in one block.
    void Seal();
    const Slot* GetSlot(std::uint32_t index) const {
        return index < mSlots.size() && mSlots[index].kind.construct ? &mSlots[index] : nullptr;
    }
    std::size_t GetSlotCount() const { return mSlots.size(); }
    // The recorded states in slot order, so that a later controller of the class makes them
    // without walking the slots: how each is made, where, and where its state base lies.
    struct Made {
        ControllerAIState* (*construct)(void* at, ControllerAI& owner) = nullptr;
        std::size_t offset = 0;
        std::size_t base = 0;
        std::uint32_t slot = 0;
        // Whether base is known: set when any controller of the class first makes the state.
        bool located = false;
    };
    const std::vector<Made>& GetMade() const { return mMade; }
    // Where the made state's base lies from its offset, found when the first one is made.
    void SetBase(std::size_t made, std::ptrdiff_t base);
    std::size_t GetBlockSize() const { return mBlockSize; }
    std::size_t GetBlockAlign() const { return mBlockAlign; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::vector<std::string> mNames;
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> mIndexes;
    std::array<std::uint32_t, kAIStateCount> mListed;
    std::vector<Slot> mSlots;
    std::vector<Made> mMade;
    std::size_t mBlockSize = 0;
    std::size_t mBlockAlign = alignof(std::max_align_t);
    bool mSealed = false;
};

// Frees a block of states, with the size and alignment it was made with; alignment 0 for a
// block that lies in another set's, which frees it.
struct ControllerAIStateBlockFree {
    std::uint32_t size = 0;
    std::uint32_t align = alignof(std::max_align_t);
    void operator()(std::byte* block) const;
};

// A controller's states of one kind (its states, or its temporary states), by the index its
// class gave each name: the class's states in one block, and states given to this controller
// alone (which win over the class's under the same name).
class ControllerAIStateSet {
public:
    ControllerAIStateSet() = default;
    ~ControllerAIStateSet() { Clear(); }
    ControllerAIStateSet(const ControllerAIStateSet&) = delete;
    ControllerAIStateSet& operator=(const ControllerAIStateSet&) = delete;

    void Bind(std::type_index controllerClass, bool temporary);
    void Bind(ControllerAIStateNames& names) {
        if (!mNames)
            mNames = &names;
    }
    bool IsBound() const { return mNames != nullptr; }
    // Drops the states of its own (a set not built yet).
    void DropOwn();
    // The owner is the controller whose sets these are, which makes the class's state for itself
    // on first use (passed, not kept: a crowd's controllers each hold two sets).
    ControllerAIState* Find(const AIStateKey& key, ControllerAI& owner) const {
        return mNames ? At(mNames->Find(key), owner) : nullptr;
    }
    ControllerAIState* At(std::uint32_t index, ControllerAI& owner) const {
        if (ControllerAIState* own = Own(index))
            return own;
        return mBlock ? ClassState(index, owner) : nullptr;
    }
    // A state of the class: the class's first controller records it (true when it replaces one
    // recorded before); a later one drops any state of its own under the name (true when it
    // had one).
    bool Declare(const AIStateKey& key, const ControllerAIStateKind& kind) {
        return MustDeclare() && DeclareInTable(key, kind);
    }
    // False where declaring the class's states could change nothing: a later controller with no
    // states of its own replays names the class's table holds already (debug builds look each
    // up, and Build compares the replay with the table).
    bool MustDeclare() const {
#ifdef NDEBUG
        return !((!mOwned || mOwned->empty()) && mNames && mNames->IsSealed());
#else
        return true;
#endif
    }
    // A state of this controller alone; true when it replaces one.
    bool Put(std::type_index controllerClass, bool temporary, std::string_view name,
             std::unique_ptr<ControllerAIState> state);
    using Block = std::unique_ptr<std::byte, ControllerAIStateBlockFree>;
    // The allocation Build lays out for sets of the two sealed tables, taken ahead of it; null
    // when they hold no states.
    static Block Reserve(const ControllerAIStateNames& lender,
                         const ControllerAIStateNames& borrower);
    // Lays out the blocks of the owner's two sets, once, in one allocation that `lender` frees:
    // it is cleared after `borrower`. The allocation is `reserved` when Reserve took it for these
    // tables. Each state is made on first use.
    static void Build(ControllerAIStateSet& lender, ControllerAIStateSet& borrower,
                      Block reserved = nullptr);
    // The name the state was registered under; null when it is not one of these.
    const char* NameOf(const ControllerAIState* state) const;
    // Destroys the states (their names stay the class's).
    void Clear();

private:
    // Seals the class's table (debug builds check a later registration against it); the size
    // of the block to lay out, 0 for none.
    std::size_t Prepare();
    void Place(Block block);
    ControllerAIState* ClassState(std::uint32_t index, ControllerAI& owner) const {
        const ControllerAIStateNames::Slot* slot = mNames->GetSlot(index);
        if (!slot)
            return nullptr;
        const std::uint32_t at = Header()[slot->made + 1];
        return at != 0 ? std::launder(reinterpret_cast<ControllerAIState*>(mBlock.get() + at))
                       : Make(slot->made, owner);
    }
    // The block opens with its states' count, then where each made one lies (0: not made yet),
    // in 16 bits: a crowd holds one block per controller.
    using HeaderWord = std::uint16_t;
    HeaderWord* Header() const {
        return reinterpret_cast<HeaderWord*>(mBlock.get());
    }
    ControllerAIState* Make(std::uint32_t made, ControllerAI& owner) const;
    ControllerAIState* Own(std::uint32_t index) const {
        return mOwned && index < mOwned->size() ? (*mOwned)[index].get() : nullptr;
    }
    // The state at the index if this controller has it made, without making it.
    const ControllerAIState* Existing(std::uint32_t index) const;
    // Declare, looked up in the class's table.
    bool DeclareInTable(const AIStateKey& key, const ControllerAIStateKind& kind);
#ifndef NDEBUG
    void CheckReplay();
    // What this controller registered, to compare with the class's table.
    std::vector<ControllerAIState* (*)(void*, ControllerAI&)> mReplayed;
#endif

    ControllerAIStateNames* mNames = nullptr;
    Block mBlock;
    // Held apart: few controllers have states of their own, and a crowd's controllers lie
    // together.
    std::unique_ptr<std::vector<std::unique_ptr<ControllerAIState>>> mOwned;
};

}  // namespace GAME
