#include "Game/ai/controllers/ControllerAIStateNames.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <typeinfo>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Game/ai/controllers/ControllerAIState.h"

namespace GAME {

namespace {
// Every controller class's tables on one machine.
struct StateNameTables {
    struct Pair {
        std::array<std::unique_ptr<ControllerAIStateNames>, 2> owned;
        std::array<ControllerAIStateNames*, 2> tables{};
    };
    std::unordered_map<std::type_index, Pair> byClass;
    // The class asked last: controllers of one class come in runs, and hashing a class hashes
    // its name.
    std::type_index lastClass{typeid(void)};
    Pair* last = nullptr;
};
}  // namespace

const std::array<ControllerAIStateNames*, 2>& ControllerAIStateNames::BothOf(
    std::type_index controllerClass) {
    StateNameTables& all = Machine::Current().Get<StateNameTables>();
    if (all.last && all.lastClass == controllerClass) {
#ifndef NDEBUG
        if (&all.byClass.at(controllerClass) != all.last) {
            gEngine->Log(0, "ControllerAI: the state tables kept for %s are another class's",
                         controllerClass.name());
            std::abort();
        }
#endif
        return all.last->tables;
    }
    StateNameTables::Pair& pair = all.byClass[controllerClass];
    if (!pair.tables[0])
        for (std::size_t i = 0; i < 2; ++i) {
            pair.owned[i] = std::make_unique<ControllerAIStateNames>();
            pair.tables[i] = pair.owned[i].get();
        }
    // Nodes of an unordered_map stay where they are while others are added.
    all.lastClass = controllerClass;
    all.last = &pair;
    return pair.tables;
}

std::uint32_t ControllerAIStateNames::Register(std::string_view name) {
    if (const std::uint32_t known = Find(name); known != kNone)
        return known;
    const auto index = static_cast<std::uint32_t>(mNames.size());
    mNames.emplace_back(name);
    mIndexes.emplace(mNames.back(), index);
    if (const AIStateId id = FindAIStateId(name); id != AIStateId::Unknown)
        mListed[static_cast<std::size_t>(id)] = index;
    return index;
}

std::uint32_t ControllerAIStateNames::Register(const AIStateKey& key) {
    const std::uint32_t known = Find(key);
    return known != kNone ? known : Register(key.GetName());
}

std::uint32_t ControllerAIStateNames::Find(std::string_view name) const {
    const auto it = mIndexes.find(name);
    return it == mIndexes.end() ? kNone : it->second;
}

bool ControllerAIStateNames::Record(std::uint32_t index, const ControllerAIStateKind& kind) {
    if (index >= mSlots.size())
        mSlots.resize(index + 1);
    const bool replaced = mSlots[index].kind.construct != nullptr;
    mSlots[index].kind = kind;
    return replaced;
}

void ControllerAIStateNames::Seal() {
    // The block opens with its states' count and where each lies, so that it can be unmade
    // without this table (which the machine may have freed first).
    std::size_t count = 0;
    for (const Slot& slot : mSlots)
        if (slot.kind.construct) {
            mBlockAlign = std::max(mBlockAlign, slot.kind.align);
            ++count;
        }
    std::size_t at = sizeof(std::uint16_t) * (count + 1);
    mMade.clear();
    mMade.reserve(count);
    for (std::uint32_t i = 0; i < mSlots.size(); ++i) {
        Slot& slot = mSlots[i];
        if (!slot.kind.construct)
            continue;
        at = (at + slot.kind.align - 1) / slot.kind.align * slot.kind.align;
        slot.offset = at;
        slot.made = static_cast<std::uint32_t>(mMade.size());
        mMade.push_back(Made{slot.kind.construct, at, at, i});
        at += slot.kind.size;
    }
    mBlockSize = count == 0 ? 0 : at;
    // The header keeps counts and offsets in 16 bits.
    if (mBlockSize > 0xFFFF)
        std::abort();
    mSealed = true;
}

void ControllerAIStateNames::SetBase(std::size_t made, std::ptrdiff_t base) {
    Made& entry = mMade[made];
    mSlots[entry.slot].base = base;
    entry.base = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(entry.offset) + base);
    entry.located = true;
}

