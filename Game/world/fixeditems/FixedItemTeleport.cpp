#include "Game/world/fixeditems/FixedItemTeleport.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/activities/TeleportConfirmActivity.h"
#include "Game/core/players/PartyManager.h"
#include "Game/world/effects/FxPak.h"

namespace GAME {

RTTI_IMPLEMENT(FixedItemTeleport, FixedItem)
RTTI_IMPLEMENT(FixedItemTyphonPortal, FixedItem)
RTTI_IMPLEMENT(FixedItemWell, FixedItem)
RTTI_IMPLEMENT(FixedItemQuestObject, FixedItem)

namespace {
bool IsLocalPlayer(unsigned int user) {
    return gGameEngine && user != 0 && user == gGameEngine->GetPlayerId() &&
           Singleton<ObjectManager>::Get().GetObject<Player>(user) != nullptr;
}

void SendUseEvent(const FixedItem& item, unsigned int user) {
    GameEvent_FixedItemUse event;
    event.objectName = item.GetObjectName();
    event.userId = user;
    event.itemId = item.GetObjectId();
    SendGameEvent(event, "FixedItemUse");
}

WorldVec3 OnFloor(WorldVec3 point) {
    point.PutOnFloor();
    return point;
}
}  // namespace

// --- FixedItemLockPresentation ---

void FixedItemLockPresentation::Load(const LoadTable& table) {
    if (const std::string open = table.GetString("openAnimation"); !open.empty())
        mOpen.animation.Load(open, table.GetFloat("openAnimationSpeed"));
    if (const std::string closed = table.GetString("closedAnimation"); !closed.empty())
        mClosed.animation.Load(closed, table.GetFloat("closedAnimationSpeed"));
    mOpen.sound.Reset(GetSoundPakFromRecord(table, "openSound"));
    mClosed.sound.Reset(GetSoundPakFromRecord(table, "closedSound"));
    mOpen.fxPakName = table.GetString("openFxPakName");
    mClosed.fxPakName = table.GetString("closedFxPakName");
}

void FixedItemLockPresentation::PreLoad(bool now) {
    for (Set* set : {&mOpen, &mClosed}) {
        set->animation.PreLoad();
        if (SoundPak* sound = set->sound.Get())
            sound->PreLoad(now);
    }
}

void FixedItemLockPresentation::PlaySoundAndFx(Actor& owner, Set& set) {
    if (SoundPak* sound = set.sound.Get())
        sound->Play(owner.GetPosition());
    if (set.fxPakName.empty() || !owner.IsInWorld())
        return;
    if (FxPak* pak = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(set.fxPakName))
        World::Get().AddEntity(pak, owner.GetCoords(), true);
}

void FixedItemLockPresentation::Show(Actor& owner, bool locked, bool initial) {
    Set& set = locked ? mClosed : mOpen;
    set.animation.PlayOnce(owner);
    if (!initial)
        PlaySoundAndFx(owner, set);
}

void FixedItemLockPresentation::ShowPose(Actor& owner, bool locked, bool initial) {
    Set& set = locked ? mClosed : mOpen;
    if (initial) {
        set.animation.SetLastPose(owner);
        return;
    }
    set.animation.PlayOnce(owner);
    PlaySoundAndFx(owner, set);
}

// --- FixedItemTeleport ---

void FixedItemTeleport::Load(const LoadTable& table) {
    FixedItem::Load(table);
    mPresentation.Load(table);
    mStaticPortal = table.GetBool("staticPortal");
    mTextTag = table.GetString("textTag", "tagSBoatQuestion");
}

void FixedItemTeleport::PreLoad(bool now) {
    FixedItem::PreLoad(now);
    mPresentation.PreLoad(now);
}

void FixedItemTeleport::InitialUpdate() {
    FixedItem::InitialUpdate();
    mPresentation.Show(*this, IsLocked(), true);
}

void FixedItemTeleport::SetLock(bool locked) {
    FixedItem::SetLock(locked);
    mPresentation.Show(*this, locked, false);
}

void FixedItemTeleport::CreatePathObstacle() {
    if (mStaticPortal)
        FixedItem::CreatePathObstacle();
    else
        RemovePathObstacle();
}

bool FixedItemTeleport::IsOfInterest() const {
    return !IsLocked() || !GetLockedTextTag().empty();
}

WorldVec3 FixedItemTeleport::GetMoveToPoint(unsigned int) const {
    return OnFloor(GetPosition());
}

void FixedItemTeleport::UpdateSelf(int elapsedMs) {
    FixedItem::UpdateSelf(elapsedMs);
    if (mStaticPortal || mValidationTime > kValidationLimitMs || !gGameEngine)
        return;
    if (gGameEngine->ValidateArtifactPortal(GetObjectId())) {
        if (const GameEngine::TeleportInfo* info = gGameEngine->GetTeleportInfo(GetObjectId()))
            mOwnerName = gGameEngine->GetPlayerName(info->owner);
        mValidationTime = 0;
        if (mLockedByValidation) {
            mLockedByValidation = false;
            SetLock(false);
        }
        return;
    }
    if (mValidationTime == 0 && !IsLocked()) {
        mLockedByValidation = true;
        SetLock(true);
    }
    mValidationTime += std::clamp(elapsedMs, 1, kValidationStepMs);
    if (mValidationTime <= kValidationLimitMs)
        return;
    World::Get().RemoveEntity(this);
    Singleton<ObjectManager>::Get().DestroyObjectEx(this, "Game/FixedItemTeleport", __LINE__);
}

void FixedItemTeleport::WriteReplicationData(NetPacketOutBuffer& out) {
    FixedItem::WriteReplicationData(out);
    const UniqueId& id = GetUniqueId();
    out.Write8(id.IsNull() ? 0 : 1);
    if (id.IsNull())
        return;
    for (int i = 0; i < 4; ++i)
        out.Write32(id.GetWord(i));
}

bool FixedItemTeleport::ReadReplicationData(NetPacketInBuffer& in) {
    if (!FixedItem::ReadReplicationData(in))
        return false;
    std::uint8_t has = 0;
    if (!in.Read8(has))
        return false;
    mReceivedHasUniqueId = has != 0;
    if (!mReceivedHasUniqueId)
        return true;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t word = 0;
        if (!in.Read32(word))
            return false;
        mReceivedUniqueId.SetWord(i, word);
    }
    return true;
}

