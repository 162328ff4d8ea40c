#pragma once
// The scripted player's hand on its skills, as a person would play the class: unspent skill
// points go into the class's skills (the fighting ones first: a buff of its own, a pet, a ranged
// attack or spell; the least raised of them first), and in a fight it keeps its buff up, calls its
// pet when it has none and meets a far foe with its ranged skill. It decides from what the game
// shows only, so a replay of the same run decides the same; the play log says what it learned
// ("you learn X (level N)"), cast ("you cast X") and what a passive skill did by itself ("your X
// takes hold"); the game tells of the pet's coming.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace GAME {

class Character;
class Entity;
class Player;
class PlayEventLog;
class Skill;

class SkillDriver {
public:
    // One skill use, then a pause: the cast must start before the next is asked for.
    static constexpr int kIntervalMs = 1000;
    // Foes this near make a fight; one farther than kFarFoe is met with the ranged skill.
    static constexpr float kFightRadius = 20.0f;
    static constexpr float kFarFoe = 6.0f;

    explicit SkillDriver(PlayEventLog& log) : mLog(log) {}
    // Once a frame before it runs, in a played and a replayed run alike, for this machine's
    // player. It casts only with a foe within `fightRadius` (0: it only notes and spends) and
    // calls its pet only with `callPet`, so a scripted story can keep the player's hands free
    // while it walks somewhere, its fight near, and a pet that runs ahead out of a fight it
    // must keep small.
    void Step(Player& player, std::uint64_t gameTimeMs, float fightRadius = kFightRadius,
              bool callPet = true);

    // The player is casting a skill other than its plain attacks: a click now would break the
    // cast off before it lands, so the click drivers wait.
    static bool IsCasting(Player& player);

private:
    enum class Use { None, Buff, Pet, Far, Passive };
    static Use UseOf(const Skill& skill);
    static std::string NameOf(const Skill& skill);
    void SpendPoints(Player& player);
    // Lines for skills whose level rose, uses of skills other than the plain attack and passive
    // skills that took hold.
    void NoteChanges(Player& player);
    // The nearest living foe within the radius (null: no fight) and its distance.
    Character* NearestFoe(Player& player, float radius, float& distance);
    bool Cast(Player& player, const Skill& skill, Character* foe);

    PlayEventLog& mLog;
    std::uint64_t mNextUseMs = 0;
    std::map<std::uint32_t, std::uint32_t> mLevels;  // skill id -> level last seen
    std::map<std::string, int> mUses;                // skill record -> uses last seen
    std::map<std::uint32_t, bool> mHeld;             // passive skill id -> held when last seen
    std::vector<Entity*> mNearby;
};

}  // namespace GAME
