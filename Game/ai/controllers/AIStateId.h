#pragma once
// Every state name the game's controllers register, each with a number of its own. A state
// named by a literal in code is resolved to its number when the code is compiled, so a state
// change indexes a table instead of hashing the name. Names outside the list (registered at run
// time) still work, through the slower lookup by name.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace GAME {

// clang-format off
#define GAME_AI_STATE_NAMES(X)                                                                    \
    /* monsters */                                                                                \
    X(Startup) X(Idle) X(Pursue) X(EmoteBeforePursue) X(Attack) X(RepositionForAttack) X(Flee)    \
    X(Roam) X(Wander) X(WanderPause) X(Return) X(Dying) X(Dead) X(FollowLeader) X(DefendLeader)   \
    X(NavigateObstacle) X(Move) X(DodgeAttack) X(Panic) X(Paralyze) X(Confused) X(Immobile)       \
    X(Trapped) X(TrappedAttack) X(Stunned) X(Scared) X(Patrol) X(WaitToAttack) X(QuestMove)       \
    X(QuestWalk) X(QuestPlayAnimation) X(QuestUseSkill) X(UseSkillOnAlly) X(UseSkillOnPoint)      \
    /* bosses */                                                                                  \
    X(PursueStatue) X(AttackStatue) X(AttackMarch) X(LaunchBursts) X(AttackConduit)               \
    X(AttackPhase1) X(AttackPhase2) X(Emote) X(BullRun) X(ScriptedMove) X(Roar) X(Animate)        \
    X(AttackToAnimate) X(PursueToAnimate) X(Chained) X(BreakingTheChains) X(WaitToWalk)           \
    X(WalkToPortal)                                                                               \
    /* people and animals */                                                                      \
    X(LongIdle) X(Chat) X(WatchAttraction) X(FollowHerd) X(Wiggle) X(DirectHerd)                  \
    /* players */                                                                                 \
    X(MoveTo) X(MoveToNpc) X(TalkToNpc) X(MoveToItem) X(PickupItem) X(MoveToFixedItem)            \
    X(UseFixedItem) X(MoveToUseSkill) X(UseSkill) X(MoveToStrategicMovement)                      \
    X(DoStrategicMovement) X(Immobilized) X(UseSkillWhileTrapped) X(Respawning)
// clang-format on

enum class AIStateId : std::uint16_t {
#define GAME_AI_STATE_ENUM(name) name,
    GAME_AI_STATE_NAMES(GAME_AI_STATE_ENUM)
#undef GAME_AI_STATE_ENUM
        Count,
    Unknown = Count,
};

inline constexpr std::size_t kAIStateCount = static_cast<std::size_t>(AIStateId::Count);

inline constexpr std::string_view kAIStateNames[kAIStateCount] = {
#define GAME_AI_STATE_TEXT(name) #name,
    GAME_AI_STATE_NAMES(GAME_AI_STATE_TEXT)
#undef GAME_AI_STATE_TEXT
};

// The number of a listed name; Unknown for any other.
constexpr AIStateId FindAIStateId(std::string_view name) {
    for (std::size_t i = 0; i < kAIStateCount; ++i)
        if (kAIStateNames[i] == name)
            return static_cast<AIStateId>(i);
    return AIStateId::Unknown;
}

// A state as code names it: a listed number, or a name to look up.
class AIStateKey {
public:
    // A literal: resolved while compiling.
    template <std::size_t N>
    consteval AIStateKey(const char (&name)[N]) : mName(name, N - 1), mId(FindAIStateId(mName)) {}
    constexpr AIStateKey(AIStateId id)
        : mName(kAIStateNames[static_cast<std::size_t>(id)]), mId(id) {}
    // A name known only at run time; it must outlive the key.
    explicit AIStateKey(std::string_view name) : mName(name), mId(FindAIStateId(name)) {}

    constexpr std::string_view GetName() const { return mName; }
    constexpr AIStateId GetId() const { return mId; }
    constexpr bool IsListed() const { return mId != AIStateId::Unknown; }

private:
    std::string_view mName;
    AIStateId mId;
};

}  // namespace GAME