void FixedItemTeleport::ApplyReplicationData() {
    FixedItem::ApplyReplicationData();
    if (mReceivedHasUniqueId)
        SetUniqueId(mReceivedUniqueId);
}

std::wstring FixedItemTeleport::GetGameDescription(bool forMap) const {
    if (mStaticPortal)
        return FixedItem::GetGameDescription(forMap);
    std::wstring owner = mOwnerName;
    if (gGameEngine)
        if (const GameEngine::TeleportInfo* info = gGameEngine->GetTeleportInfo(GetObjectId()))
            owner = gGameEngine->GetPlayerName(info->owner);
    return LocalizationManager::Instance().Format("tagPlayerPortal", owner);
}

void FixedItemTeleport::RequestToUse(unsigned int user) {
    if (IsLocked()) {
        PlayLockedSound();
        return;
    }
    SendUseEvent(*this, user);
    if (mStaticPortal) {
        if (IsLocalPlayer(user))
            UseStaticPortal();
        return;
    }
    if (!gGameEngine)
        return;
    const GameEngine::TeleportInfo* info = gGameEngine->GetTeleportInfo(GetObjectId());
    const PartyManager* parties = gGameEngine->GetPartyManager();
    if (info && parties && parties->AreInPartyTogether(info->owner, user) && IsLocalPlayer(user)) {
        GameEvent_ActivateTeleportMenu event;
        event.objectId = GetObjectId();
        SendGameEvent(event, "ActivateTeleportMenu");
    } else if (IsLocalPlayer(user)) {
        gGameEngine->GetDialogManager().AddDialog(kDialogTypeMessage, false,
                                                  kDialogPartyRemoteMessage,
                                                  std::string("tagPortalError"), true, 0, true);
    }
}

