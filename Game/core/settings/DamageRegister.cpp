#include "Game/core/settings/DamageRegister.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace GAME {

namespace {

// A register nobody reserved for starts with this much room.
constexpr std::size_t kFirstRoom = 256;
// Entries reserved per victim: most victims are struck by a few attackers at once.
constexpr std::size_t kEntriesPerVictim = 4;

}  // namespace

std::size_t DamageRegister::Home(std::uint32_t victim) const {
    // Fibonacci hashing, the product's top bits: ids made in a row spread over the table.
    const int bits = std::countr_zero(mSlots.size());
    return static_cast<std::size_t>((victim * 0x9E3779B1u) >> (32 - bits));
}

const DamageRegister::Victim* DamageRegister::Find(std::uint32_t victim) const {
    if (mSlots.empty())
        return nullptr;
    for (std::size_t i = Home(victim);; i = (i + 1) & (mSlots.size() - 1)) {
        const Victim& slot = mSlots[i];
        if (slot.first == kNone)
            return nullptr;
        if (slot.id == victim)
            return &slot;
    }
}

void DamageRegister::Rehash(std::size_t slots) {
    std::vector<Victim> old(slots);
    old.swap(mSlots);
    for (const Victim& victim : old) {
        if (victim.first == kNone)
            continue;
        std::size_t i = Home(victim.id);
        while (mSlots[i].first != kNone)
            i = (i + 1) & (mSlots.size() - 1);
        mSlots[i] = victim;
    }
}

void DamageRegister::RoomForVictim() {
    if (2 * (mVictimCount + 1) > mSlots.size())
        Rehash(std::max(kFirstRoom, 2 * mSlots.size()));
}

void DamageRegister::Reserve(std::size_t victims) {
    const std::size_t slots = std::bit_ceil(std::max(kFirstRoom, 2 * victims));
    if (slots > mSlots.size())
        Rehash(slots);
    // Doubled, so that a crowd reserved for one by one reallocates rarely.
    const std::size_t entries = kEntriesPerVictim * victims;
    if (mEntries.capacity() < entries)
        mEntries.reserve(std::max(entries, 2 * mEntries.capacity()));
}

std::uint32_t DamageRegister::NewEntry(std::uint32_t attacker, float damage) {
    std::uint32_t index = mFree;
    if (index == kNone) {
        if (mEntries.empty() && mEntries.capacity() < kFirstRoom)
            mEntries.reserve(kFirstRoom);
        index = static_cast<std::uint32_t>(mEntries.size());
        mEntries.push_back(Entry{attacker, damage, kNone});
        return index;
    }
    mFree = mEntries[index].next;
    mEntries[index] = Entry{attacker, damage, kNone};
    return index;
}

void DamageRegister::Add(std::uint32_t victim, std::uint32_t attacker, float damage) {
    if (auto* held = const_cast<Victim*>(Find(victim))) {
        for (std::uint32_t i = held->first; i != kNone; i = mEntries[i].next)
            if (mEntries[i].attacker == attacker) {
                mEntries[i].damage += damage;
                return;
            }
        const std::uint32_t entry = NewEntry(attacker, damage);
        mEntries[held->last].next = entry;
        held->last = entry;
        return;
    }
    RoomForVictim();
    std::size_t i = Home(victim);
    while (mSlots[i].first != kNone)
        i = (i + 1) & (mSlots.size() - 1);
    const std::uint32_t entry = NewEntry(attacker, damage);
    mSlots[i] = Victim{victim, entry, entry};
    ++mVictimCount;
}

bool DamageRegister::Has(std::uint32_t victim) const {
    return Find(victim) != nullptr;
}

float DamageRegister::Total(std::uint32_t victim) const {
    float total = 0.0f;
    if (const Victim* v = Find(victim))
        for (std::uint32_t i = v->first; i != kNone; i = mEntries[i].next)
            total += mEntries[i].damage;
    return total;
}

float DamageRegister::ByAttacker(std::uint32_t victim, std::uint32_t attacker) const {
    float total = 0.0f;
    if (const Victim* v = Find(victim))
        for (std::uint32_t i = v->first; i != kNone; i = mEntries[i].next)
            if (mEntries[i].attacker == attacker)
                total += mEntries[i].damage;
    return total;
}

void DamageRegister::Remove(std::uint32_t victim) {
    const Victim* found = Find(victim);
    if (!found)
        return;
    auto hole = static_cast<std::size_t>(found - mSlots.data());
    mEntries[found->last].next = mFree;
    mFree = found->first;
    mSlots[hole] = Victim{};
    --mVictimCount;
    // Later members of the run move back into the hole when their home allows it, so that no
    // search stops short at the emptied slot.
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t i = (hole + 1) & mask; mSlots[i].first != kNone; i = (i + 1) & mask) {
        const std::size_t home = Home(mSlots[i].id);
        // Movable when its home does not lie cyclically in (hole, i].
        if (((i - home) & mask) >= ((i - hole) & mask)) {
            mSlots[hole] = mSlots[i];
            mSlots[i] = Victim{};
            hole = i;
        }
    }
}

}  // namespace GAME
