#include "Game/core/settings/DamageRegister.h"

#include <algorithm>

namespace GAME {

namespace {
constexpr std::size_t kFirstEntries = 4;
}  // namespace

std::vector<DamageRegister::Victim>::iterator DamageRegister::LowerBound(std::uint32_t victim) {
    return std::lower_bound(mVictims.begin(), mVictims.end(), victim,
                            [](const Victim& v, std::uint32_t id) { return v.id < id; });
}

std::vector<DamageRegister::Victim>::const_iterator DamageRegister::LowerBound(
    std::uint32_t victim) const {
    return std::lower_bound(mVictims.begin(), mVictims.end(), victim,
                            [](const Victim& v, std::uint32_t id) { return v.id < id; });
}

void DamageRegister::Add(std::uint32_t victim, std::uint32_t attacker, float damage) {
    auto at = LowerBound(victim);
    if (at == mVictims.end() || at->id != victim) {
        std::uint32_t list = 0;
        if (mFreeLists.empty()) {
            list = static_cast<std::uint32_t>(mLists.size());
            mLists.emplace_back().reserve(kFirstEntries);
        } else {
            list = mFreeLists.back();
            mFreeLists.pop_back();
        }
        at = mVictims.insert(at, Victim{victim, list});
    }
    std::vector<Entry>& entries = mLists[at->list];
    for (Entry& entry : entries)
        if (entry.attacker == attacker) {
            entry.damage += damage;
            return;
        }
    entries.push_back(Entry{attacker, damage});
}

const std::vector<DamageRegister::Entry>* DamageRegister::Find(std::uint32_t victim) const {
    const auto at = LowerBound(victim);
    return at != mVictims.end() && at->id == victim ? &mLists[at->list] : nullptr;
}

void DamageRegister::Remove(std::uint32_t victim) {
    const auto at = LowerBound(victim);
    if (at == mVictims.end() || at->id != victim)
        return;
    mLists[at->list].clear();
    mFreeLists.push_back(at->list);
    mVictims.erase(at);
}

}  // namespace GAME
