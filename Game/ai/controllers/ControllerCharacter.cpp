#include "Game/ai/controllers/ControllerCharacter.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/items/Item.h"
#include "Game/items/ItemSeed.h"
#include "Game/items/inventory/Inventory.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerCharacter, ControllerBaseCharacter)

ControllerCharacter::ControllerCharacter() {
    mEquipment.SetController(this);
}
ControllerCharacter::~ControllerCharacter() = default;

void ControllerCharacter::Update(int ms) {
    ControllerBaseCharacter::Update(ms);
    mAttributeRefreshCountdown -= ms;
    if (mAttributeRefreshCountdown < 1) {
        mAttributeRefreshCountdown = mAttributeRefreshInterval;
        mEquipment.AttributesHaveChanged();
    }
}

void ControllerCharacter::PickupItem(std::uint32_t itemId) {
    Character* character = GetParentCharacter();
    // Every machine plays the pick-up; only the one that controls a player takes the item (a
    // player of another machine has a stub here).
    if (const auto* player = dynamic_cast<const Player*>(character);
        player && !player->IsControllingCharacter())
        return;
    if (character)
        character->Enqueue(std::make_unique<CharPickUpConfigCmd>(GetParentId(), itemId));
}

void ControllerCharacter::Teleport(const WorldCoords& coords) {
    if (NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager()) {
        UpdatePositionPacket packet;
        packet.originatorId = net->GetLocalHostId();
        packet.entityId = GetParentId();
        packet.placement = coords;
        net->SendPacket(&packet);
    }
    Character* character = GetParentCharacter();
    if (!character)
        return;
    WorldVec3 position = coords.GetPosition();
    if (!position.PutOnFloor()) {
        gEngine->Log(2, "Could Not Translate To Floor");
        position = coords.GetPosition();
    }
    character->SetPathPosition(position);
}

Item* ControllerCharacter::CreateItemInInventory(const std::string& recordName) {
    Character* character = GetParentCharacter();
    if (!character)
        return nullptr;
    ItemReplicaInfo record;
    record.baseName = recordName;
    // Built as every item is, so that its attribute stores are filled.
    Item* item = Item::CreateItem(record);
    if (item)
        character->GetInventory().AddItemToInventory(item->GetObjectId(), false);
    return item;
}

void ControllerCharacter::SendEquipAttachAction(std::uint32_t itemId, std::uint32_t location) {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<AttachItemConfigCmd>(GetParentId(), itemId, location));
}

void ControllerCharacter::SendEquipDetachAction(std::uint32_t itemId) {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<DetachItemConfigCmd>(GetParentId(), itemId));
}

void ControllerCharacter::SendRemoveItemFromInventory(std::uint32_t itemId) {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<RemoveInventoryItemConfigCmd>(GetParentId(), itemId));
}

void ControllerCharacter::SendDropItemRandom(std::uint32_t itemId) {
    Character* character = GetParentCharacter();
    const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(itemId);
    if (itemId == 0 || !character || !item)
        return;
    // Not a shared generator: only this machine draws, and the others take its offsets.
    RandomUniform random;
    SeedItemGenerator(random, item->GetReplicaInfo().seed);
    constexpr float kTwoPi = 6.2831855f;
    constexpr float kDropDistance = 1.25f;
    const float angle = random.FGenerate(0.0f, kTwoPi);
    character->Enqueue(std::make_unique<DropItemConfigCmd>(
        GetParentId(), itemId, kDropDistance * std::cos(angle), kDropDistance * std::sin(angle)));
}

void ControllerCharacter::SendDropFromEquipLocation(std::uint32_t itemId, std::uint32_t location,
                                                    bool toss) {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<DropItemFromEquipLocationConfigCmd>(
            GetParentId(), itemId, location, toss));
}

void ControllerCharacter::IncrementCharacterStrength() {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<IncrementBaseStrengthConfigCmd>(GetParentId()));
}

void ControllerCharacter::IncrementCharacterDexterity() {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<IncrementBaseDexterityConfigCmd>(GetParentId()));
}

void ControllerCharacter::IncrementCharacterIntelligence() {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<IncrementBaseIntelligenceConfigCmd>(GetParentId()));
}

void ControllerCharacter::IncrementCharacterLife() {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<IncrementBaseLifeConfigCmd>(GetParentId()));
}

void ControllerCharacter::IncrementCharacterLife(int amount) {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<IncrementBaseLifeConfigCmd>(GetParentId(), amount));
}

void ControllerCharacter::IncrementCharacterMana() {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<IncrementBaseManaConfigCmd>(GetParentId()));
}

void ControllerCharacter::IncrementCharacterMana(int amount) {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<IncrementBaseManaConfigCmd>(GetParentId(), amount));
}

}  // namespace GAME
