#pragma once
// The damage each victim has taken, by attacker in the order they first struck (a kill's reward
// is shared by it). Victims are struck and die all the time: their entries live in one pool
// whose dropped entries serve the next, and the victims are found through a sorted index, so a
// fight allocates only when the pool or the index doubles.
#include <cstdint>
#include <vector>

namespace GAME {

class DamageRegister {
public:
    void Add(std::uint32_t victim, std::uint32_t attacker, float damage);
    bool Has(std::uint32_t victim) const;
    // Summed in the order the attackers first struck; 0 for a victim without entries.
    float Total(std::uint32_t victim) const;
    float ByAttacker(std::uint32_t victim, std::uint32_t attacker) const;
    void Remove(std::uint32_t victim);

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Entry {
        std::uint32_t attacker;
        float damage;
        std::uint32_t next;  // the victim's next entry, or the next free one
    };
    struct Victim {
        std::uint32_t id;
        std::uint32_t first;
        std::uint32_t last;
    };
    const Victim* Find(std::uint32_t victim) const;
    std::uint32_t NewEntry(std::uint32_t attacker, float damage);

    std::vector<Victim> mVictims;  // by id
    std::vector<Entry> mEntries;
    std::uint32_t mFree = kNone;
};

}  // namespace GAME