void FixedItemTeleport::UseStaticPortal() {
    // The destination is the other member of the portal's first instance group.
    UniqueId destination;
    {
        GroupListLock lock;
        InstanceGroupManager& groups = *InstanceGroupManager::Get();
        std::vector<std::string> names;
        groups.GetGroupsThatContain(GetUniqueId(), names);
        if (names.empty()) {
            gEngine->Log(2, "Requested to use a boat that was not in a group with a destination.");
            return;
        }
        std::vector<UniqueId> members;
        if (const InstanceGroup* group = groups.GetGroup(names.front()))
            group->FillIdList(members);
        const auto other = std::find_if(members.begin(), members.end(),
                                        [&](const UniqueId& id) { return id != GetUniqueId(); });
        if (other == members.end())
            return;
        destination = *other;
    }
    WorldVec3 where;
    if (!World::Get().GetInstanceWorldPosition(destination, where)) {
        gEngine->Log(1, "FixedItemTeleport %s: the destination %s of its group is not in the world",
                     GetObjectName().c_str(), destination.ToString().c_str());
        return;
    }
    auto* confirm = new TeleportConfirmActivity();
    confirm->Set(mTextTag, where);
    ActivityManager::Get()->InstallActivity(confirm);
}

// --- FixedItemTyphonPortal ---

void FixedItemTyphonPortal::Load(const LoadTable& table) {
    FixedItem::Load(table);
    mPresentation.Load(table);
}

void FixedItemTyphonPortal::PreLoad(bool now) {
    FixedItem::PreLoad(now);
    mPresentation.PreLoad(now);
}

void FixedItemTyphonPortal::InitialUpdate() {
    FixedItem::InitialUpdate();
    mPresentation.Show(*this, IsLocked(), true);
}

void FixedItemTyphonPortal::SetLock(bool locked) {
    FixedItem::SetLock(locked);
    mPresentation.Show(*this, locked, false);
}

void FixedItemTyphonPortal::RequestToUse(unsigned int user) {
    if (IsLocked()) {
        PlayLockedSound();
        return;
    }
    if (!IsLocalPlayer(user))
        return;
    const char* question =
        gGameEngine->GetPlayerUnlockedLevel() ? "TagPortalEndGame" : "tagTyphonUGPortalToOlympus";
    gGameEngine->GetDialogManager().AddDialog(kDialogTypeQuestion, false, kDialogPartyEndGamePortal,
                                              std::string(question), true, 0, true);
    mWaiting = true;
}

void FixedItemTyphonPortal::UpdateSelf(int elapsedMs) {
    FixedItem::UpdateSelf(elapsedMs);
    if (!mWaiting || !gGameEngine)
        return;
    DialogManager& dialogs = gGameEngine->GetDialogManager();
    if (dialogs.GetNumResponsesFor(kDialogPartyEndGamePortal) == 0)
        return;
    mWaiting = false;
    if (dialogs.GetResponseFor(kDialogPartyEndGamePortal).answer != 1)
        return;
    gGameEngine->AutoSave();
    gGameEngine->SetPlayerCompletedLevel(true);
    if (GameUIInterface* ui = gGameEngine->GetUI())
        ui->EndGame();
}

WorldVec3 FixedItemTyphonPortal::GetMoveToPoint(unsigned int user) const {
    const Character* character = Singleton<ObjectManager>::Get().GetObject<Character>(user);
    if (!character)
        return WorldVec3();
    const WorldVec3 here = GetPosition();
    Vec3 toward = here.VectorTo(character->GetPosition());
    const float length = toward.Length();
    WorldVec3 point = here;
    if (length > 0.0f)
        point.Translate(
            toward * ((GetBoundingRadius() + GetExtraReach() + character->GetExtents()) / length));
    return OnFloor(point);
}

// --- FixedItemQuestObject ---

void FixedItemQuestObject::Load(const LoadTable& table) {
    FixedItem::Load(table);
    mPresentation.Load(table);
}

void FixedItemQuestObject::PreLoad(bool now) {
    FixedItem::PreLoad(now);
    mPresentation.PreLoad(now);
}

void FixedItemQuestObject::InitialUpdate() {
    FixedItem::InitialUpdate();
    mPresentation.ShowPose(*this, IsLocked(), true);
}

void FixedItemQuestObject::SetLock(bool locked) {
    FixedItem::SetLock(locked);
    mPresentation.ShowPose(*this, locked, false);
}

void FixedItemQuestObject::RequestToUse(unsigned int user) {
    if (IsLocked())
        SendUseEvent(*this, user);
}

}  // namespace GAME
