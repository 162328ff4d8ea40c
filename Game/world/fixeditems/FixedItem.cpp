#include "Game/world/fixeditems/FixedItem.h"

#include <string>

#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/core/ObjectLookup.h"
#include "Game/world/fixeditems/FixedItemController.h"
#include "Game/world/fixeditems/FixedItemSkill.h"

namespace GAME {

RTTI_IMPLEMENT(FixedItem, Actor)

namespace {
constexpr std::uint8_t kStateBits = 0x7F;
constexpr std::uint8_t kLockBit = 0x80;
}  // namespace

FixedItem::FixedItem() : mTeam(TeamManager::DefaultMonsterTeam()) {}

FixedItem::~FixedItem() {
    RemovePathObstacle();
}

void FixedItem::Load(const LoadTable& table) {
    Actor::Load(table);
    mReward.Load(table);
    if (const std::string mesh = table.GetString("mesh"); !mesh.empty())
        SetMesh(mesh);
    mDescriptionTag = table.GetString("description");
    if (const std::string skill = table.GetString("skillName"); !skill.empty()) {
        // Anything but a skill emitter is destroyed at once; the item then has none.
        FixedItemSkill* made =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<FixedItemSkill>(skill);
        if (!made)
            gEngine->Log(1, "FixedItem %s: \"skillName\" %s is not a fixed item skill",
                         GetObjectName().c_str(), skill.c_str());
        mSkill.Reset(made);
        if (made)
            made->AssignParent(this);
    }
    mSkillDelay = static_cast<int>(table.GetFloat("skillDelay") * 1000.0f);
    if (mSkillDelay == 0)
        mSkillDelay = 1;
    if (const std::string effect = table.GetString("activeEffectName"); !effect.empty())
        mActiveEffect.LoadFX(effect, this);
    for (int i = 0; i < kSoundCount; ++i) {
        const std::string key = "sound" + std::to_string(i + 1);
        mSoundNames[i] = table.GetString(key.c_str());
    }
    mLocked = table.GetBool("locked");
    mLockedSound.Reset(GetSoundPakFromRecord(table, "lockedSound"));
    mLockedTextTag = table.GetString("lockedTextTag");
    if (const std::string drop = table.GetString("perPartyMemberDropItemName"); !drop.empty())
        mDropPerPartyMemberItem.baseName = drop;
}

void FixedItem::PreLoad(bool now) {
    Actor::PreLoad(now);
    if (FixedItemSkill* skill = mSkill.Get())
        skill->PreLoad();
    if (SoundPak* sound = mLockedSound.Get())
        sound->PreLoad(now);
    mAnimationSounds.PreLoad();
}

bool FixedItem::IsDecidingMachine() {
    return gGameEngine && gGameEngine->IsServerOrSingle();
}

void FixedItem::InitialUpdate() {
    Actor::InitialUpdate();
    if (mPendingState != FixedItemState_None) {
        const FixedItem_State pending = mPendingState;
        mPendingState = FixedItemState_None;
        SetFixedItemState(pending, 0, true, false);
    }
    for (int i = 0; i < kSoundCount; ++i) {
        const std::string event = "sound" + std::to_string(i + 1);
        mAnimationSounds.AddSound(Name::Create(event), mSoundNames[i], 100.0f);
    }
    mUpdateTimer.Start();
    mLastFrame = gEngine->GetGameTime();
    GameEvent_FixedItemSpawn event;
    event.objectName = GetObjectName();
    event.itemId = GetObjectId();
    SendGameEvent(event, "FixedItemSpawn");
}

void FixedItem::InstallController(std::unique_ptr<FixedItemController> controller) {
    mController.reset();
    if (!IsDecidingMachine() || !controller)
        return;
    mController = std::move(controller);
    mController->SetParent(this);
    mController->LoadFromDatabase(GetObjectName());
    mController->SetFixedItemState(mState);
    mController->InitialUpdate();
}

void FixedItem::UpdateSelf(int elapsedMs) {
    // A gap of more than one frame since this item's last update (it was not updated while far
    // away) rebuilds its obstacles once it is back.
    const std::uint64_t now = gEngine->GetGameTime();
    const bool skipped = now - mLastFrame > gEngine->GetFrameStep();
    mLastFrame = now;
    Actor::UpdateSelf(elapsedMs);
    mUpdateTimer.Update();
    mElapsedMs = static_cast<int>(mUpdateTimer.GetElapsedTime());
    mAuras.Update(*this, mElapsedMs);
    if (mController)
        mController->Update(mElapsedMs);
    if (skipped || mObstacleRebuild) {
        mObstacleCountdown = 1;
        mObstacleRebuild = false;
    } else if (mObstacleCountdown >= 1 && --mObstacleCountdown == 0) {
        CreatePathObstacle();
    }
}

void FixedItem::AnimationCallback(int channel, const Name& event) {
    Actor::AnimationCallback(channel, event);
    mAnimationSounds.Play(*this, event, nullptr);
    if (mController)
        mController->AnimationCallback(channel, event);
}

void FixedItem::SetCurrentState(FixedItem_State state) {
    mState = state;
    if (mController)
        mController->SetFixedItemState(state);
}

void FixedItem::WriteReplicationData(NetPacketOutBuffer& out) {
    const FixedItem_State state = mPendingState != FixedItemState_None ? mPendingState : mState;
    out.Write8(static_cast<std::uint8_t>((state & kStateBits) | (mLocked ? kLockBit : 0)));
}

bool FixedItem::ReadReplicationData(NetPacketInBuffer& in) {
    std::uint8_t byte = 0;
    if (!in.Read8(byte))
        return false;
    mReceivedState = byte & kStateBits;
    mReceivedLock = (byte & kLockBit) != 0;
    mReceived = true;
    return true;
}

void FixedItem::ApplyReplicationData() {
    if (!mReceived)
        return;
    mLocked = mReceivedLock;
    mPendingState = static_cast<FixedItem_State>(mReceivedState);
}

void FixedItem::SaveState(BinaryWriter& writer) {
    Actor::SaveState(writer);
    writer.WriteUInt32(mPendingState != FixedItemState_None ? mPendingState : mState);
    writer.WriteBool(mLocked);
    mDropPerPartyMemberItem.SaveState(writer);
}

void FixedItem::RestoreState(BinaryReader& reader) {
    Actor::RestoreState(reader);
    std::uint32_t state = 0;
    bool locked = false;
    ItemReplicaInfo drop = mDropPerPartyMemberItem;
    // All or nothing: a short or damaged record leaves the item as its level placed it.
    if (!reader.ReadUInt32(state) || !reader.ReadBool(locked) || !drop.RestoreState(reader) ||
        state > kStateBits) {
        gEngine->Log(1, "FixedItem: saved state of %s (%u) is unreadable; kept as placed",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    mPendingState = static_cast<FixedItem_State>(state);
    mLocked = locked;
    mDropPerPartyMemberItem = drop;
}

void FixedItem::SetDropPerPartyMemberItem(const ItemReplicaInfo& item) {
    mDropPerPartyMemberItem = item;
}

void FixedItem::DropAdditionalItems(const ItemReplicaInfo& item, unsigned int count) {
    if (mController)
        mController->DropAdditionalItems(item, count);
}

WorldCoords FixedItem::GetLootDropCoords() const {
    return GetAttachedCoords("SpawnPoint");
}

FixedItemSkill* FixedItem::GetSkill() const {
    return mSkill.Get();
}

void FixedItem::PlayLockedSound() {
    if (SoundPak* sound = mLockedSound.Get())
        sound->Play(GetPosition());
}

void FixedItem::PlaySkillWarningFx() {
    if (FixedItemSkill* skill = mSkill.Get())
        skill->PlayWarningFx();
}

void FixedItem::CreatePathObstacle() {
    RemovePathObstacle();
    // The obstacles come from the mesh's hit boxes; the headless engine's meshes have none, so
    // a fixed item closes no path here.
}

void FixedItem::AddPathObstacle(const OrientedBox& box) {
    if (!IsInWorld())
        return;
    auto obstacle = std::make_unique<DynamicObstacle>();
    if (!obstacle->Create(GetRegion(), box))
        return;
    obstacle->Attach();
    mObstacles.push_back(std::move(obstacle));
}

void FixedItem::RemovePathObstacle() {
    for (auto& obstacle : mObstacles)
        obstacle->Detach();
    mObstacles.clear();
}

void FixedItem::DebugRender() const {
    for (const auto& obstacle : mObstacles)
        obstacle->DebugRender();
}

}  // namespace GAME
