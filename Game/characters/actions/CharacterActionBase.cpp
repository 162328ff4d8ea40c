#include "Game/characters/actions/CharacterActionBase.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/characters/actions/MoveActions.h"
#include "Game/core/net/packets/CharacterActionPackets.h"

namespace GAME {

const char* GetCharacterActionText(CharacterActionType type) {
    switch (type) {
#define GAME_CHARACTER_ACTION_TEXT(Class, Kind, Text, Packet) \
    case Kind:                                                \
        return Text;
        GAME_CHARACTER_ACTIONS(GAME_CHARACTER_ACTION_TEXT)
#undef GAME_CHARACTER_ACTION_TEXT
        default:
            break;
    }
    return "(unset value)";
}

CharacterActionBase::CharacterActionBase(std::uint32_t parentId, CharacterActionType type)
    : mParentId(parentId), mType(type), mSupportsNetwork(type != CharacterActionType_Base) {}

CharacterActionBase::~CharacterActionBase() = default;

void CharacterActionBase::Finish() {
    if (!mActive)
        return;
    mActive = false;
    OnFinish();
}

std::unique_ptr<CharacterActionPacketBase> CharacterActionBase::GetNetPacket() const {
    return nullptr;
}

void CharacterActionBase::SetPreMoveData(const WorldVec3& position, std::uint32_t targetId,
                                         std::uint32_t skillId, float value) {
    mPreMovePosition = position;
    mPreMoveTargetId = targetId;
    mPreMoveSkillId = skillId;
    mPreMoveValue = value;
    mHasPreMove = true;
}

void CharacterActionBase::LoadPreMoveData(CharacterActionPacketBase& packet) const {
    if (!mHasPreMove)
        return;
    packet.hasPreMove = true;
    packet.preMovePosition = mPreMovePosition;
    packet.preMoveTargetId = mPreMoveTargetId;
    packet.preMoveSkillId = mPreMoveSkillId;
    packet.preMoveValue = mPreMoveValue;
}

std::unique_ptr<CharacterAction> CharacterActionBase::GetPreAction() const {
    if (!mHasPreMove)
        return nullptr;
    Character* character = GetCharacter();
    if (!character)
        return nullptr;
    return std::make_unique<MoveToAction>(mParentId, character->GetPathPosition(), mPreMovePosition,
                                          mPreMoveTargetId, mPreMoveSkillId, mPreMoveValue);
}

Character* CharacterActionBase::GetCharacter() const {
    return Singleton<ObjectManager>::Get().GetObject<Character>(mParentId);
}

Character* CharacterActionBase::GetLivingCharacterOrFinish() {
    Character* character = GetCharacter();
    if (character && character->IsAlive())
        return character;
    Finish();
    return nullptr;
}

Character* CharacterActionBase::GetCharacterOrFinish() {
    Character* character = GetCharacter();
    if (!character)
        Finish();
    return character;
}

void CharacterActionBase::SetPacketCharacter(CharacterActionPacketBase& packet) const {
    packet.character = mParentId;
}

bool CharacterActionBase::GetCharacterPosition(WorldVec3& position) const {
    const Character* character = GetCharacter();
    if (!character)
        return false;
    position = character->GetCoords().GetPosition();
    return true;
}

}  // namespace GAME
