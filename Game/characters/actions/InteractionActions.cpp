#include "Game/characters/actions/InteractionActions.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Character.h"
#include "Game/characters/actions/ActionSupport.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/core/util/SeamLog.h"
#include "Game/items/Item.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/strategic/StrategicMovementBase.h"

namespace GAME {

using namespace action_support;

namespace {

const Name& PickupEvent() {
    static const Name pickup = Name::Create("Pickup");
    return pickup;
}

}  // namespace

PickUpAction::PickUpAction(std::uint32_t parentId, std::uint32_t objectId)
    : CharacterActionBase(parentId, CharacterActionType_PickUp), mObjectId(objectId) {}

void PickUpAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character)
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (Item* item = objects.GetObject<Item>(mObjectId)) {
        if (!item->IsInWorld()) {
            Finish();
            return;
        }
        character->SetActionState(Character_ActionState::Pickup);
        FaceTowards(*character, item->GetCoords().GetPosition());
    } else {
        // A body to loot: only a dead one that still holds something of interest.
        Character* body = objects.GetObject<Character>(mObjectId);
        if (!body || body->IsAlive() || !body->IsOfInterest())
            return;
        body->TouchedByPlayer();
    }
    if (!PlayAnimation(*character, AnimationSet_Type::Pickup))
        Finish();
}

void PickUpAction::AnimationCallback(const Name& event) {
    Character* character = GetCharacter();
    if (!character) {
        Finish();
        return;
    }
    if (event == EndEvent())
        Finish();
    else if (event == PickupEvent())
        if (auto* controller = FindController<ControllerCharacter>(*character))
            controller->PickupItem(mObjectId);
}

std::unique_ptr<CharacterActionPacketBase> PickUpAction::GetNetPacket() const {
    auto packet = std::make_unique<PickUpItemPacket>();
    SetPacketCharacter(*packet);
    packet->itemId = mObjectId;
    GetCharacterPosition(packet->position);
    LoadPreMoveData(*packet);
    return packet;
}

UseAction::UseAction(std::uint32_t parentId, std::uint32_t objectId)
    : CharacterActionBase(parentId, CharacterActionType_Use), mObjectId(objectId) {}

void UseAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character)
        return;
    // Every machine asks; only the deciding one has the controller that answers.
    if (auto* item = Singleton<ObjectManager>::Get().GetObject<FixedItem>(mObjectId))
        item->RequestToUse(character->GetObjectId());
    else if (auto* mover =
                 Singleton<ObjectManager>::Get().GetObject<StrategicMovementBase>(mObjectId))
        mover->RequestToUse(character->GetObjectId());
    Finish();
}

std::unique_ptr<CharacterActionPacketBase> UseAction::GetNetPacket() const {
    auto packet = std::make_unique<UseItemPacket>();
    SetPacketCharacter(*packet);
    packet->itemId = mObjectId;
    GetCharacterPosition(packet->position);
    LoadPreMoveData(*packet);
    return packet;
}

ChatAction::ChatAction(std::uint32_t parentId, std::uint32_t partnerId)
    : CharacterActionBase(parentId, CharacterActionType_Chat), mPartnerId(partnerId) {}

void ChatAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character || mPartnerId == 0)
        return;
    FaceTarget(mPartnerId);
    character->SetActionState(Character_ActionState::Chatting);
    PlayAnimation(*character, AnimationSet_Type::Chat, Name(), 1.0f, true);
}

void ChatAction::FaceTarget(std::uint32_t partnerId) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Character* character = GetCharacter();
    Character* partner = objects.GetObject<Character>(partnerId);
    if (!character || !partner || character == partner || !character->ShouldRotateWhenChatting())
        return;
    FaceTowards(*character, partner->GetCoords().GetPosition());
}

void ChatAction::OnFinish() {
    if (Npc* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(mPartnerId))
        npc->OnConversationEnd(GetParentId());
}

std::unique_ptr<CharacterActionPacketBase> ChatAction::GetNetPacket() const {
    auto packet = std::make_unique<ChatActionPacket>();
    SetPacketCharacter(*packet);
    packet->targetId = mPartnerId;
    LoadPreMoveData(*packet);
    return packet;
}

EngageNpcAction::EngageNpcAction(std::uint32_t parentId, std::uint32_t npcId, bool first,
                                 bool second)
    : CharacterActionBase(parentId, CharacterActionType_EngageNpc),
      mNpcId(npcId),
      mFirst(first),
      mSecond(second) {}

void EngageNpcAction::Execute() {
    if (!GetLivingCharacterOrFinish())
        return;
    Npc* npc = mNpcId != 0 ? Singleton<ObjectManager>::Get().GetObject<Npc>(mNpcId) : nullptr;
    if (!npc)
        return;
    npc->OnPlayerInteract(GetParentId(), mFirst, mSecond);
    Finish();
}

std::unique_ptr<CharacterActionPacketBase> EngageNpcAction::GetNetPacket() const {
    auto packet = std::make_unique<EngageNpcPacket>();
    SetPacketCharacter(*packet);
    packet->targetId = mNpcId;
    LoadPreMoveData(*packet);
    return packet;
}

}  // namespace GAME
