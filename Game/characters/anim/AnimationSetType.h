#pragma once
// The 32 kinds of animation a character can play in one stance. The numbering and the texts are
// fixed: quest scripts and records name types by their text.
#include <cstddef>

namespace GAME {

// What holds a type's animations: one animation, a weighted random choice among several, or a
// choice by reference name.
enum class AnimationHolderKind { Single, Pool, Collection };

// clang-format off
//  id                 text                 holder       preload priority
#define GAME_ANIMATION_SET_TYPES(X) \
    X(None,            "None",            Single,     1) \
    X(AttackIdle,      "AttackIdle",      Pool,       1) \
    X(IdleTransition,  "IdleTransition",  Single,     1) \
    X(LongIdle,        "LongIdle",        Single,     1) \
    X(Fidget,          "Fidget",          Pool,       0) \
    X(Run,             "Run",             Single,     1) \
    X(Walk,            "Walk",            Single,     1) \
    X(Pickup,          "Pickup",          Single,     0) \
    X(PassItem,        "PassItem",        Single,     0) \
    X(Chat,            "Chat",            Single,     0) \
    X(Stun,            "Stun",            Single,     0) \
    X(CriticalHit,     "CriticalHit",     Single,     0) \
    X(Die,             "Die",             Pool,       1) \
    X(BuffSelf,        "BuffSelf",        Pool,       0) \
    X(BuffOther,       "BuffOther",       Pool,       0) \
    X(SpellCast,       "SpellCast",       Single,     0) \
    X(Attack,          "Attack",          Pool,       1) \
    X(Special,         "Special",         Collection, 0) \
    X(Spawn,           "Spawn",           Single,     1) \
    X(Respawn,         "Respawn",         Single,     1) \
    X(BeginMount,      "BeginMount",      Single,     0) \
    X(Mount,           "Mount",           Single,     0) \
    X(Dismount,        "Dismount",        Single,     0) \
    X(EndDismount,     "EndDismount",     Single,     0) \
    X(AttTurnRight90,  "AttTurnRight90",  Single,     1) \
    X(AttTurnLeft90,   "AttTurnLeft90",   Single,     1) \
    X(AttTurnRight180, "AttTurnRight180", Single,     1) \
    X(AttTurnLeft180,  "AttTurnLeft180",  Single,     1) \
    X(TurnRight90,     "TurnRight90",     Single,     1) \
    X(TurnLeft90,      "TurnLeft90",      Single,     1) \
    X(TurnRight180,    "TurnRight180",    Single,     1) \
    X(TurnLeft180,     "TurnLeft180",     Single,     1)
// clang-format on

enum class AnimationSet_Type : int {
#define GAME_ANIMATION_SET_TYPE_ID(Id, Text, Kind, Priority) Id,
    GAME_ANIMATION_SET_TYPES(GAME_ANIMATION_SET_TYPE_ID)
#undef GAME_ANIMATION_SET_TYPE_ID
};

inline constexpr std::size_t kAnimationSetTypeCount = 0
#define GAME_ANIMATION_SET_TYPE_COUNT(Id, Text, Kind, Priority) +1
    GAME_ANIMATION_SET_TYPES(GAME_ANIMATION_SET_TYPE_COUNT)
#undef GAME_ANIMATION_SET_TYPE_COUNT
    ;
static_assert(kAnimationSetTypeCount == 32);

// The table index of a type, or kAnimationSetTypeCount for a value outside it.
constexpr std::size_t AnimationSetTypeIndex(AnimationSet_Type type) {
    const int value = static_cast<int>(type);
    return value >= 0 && value < static_cast<int>(kAnimationSetTypeCount)
               ? static_cast<std::size_t>(value)
               : kAnimationSetTypeCount;
}

// The entry that serves a type: its own, None's for a value outside the table.
constexpr std::size_t AnimationSetServingIndex(AnimationSet_Type type) {
    const std::size_t index = AnimationSetTypeIndex(type);
    return index < kAnimationSetTypeCount ? index : 0;
}

}  // namespace GAME
