#include "Game/characters/anim/StanceAnimationKeys.h"

#include <string>

#include "Engine/records/LoadTable.h"
#include "Game/characters/anim/AnimationSet.h"

namespace GAME {

namespace {

// What follows the file and speed keys of a row.
enum class Extra { None, FixedWeight, WeightKey, Reference };

struct StanceRow {
    AnimationSet_Type type;
    const char* file;
    const char* speed;
    Extra extra;
    const char* weightKey;  // the weight or reference key
    float fixedWeight;
    int first;  // 0: not numbered
    int last;   // -1: the caller's Special count
};

using T = AnimationSet_Type;

constexpr StanceRow kRows[] = {
    {T::AttackIdle, "AttackIdleAnim", "AttackIdleAnimSpeed", Extra::FixedWeight, "", 100.0f, 0, 0},
    {T::AttackIdle, "AttackIdleAnim", "AttackIdleAnimSpeed", Extra::WeightKey,
     "AttackIdleAnimWeight", 0.0f, 2, 5},
    {T::IdleTransition, "IdleTransAnim", "IdleTranAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::LongIdle, "LongIdleAnim", "LongIdleAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Fidget, "FidgetAnim", "FidgetAnimSpeed", Extra::WeightKey, "FidgetAnimWeight", 0.0f, 1, 3},
    {T::Run, "RunAnim", "RunAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Walk, "WalkAnim", "WalkAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Pickup, "PickupAnim", "PickupAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::PassItem, "PassItemAnim", "PassItemAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Chat, "ChatAnim", "ChatAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Stun, "StunAnim", "StunAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::CriticalHit, "CriticalHitAnim", "CriticalHitAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Die, "DieAnim", "DieAnimSpeed", Extra::WeightKey, "DieAnimWeight", 0.0f, 1, 3},
    {T::BuffSelf, "BuffSelfAnim", "BuffSelfSpeed", Extra::WeightKey, "BuffSelfWeight", 0.0f, 1, 3},
    {T::BuffOther, "BuffOtherAnim", "BuffOtherSpeed", Extra::WeightKey, "BuffOtherWeight", 0.0f, 1,
     3},
    {T::SpellCast, "SpellAttackAnim", "SpellAttackAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Attack, "AttackAnim", "AttackAnimSpeed", Extra::WeightKey, "AttackAnimWeight", 0.0f, 1, 3},
    {T::Special, "SpecialAnim", "SpecialAnimSpeed", Extra::Reference, "SpecialAnimRef", 0.0f, 1,
     -1},
    {T::Spawn, "SpawnAnim", "SpawnAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::Respawn, "RespawnAnim", "RespawnAnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::AttTurnRight90, "AttTurnRight90Anim", "AttTurnRight90AnimSpeed", Extra::None, "", 0.0f, 0,
     0},
    {T::AttTurnLeft90, "AttTurnLeft90Anim", "AttTurnLeft90AnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::AttTurnRight180, "AttTurnRight180Anim", "AttTurnRight180AnimSpeed", Extra::None, "", 0.0f,
     0, 0},
    {T::AttTurnLeft180, "AttTurnLeft180Anim", "AttTurnLeft180AnimSpeed", Extra::None, "", 0.0f, 0,
     0},
    {T::TurnRight90, "TurnRight90Anim", "TurnRight90AnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::TurnLeft90, "TurnLeft90Anim", "TurnLeft90AnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::TurnRight180, "TurnRight180Anim", "TurnRight180AnimSpeed", Extra::None, "", 0.0f, 0, 0},
    {T::TurnLeft180, "TurnLeft180Anim", "TurnLeft180AnimSpeed", Extra::None, "", 0.0f, 0, 0},
};

constexpr const char* kPrefixes[kStanceCount] = {"unarmed", "sHanded", "dHanded",
                                                 "bow",     "spear",   "staff"};

void LoadRow(const LoadTable& record, AnimationSet& set, const StanceRow& row,
             const std::string& prefix, const std::string& suffix) {
    const std::string file = record.GetString((prefix + row.file + suffix).c_str(), std::string());
    // An empty file name adds nothing; its other keys need not be read.
    if (file.empty())
        return;
    const float speed = record.GetFloat((prefix + row.speed + suffix).c_str(), 1.0f);
    float weight = 0.0f;
    std::string reference;
    switch (row.extra) {
        case Extra::FixedWeight:
            weight = row.fixedWeight;
            break;
        case Extra::WeightKey:
            weight = record.GetFloat((prefix + row.weightKey + suffix).c_str(), 0.0f);
            break;
        case Extra::Reference:
            reference = record.GetString((prefix + row.weightKey + suffix).c_str(), std::string());
            break;
        case Extra::None:
            break;
    }
    set.AddAnimation(row.type, file, speed, weight, reference);
}

}  // namespace

const char* GetStancePrefix(int handState) {
    return handState >= 0 && handState < static_cast<int>(kStanceCount)
               ? kPrefixes[static_cast<std::size_t>(handState)]
               : "";
}

void LoadStanceAnimations(const LoadTable& record, AnimationSet& set, const char* prefix,
                          int specialCount) {
    const std::string stance = prefix;
    for (const StanceRow& row : kRows) {
        if (row.first == 0) {
            LoadRow(record, set, row, stance, std::string());
            continue;
        }
        const int last = row.last < 0 ? specialCount : row.last;
        for (int n = row.first; n <= last; ++n)
            LoadRow(record, set, row, stance, std::to_string(n));
    }
}

}  // namespace GAME
