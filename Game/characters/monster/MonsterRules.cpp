// The monster's rules: speed caps and defense cap, game balance, stun, damage effects and death.
#include <algorithm>
#include <cmath>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/AttributePak.h"
#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

namespace {

std::size_t DifficultyIndex() {
    return gGameEngine ? static_cast<std::size_t>(std::max(gGameEngine->GetGameDifficulty(), 0))
                       : 0;
}

// (attached-item index, equip place) in the order they are dropped.
struct DropSlot {
    std::size_t item;
    std::uint32_t place;
};
constexpr DropSlot kLooseDrops[] = {{3, 2}, {2, 1}, {0, 5}, {1, 6}, {7, 7}, {8, 7}};
constexpr DropSlot kFirmDrops[] = {{4, 3}, {5, 4}, {6, 8}};

}  // namespace

float Monster::CapSpeed(float speed, MonsterCaps::Speed which,
                        CharAttributeType baseAttribute) const {
    GameEngine* game = gGameEngine;
    if (!game)
        return speed;
    const MonsterCaps::Row caps = game->GetMonsterCaps(mBossCaps, DifficultyIndex());
    return CapSpeedToBase(speed, caps.low[which], caps.high[which], baseAttribute);
}

float Monster::CapRunSpeed(float speed) const {
    return CapSpeed(speed, MonsterCaps::kRun, CharAttributeType::RunSpeed);
}

float Monster::CapSpellCastSpeed(float speed) const {
    return CapSpeed(speed, MonsterCaps::kCast, CharAttributeType::SpellCastSpeed);
}

float Monster::CapAttackSpeed(float speed) const {
    return CapSpeed(speed, MonsterCaps::kAttack, CharAttributeType::AttackSpeed);
}

float Monster::GetDefenseAttributeCap() const {
    GameEngine* game = gGameEngine;
    return game ? game->GetMonsterCaps(mBossCaps, DifficultyIndex()).defense : 0.0f;
}

void Monster::ContributeGameBalanceCharAttributes(CharAttributeAccumulator& accumulator) {
    if (gGameEngine)
        gGameEngine->GetMonsterAttributePak().GetCharAttributes(accumulator, mGameBalanceLevel);
}

void Monster::ContributeGameBalanceSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (gGameEngine)
        gGameEngine->GetMonsterAttributePak().GetSkillAttributes(accumulator, mGameBalanceLevel);
}

void Monster::ContributeGameBalanceDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    if (gGameEngine)
        gGameEngine->GetMonsterAttributePak().GetDefenseAttributes(accumulator, mGameBalanceLevel);
}

void Monster::ContributeGameBalanceOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (gGameEngine)
        gGameEngine->GetMonsterAttributePak().GetOffensiveDamageAttributes(accumulator,
                                                                           mGameBalanceLevel);
}

void Monster::ContributeGameBalanceOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (gGameEngine)
        gGameEngine->GetMonsterAttributePak().GetOffensiveModifierAttributes(accumulator,
                                                                             mGameBalanceLevel);
}

void Monster::ContributeGameBalanceRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    if (gGameEngine)
        gGameEngine->GetMonsterAttributePak().GetRetaliationAttributes(accumulator,
                                                                       mGameBalanceLevel);
}

void Monster::OnGameBalanceLevel(const GameEvent_GameBalanceLevel& event) {
    mGameBalanceLevel = static_cast<unsigned int>(std::max(event.level, 0));
    CharAttributeInputsChanged();
    GetCharacterBio().BalanceHasChanged();
    GetCharacterBio().Update(*this, 0);
}

float Monster::CalculateStun(float a, float b, float c, float d) const {
    // Nothing to measure the hit against: no stun rather than a division by zero.
    if (b == 0.0f)
        return 0.0f;
    const float remaining = 1.0f - c * 0.01f;
    const float ratio = a / b;
    if (!std::isfinite(ratio) || !(ratio * remaining * 100.0f > d + 5.0f))
        return 0.0f;
    return (ratio * 3.0f + 1000.0f) * remaining;
}

void Monster::StartDamageEffect(CombatAttributeType type) {
    Character::StartDamageEffect(type);
    if (type == CombatAttributeType::Confusion)
        mConfusionFx.Enable(true);
}

void Monster::StopDamageEffect(CombatAttributeType type) {
    Character::StopDamageEffect(type);
    if (type == CombatAttributeType::Confusion)
        mConfusionFx.Enable(false);
}

void Monster::CharacterIsDying() {
    Character::CharacterIsDying();
    if (gGameEngine)
        gGameEngine->UnregisterLocalPet(GetObjectId());
    DropLooselyAttachedItems();
    DropFirmlyAttachedItems();
    StopAliveSound();
    if (mForcedUpdatesRegistered)
        gEngine->UnregisterForForcedUpdates(GetObjectId());
    mForcedUpdatesRegistered = false;
    RemoveAllPetBanners();
}

void Monster::DropLooselyAttachedItems() {
    for (const DropSlot& slot : kLooseDrops) {
        std::uint32_t& id = mLoot.attachedItemIds[slot.item];
        DetachItemAction(id);
        DropItemFromEquipLocation(id, slot.place, true);
    }
}

void Monster::DropFirmlyAttachedItems() {
    for (const DropSlot& slot : kFirmDrops) {
        std::uint32_t& id = mLoot.attachedItemIds[slot.item];
        DetachItemAction(id);
        DropItemFromEquipLocation(id, slot.place, true);
    }
}

void Monster::CharacterHasDied() {
    Character::CharacterHasDied();
    if (Player* killer = Singleton<ObjectManager>::Get().GetObject<Player>(GetAttackerId()))
        killer->ContactWithObject(GetObjectId());
}

bool Monster::ShouldLoadLoot() const {
    // A client takes the loot of a monster a server sends from its loot record; the level's own
    // monsters every machine makes alike, loot and all, from generators in the same state.
    return !mRestored && (!gEngine->IsClient() || World::Get().IsLoadingLevel());
}

}  // namespace GAME
