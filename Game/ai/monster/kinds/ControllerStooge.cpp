#include "Game/ai/monster/kinds/ControllerStooge.h"

#include <iterator>
#include <memory>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/Name.h"
#include "Game/characters/Character.h"
#include "Game/characters/actions/AttackAction.h"
#include "Game/characters/actions/PlayAnimationAction.h"
#include "Game/characters/ambient/AmbientCharacter.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/loot/LootDrop.h"
#include "Game/items/loot/LootLoader.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerStooge, ControllerCombat)

void ControllerStooge::InitialUpdate() {
    ControllerCombat::InitialUpdate();
    const Character* character = GetParentCharacter();
    if (character && character->CanPlayAnimation(AnimationSet_Type::Spawn))
        HandleAction(std::make_unique<PlayAnimationAction>(GetParentId(), AnimationSet_Type::Spawn,
                                                           Name(), 1.0f, false, 0u));
}

void ControllerStooge::UnderAttack(std::uint32_t) {
    // Only an ambient character carries the skill a stooge answers with: it uses it on itself,
    // whoever the attacker was.
    auto* ambient = dynamic_cast<AmbientCharacter*>(GetParentCharacter());
    if (!ambient || !gGameEngine)
        return;
    HandleAction(std::make_unique<AttackAction>(
        GetParentId(), GetParentId(), ambient->GetPosition(),
        ambient->GetSkillManager().GetSkillReferenceNumber(ambient->GetSkillId1()),
        gGameEngine->GetRandomSeed()));
}

void ControllerStooge::CharacterIsDead() {
    ControllerCombat::CharacterIsDead();
    if (Character* character = GetParentCharacter())
        CreateDropMiscItems(*character);
}

void ControllerStooge::CreateDropMiscItems(Character& character) {
    if (!gGameEngine)
        return;
    const LoadTable record =
        Singleton<ObjectManager>::Get().GetLoadTable(character.GetObjectName());
    PlayerInfo players;
    gGameEngine->GetPlayerInfo(players);
    LootLoader loader;
    loader.SetLevel(character.GetCharLevel(), players.averageLevel);
    struct MiscKeys {
        const char* chance;
        const char* items;
        const char* weights;
    };
    static constexpr MiscKeys kMisc[] = {
        {"chanceToEquipMisc1", "lootMisc1Item", "chanceToEquipMisc1Item"},
        {"chanceToEquipMisc2", "lootMisc2Item", "chanceToEquipMisc2Item"},
        {"chanceToEquipMisc3", "lootMisc3Item", "chanceToEquipMisc3Item"},
    };
    RandomUniform& random = gGameEngine->GetRandomGen();
    for (const MiscKeys& keys : kMisc) {
        const float chance = record.GetFloat(keys.chance, 0.0f);
        if (random.FGenerate(0.1f, 100.0f) > chance)
            continue;
        loader.Load(record, keys.items, keys.weights, LootLoader::kItemsPerLocation,
                    static_cast<unsigned>(gGameEngine->GetGameDifficulty()));
        ItemReplicaInfo item;
        loader.GetLootName(item.baseName, item.prefixName, item.suffixName, random);
        if (item.baseName.empty())
            continue;
        item.seed = gGameEngine->GetRandomSeed();
        DropLootRecord(character.GetCoords(), item);
    }
}

}  // namespace GAME