namespace {
// The plain allocator where it aligns enough: cheaper than the aligned one.
bool NeedsAlignedNew(std::size_t align) {
    return align > __STDCPP_DEFAULT_NEW_ALIGNMENT__;
}

// Recycled where its blocks align enough: a crowd's blocks then lie together on huge pages, and
// each update's first call on a state waits for no address translation.
bool IsRecycled(std::size_t size, std::size_t align) {
    using namespace RecycledBlocksState;
    return size <= kLargestKept &&
           (align <= kGranule || (align <= kLargeGranule && size > kSmallKept));
}

std::byte* AllocateBlock(std::size_t size, std::size_t align) {
    if (IsRecycled(size, align))
        return static_cast<std::byte*>(RecycledBlocks::Take(size));
    return static_cast<std::byte*>(NeedsAlignedNew(align)
                                       ? ::operator new (size, std::align_val_t{align})
                                       : ::operator new(size));
}

ControllerAIStateBlockFree FreeOf(std::size_t size, std::size_t align) {
    return ControllerAIStateBlockFree{static_cast<std::uint32_t>(size),
                                      static_cast<std::uint32_t>(align)};
}
}  // namespace

void ControllerAIStateBlockFree::operator()(std::byte* block) const {
    if (align == 0)
        return;
    if (IsRecycled(size, align))
        RecycledBlocks::Give(block, size);
    else if (NeedsAlignedNew(align))
        ::operator delete (block, std::align_val_t{align});
    else
        ::operator delete(block);
}

void ControllerAIStateSet::Bind(std::type_index controllerClass, bool temporary) {
    if (!mNames)
        mNames = &ControllerAIStateNames::Of(controllerClass, temporary);
}

void ControllerAIStateSet::DropOwn() {
    mOwned.reset();
#ifndef NDEBUG
    mReplayed.clear();
#endif
}

ControllerAIState* ControllerAIStateSet::Make(std::uint32_t made, ControllerAI& owner) const {
    const ControllerAIStateNames::Made& entry = mNames->GetMade()[made];
    std::byte* at = mBlock.get() + entry.offset;
    const auto* state = reinterpret_cast<const std::byte*>(entry.construct(at, owner));
    if (!entry.located) {
        mNames->SetBase(made, state - at);
    } else if (state != mBlock.get() + entry.base) {
        gEngine->Log(0, "ControllerAI: state %s lies apart from its class's",
                     mNames->GetName(entry.slot).c_str());
        std::abort();
    }
    // Marked made only now, so that a constructor that throws leaves it unmade rightly.
    Header()[made + 1] = static_cast<HeaderWord>(entry.base);
    return std::launder(reinterpret_cast<ControllerAIState*>(mBlock.get() + entry.base));
}

const ControllerAIState* ControllerAIStateSet::Existing(std::uint32_t index) const {
    if (const ControllerAIState* own = Own(index))
        return own;
    const ControllerAIStateNames::Slot* slot = mBlock ? mNames->GetSlot(index) : nullptr;
    const std::uint32_t at = slot ? Header()[slot->made + 1] : 0;
    return at != 0 ? std::launder(reinterpret_cast<const ControllerAIState*>(mBlock.get() + at))
                   : nullptr;
}

bool ControllerAIStateSet::DeclareInTable(const AIStateKey& key,
                                          const ControllerAIStateKind& kind) {
    const std::uint32_t index = mNames->Register(key);
    // Registered after a state of this controller's own: the class's state wins again.
    const bool owned = Own(index) != nullptr;
    if (owned)
        (*mOwned)[index].reset();
    if (!mNames->IsSealed())
        return mNames->Record(index, kind) || owned;
#ifndef NDEBUG
    if (index >= mReplayed.size())
        mReplayed.resize(index + 1);
    mReplayed[index] = kind.construct;
#endif
    return owned;
}

bool ControllerAIStateSet::Put(std::type_index controllerClass, bool temporary,
                               std::string_view name, std::unique_ptr<ControllerAIState> state) {
    Bind(controllerClass, temporary);
    const std::uint32_t index = mNames->Register(name);
    // Whether there is one under the name, without making the class's.
    const bool replaced = Own(index) != nullptr || (mBlock && mNames->GetSlot(index) != nullptr);
    if (!mOwned)
        mOwned = std::make_unique<std::vector<std::unique_ptr<ControllerAIState>>>();
    if (index >= mOwned->size())
        mOwned->resize(mNames->Size());
    (*mOwned)[index] = std::move(state);
    return replaced;
}

std::size_t ControllerAIStateSet::Prepare() {
    if (!mNames || mBlock)
        return 0;
    if (!mNames->IsSealed())
        mNames->Seal();
#ifndef NDEBUG
    else
        CheckReplay();
#endif
    return mNames->GetBlockSize();
}

