// How a fixed item is used: the request that reaches the deciding controller, the rewards and
// skill results every machine applies, and where a user stands to use it.
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/items/ItemText.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/fixeditems/FixedItemController.h"
#include "Game/world/fixeditems/FixedItemSkill.h"

namespace GAME {

namespace {
// The life type of a reward given while a shrine is active.
constexpr int kShrineLifeType = 4;
}  // namespace

void FixedItem::RequestToUse(unsigned int user) {
    // Only the machine that owns the game state has a controller: it alone decides.
    if (mController)
        mController->HasBeenTouchedByActor(user);
    if (IsLocked() || IsAlternateLock(user))
        PlayLockedSound();
}

void FixedItem::UseOnTarget(unsigned int user, const std::vector<unsigned int>& targets) {
    if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(user)) {
        player->ContactWithObject(GetObjectId());
        GameEvent_FixedItemUse event;
        event.objectName = GetObjectName();
        event.userId = user;
        event.itemId = GetObjectId();
        SendGameEvent(event, "FixedItemUse");
    }
    GiveBonusToTargets(targets);
}

void FixedItem::UseSkillOnTargets(unsigned int user, const std::vector<unsigned int>& targets) {
    if (FixedItemSkill* skill = mSkill.Get())
        skill->ProcessTargetResults(user, targets);
}

void FixedItem::GiveBonusToTargets(const std::vector<unsigned int>& targets) {
    const int lifeType = mState == FixedItemState_ShrineActive ? kShrineLifeType : 0;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const unsigned int id : targets)
        if (Character* character = objects.GetObject<Character>(id))
            character->TakeBonus(mReward, false, lifeType);
}

void FixedItem::NotifyAllies(unsigned int user) {
    if (!gGameEngine)
        return;
    std::vector<std::uint32_t> allies;
    gGameEngine->GetTargetsInRadius(mTeam, GetPosition(), kNotifyAlliesRadius, allies, 0, true);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const std::uint32_t id : allies)
        if (Character* character = objects.GetObject<Character>(id))
            character->AllyAttacked(GetObjectId(), user);
}

std::wstring FixedItem::GetGameDescription(bool forMap) const {
    std::wstring text = forMap ? L"^y" : L"";
    text += LocalizeSimple(mDescriptionTag);
    if (IsLocked() && !mLockedTextTag.empty() && !forMap)
        text += L"^n" + LocalizeSimple(mLockedTextTag);
    return text;
}

bool FixedItem::IsCharacterInFront(WorldCoords& coords) const {
    const Vec3 toward = GetPosition().VectorTo(coords.GetPosition());
    const Vec3& forward = GetCoords().coords.zAxis;
    return toward.x * forward.x + toward.y * forward.y + toward.z * forward.z > 0.0f;
}

float FixedItem::GetStandingDistance(float userRadius) const {
    if (!GetMeshInstance().HasMesh())
        return userRadius + 3.0f;
    return GetBoundingRadius() + userRadius + 2.0f;
}

WorldVec3 FixedItem::GetMoveToPoint(unsigned int user) const {
    const WorldVec3 here = GetPosition();
    const Character* character = Singleton<ObjectManager>::Get().GetObject<Character>(user);
    if (!character || !GetMeshInstance().HasMesh())
        return here;
    Vec3 toward = here.VectorTo(character->GetPosition());
    const float length = toward.Length();
    if (length <= 0.0f)
        return here;
    toward = toward * (GetStandingDistance(character->GetExtents()) / length);
    WorldVec3 point = here;
    if (!point.TranslateToFloor(toward))
        point.Translate(toward);
    return point;
}

}  // namespace GAME
