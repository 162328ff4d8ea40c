#pragma once
// The damage each victim has taken, by attacker in the order they first struck (a kill's reward
// is shared by it). Victims are struck and die all the time: a victim's list, once dropped, is
// kept for the next victim, and the victims are found through a sorted index.
#include <cstdint>
#include <vector>

namespace GAME {

class DamageRegister {
public:
    struct Entry {
        std::uint32_t attacker = 0;
        float damage = 0;
    };

    void Add(std::uint32_t victim, std::uint32_t attacker, float damage);
    // The victim's entries; null when it has none registered.
    const std::vector<Entry>* Find(std::uint32_t victim) const;
    void Remove(std::uint32_t victim);

private:
    struct Victim {
        std::uint32_t id;
        std::uint32_t list;  // into mLists
    };
    std::vector<Victim>::iterator LowerBound(std::uint32_t victim);
    std::vector<Victim>::const_iterator LowerBound(std::uint32_t victim) const;

    std::vector<Victim> mVictims;  // by id
    std::vector<std::vector<Entry>> mLists;
    std::vector<std::uint32_t> mFreeLists;
};

}  // namespace GAME
