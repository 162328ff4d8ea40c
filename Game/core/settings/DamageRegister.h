#pragma once
// The damage each victim has taken, by attacker in the order they first struck (a kill's reward
// is shared by it). Victims are struck and die all the time: their entries live in one pool
// whose dropped entries serve the next, and the victims are found through an open hash table,
// so a crowd's first blows cost the same however large the crowd. Room for a crowd is taken
// as it is made (Reserve), so its fight allocates nothing.
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
    // Room for this many victims, each struck by a few attackers at once.
    void Reserve(std::size_t victims);

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Entry {
        std::uint32_t attacker;
        float damage;
        std::uint32_t next;  // the victim's next entry, or the next free one
    };
    // A free slot has no first entry: every victim held has one.
    struct Victim {
        std::uint32_t id = 0;
        std::uint32_t first = kNone;
        std::uint32_t last = kNone;
    };
    const Victim* Find(std::uint32_t victim) const;
    std::size_t Home(std::uint32_t victim) const;
    // Room for one more victim; the table is at most half full.
    void RoomForVictim();
    void Rehash(std::size_t slots);
    std::uint32_t NewEntry(std::uint32_t attacker, float damage);

    std::vector<Victim> mSlots;  // a power of two, or empty
    std::size_t mVictimCount = 0;
    std::vector<Entry> mEntries;
    std::uint32_t mFree = kNone;
};

}  // namespace GAME
