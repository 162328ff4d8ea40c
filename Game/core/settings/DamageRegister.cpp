#include "Game/core/settings/DamageRegister.h"

#include <algorithm>
#include <cstddef>

namespace GAME {

namespace {

// A fight's first blows take this much room at once, not a doubling per few new victims.
constexpr std::size_t kFirstRoom = 256;

template <class Victims>
auto LowerBound(Victims& victims, std::uint32_t victim) {
    return std::lower_bound(victims.begin(), victims.end(), victim,
                            [](const auto& v, std::uint32_t id) { return v.id < id; });
}

}  // namespace

const DamageRegister::Victim* DamageRegister::Find(std::uint32_t victim) const {
    const auto at = LowerBound(mVictims, victim);
    return at != mVictims.end() && at->id == victim ? &*at : nullptr;
}

std::uint32_t DamageRegister::NewEntry(std::uint32_t attacker, float damage) {
    std::uint32_t index = mFree;
    if (index == kNone) {
        if (mEntries.empty())
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
    auto at = LowerBound(mVictims, victim);
    if (at == mVictims.end() || at->id != victim) {
        if (mVictims.empty() && mVictims.capacity() < kFirstRoom) {
            mVictims.reserve(kFirstRoom);
            at = mVictims.begin();
        }
        const std::uint32_t entry = NewEntry(attacker, damage);
        mVictims.insert(at, Victim{victim, entry, entry});
        return;
    }
    for (std::uint32_t i = at->first; i != kNone; i = mEntries[i].next)
        if (mEntries[i].attacker == attacker) {
            mEntries[i].damage += damage;
            return;
        }
    const std::uint32_t entry = NewEntry(attacker, damage);
    mEntries[at->last].next = entry;
    at->last = entry;
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
    const auto at = LowerBound(mVictims, victim);
    if (at == mVictims.end() || at->id != victim)
        return;
    mEntries[at->last].next = mFree;
    mFree = at->first;
    mVictims.erase(at);
}

}  // namespace GAME
