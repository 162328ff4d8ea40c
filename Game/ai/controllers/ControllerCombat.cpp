#include "Game/ai/controllers/ControllerCombat.h"

#include <memory>

#include "Engine/Engine.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Engine/text/Name.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/actions/LifeActions.h"
#include "Game/core/GameEvents.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/loot/GoldGenerator.h"
#include "Game/items/loot/LootDrop.h"
#include "Game/items/loot/LootRecordCache.h"
#include "Game/rules/death/DeathManager.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerCombat, ControllerCharacter)

ControllerCombat::ControllerCombat() = default;
ControllerCombat::~ControllerCombat() = default;

void ControllerCombat::Update(int ms) {
    ControllerCharacter::Update(ms);
    Character* character = GetParentCharacter();
    if (!character || !character->IsAlive() || character->IsInvincible())
        return;
    character->PlayLowHealthSoundIfNeeded(character->GetCurrentLife());
    if (character->GetCurrentLife() <= 0.0f)
        KillMe();
}

void ControllerCombat::HandleEvent(const Name& name) {
    static const Name kShow = Name::Create("show");
    static const Name kHide = Name::Create("hide");
    if (name != kShow && name != kHide)
        return;
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<ShowCharacterConfigCmd>(GetParentId(), name == kShow));
}

void ControllerCombat::KillMe() {
    Character* character = GetParentCharacter();
    if (!character || !character->IsAlive())
        return;
    // The server decides every death, a client's own player's too; its DiePacket comes back.
    if (gEngine->IsClient())
        return;
    // Non-player characters never die this way; the class may not be built in this library.
    if (const RTTI_ClassInfo* npc = Character::classInfo.FindByName("Npc");
        npc && character->IsA(*npc))
        return;
    RunGoldGenerator(*character);
    character->SetLifeState(Character_LifeState::Dying);
    std::vector<std::uint32_t> ids;
    if (const DeathManager* deaths = character->GetDeathManager())
        ids = deaths->CreateObjectIds();
    HandleAction(std::make_unique<DieAction>(GetParentId(), std::move(ids)));
    GameEvent_CreatureStartDeath event;
    event.objectId = GetParentId();
    SendGameEvent(event, "CreatureStartDeath");
}

void ControllerCombat::RunGoldGenerator(Character& character) {
    if (character.GetGoldGenerator().empty() || !(character.GetGoldGeneratorChance() > 0.0f))
        return;
    GoldGenerator* generator =
        LootRecordCache::Get().UseGoldGenerator(character.GetGoldGenerator());
    if (!generator)
        return;
    generator->SetChance(character.GetGoldGeneratorChance());
    generator->SetGeneratorLevel(static_cast<float>(character.GetCharLevel()));
    generator->SetMonsterExperience(static_cast<float>(character.GetExperiencePoints()));
    const Character* attacker = FindCharacter(character.GetAttackerId());
    generator->SetPlayerLevel(attacker ? static_cast<float>(attacker->GetCharLevel()) : 0.0f);
    std::vector<ItemReplicaInfo> piles = RecycledVectors<ItemReplicaInfo>::Take();
    generator->RunGenerator(piles);
    for (const ItemReplicaInfo& pile : piles)
        DropLootRecord(character.GetCoords(), pile);
    RecycledVectors<ItemReplicaInfo>::Give(piles);
}

}  // namespace GAME