void ControllerAIStateSet::Place(Block block) {
    mBlock = std::move(block);
    const auto count = static_cast<std::uint32_t>(mNames->GetMade().size());
    HeaderWord* header = Header();
    header[0] = static_cast<HeaderWord>(count);
    std::fill_n(header + 1, count, HeaderWord{0});
}

namespace {
// One allocation for a controller's two blocks: the lent block first, the borrowed one at
// `borrowedAt`.
struct BlockLayout {
    std::size_t borrowedAt = 0;
    std::size_t size = 0;
    std::size_t align = 1;
};

BlockLayout LayOutBlocks(std::size_t lent, std::size_t lentAlign, std::size_t borrowed,
                         std::size_t borrowedAlign) {
    lentAlign = lent ? lentAlign : 1;
    borrowedAlign = borrowed ? borrowedAlign : 1;
    BlockLayout layout;
    layout.borrowedAt = (lent + borrowedAlign - 1) / borrowedAlign * borrowedAlign;
    layout.size = layout.borrowedAt + borrowed;
    layout.align = std::max(lentAlign, borrowedAlign);
    return layout;
}
}  // namespace

ControllerAIStateSet::Block ControllerAIStateSet::Reserve(const ControllerAIStateNames& lender,
                                                          const ControllerAIStateNames& borrower) {
    if (!lender.IsSealed() || !borrower.IsSealed())
        std::abort();  // a table still recording has no size yet
    const BlockLayout layout = LayOutBlocks(lender.GetBlockSize(), lender.GetBlockAlign(),
                                            borrower.GetBlockSize(), borrower.GetBlockAlign());
    if (layout.size == 0)
        return nullptr;
    return Block(AllocateBlock(layout.size, layout.align), FreeOf(layout.size, layout.align));
}

void ControllerAIStateSet::Build(ControllerAIStateSet& lender, ControllerAIStateSet& borrower,
                                 Block reserved) {
    const std::size_t lent = lender.Prepare();
    const std::size_t borrowed = borrower.Prepare();
    if (lent == 0 && borrowed == 0)
        return;
    const BlockLayout layout =
        LayOutBlocks(lent, lent ? lender.mNames->GetBlockAlign() : 1, borrowed,
                     borrowed ? borrower.mNames->GetBlockAlign() : 1);
    // Sealed tables keep their layout, so a block reserved for them fits.
    if (reserved && reserved.get_deleter().align != layout.align)
        std::abort();
    Block block = reserved ? std::move(reserved)
                           : Block(AllocateBlock(layout.size, layout.align),
                                   FreeOf(layout.size, layout.align));
    if (lent == 0) {
        borrower.Place(std::move(block));
        return;
    }
    std::byte* const borrowedBytes = block.get() + layout.borrowedAt;
    lender.Place(std::move(block));
    if (borrowed != 0)
        borrower.Place(Block(borrowedBytes, ControllerAIStateBlockFree{0, 0}));
}

#ifndef NDEBUG
void ControllerAIStateSet::CheckReplay() {
    // The class's table is what its first controller registered: every later one must register
    // the same.
    mReplayed.resize(std::max(mReplayed.size(), mNames->GetSlotCount()));
    for (std::uint32_t i = 0; i < mReplayed.size(); ++i) {
        const ControllerAIStateNames::Slot* slot = mNames->GetSlot(i);
        if ((slot ? slot->kind.construct : nullptr) != mReplayed[i]) {
            gEngine->Log(0, "ControllerAI: state %s registered unlike its class's first",
                         mNames->GetName(i).c_str());
            std::abort();
        }
    }
    mReplayed.clear();
}
#endif

const char* ControllerAIStateSet::NameOf(const ControllerAIState* state) const {
    if (!mNames || !state)
        return nullptr;
    for (std::uint32_t i = 0; i < mNames->Size(); ++i)
        if (Existing(i) == state)
            return mNames->GetName(i).c_str();
    return nullptr;
}

void ControllerAIStateSet::Clear() {
    mOwned.reset();
    if (mBlock) {
        const HeaderWord* header = Header();
        for (std::uint32_t i = 1; i <= header[0]; ++i)
            if (header[i] != 0)
                std::launder(reinterpret_cast<ControllerAIState*>(mBlock.get() + header[i]))
                    ->~ControllerAIState();
    }
    mBlock.reset();
}

}  // namespace GAME
