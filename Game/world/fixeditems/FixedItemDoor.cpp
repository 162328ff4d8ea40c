#include "Game/world/fixeditems/FixedItemDoor.h"

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/ObjectLookup.h"
#include "Game/world/effects/FxPak.h"

namespace GAME {

RTTI_IMPLEMENT(FixedItemDoorBase, FixedItem)
RTTI_IMPLEMENT(FixedItemDoor, FixedItemDoorBase)
RTTI_IMPLEMENT(FixedItemDoorSwapping, FixedItemDoorBase)

namespace {
// How tall and how deep the closed door's obstacle is (the headless meshes have no hit boxes).
constexpr float kObstacleHalfHeight = 2.0f;
constexpr float kObstacleHalfDepth = 0.5f;

const Name& DoorEndEvent() {
    static const Name name = Name::Create("End");
    return name;
}
}  // namespace

FixedItemDoorBase::FixedItemDoorBase() = default;

FixedItemDoorBase::~FixedItemDoorBase() = default;

void FixedItemDoorBase::Load(const LoadTable& table) {
    FixedItem::Load(table);
    mOpenSound.Reset(GetSoundPakFromRecord(table, "openSound"));
    mCloseSound.Reset(GetSoundPakFromRecord(table, "closeSound"));
    mOpenFxPakName = table.GetString("openFxPakName");
    mCloseFxPakName = table.GetString("closeFxPakName");
    mOpenSoundLoop.Reset(GetSoundPakFromRecord(table, "openSoundLoop"));
    mClosedSoundLoop.Reset(GetSoundPakFromRecord(table, "closedSoundLoop"));
    mOpenSoundFadeMs = table.GetInt("openSoundFadeTime", kDefaultFadeMs);
    mClosedSoundFadeMs = table.GetInt("closedSoundFadeTime", kDefaultFadeMs);
    mOpenOnly = table.GetBool("openOnly");
    mAutoClose = table.GetBool("autoClose");
    mOneWay = table.GetBool("oneWayDoor");
    mReverseOneWay = table.GetBool("reverseOneWayDirection");
    mObstacleHalfWidth = table.GetFloat("obstacleHalfWidth", GetBoundingRadius());
}

void FixedItemDoorBase::PreLoad(bool now) {
    FixedItem::PreLoad(now);
    for (SoundPak* sound :
         {mOpenSound.Get(), mCloseSound.Get(), mOpenSoundLoop.Get(), mClosedSoundLoop.Get()})
        if (sound)
            sound->PreLoad(now);
}

void FixedItemDoorBase::InitialUpdate() {
    FixedItem::InitialUpdate();
    if (GetCurrentState() == FixedItemState_None) {
        SetFixedItemState(FixedItemState_DoorClosed, 0, true, true);
        StartLoop(mClosedSoundLoop.Get());
    }
    InstallController(std::make_unique<FixedItemDoorController>());
}

void FixedItemDoorBase::SaveState(BinaryWriter& writer) {
    FixedItem::SaveState(writer);
    writer.WriteBool(mAutoClose);
}

void FixedItemDoorBase::RestoreState(BinaryReader& reader) {
    FixedItem::RestoreState(reader);
    std::uint32_t autoClose = 0;
    if (!reader.ReadUInt32(autoClose)) {
        gEngine->Log(1, "FixedItemDoor: saved state of %s (%u) lacks its auto-close word",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    mAutoClose = autoClose != 0;
}

bool FixedItemDoorBase::IsOfInterest() const {
    if (mOpenOnly && GetCurrentState() != FixedItemState_DoorClosed)
        return false;
    return !IsLocked() || !GetLockedTextTag().empty();
}

bool FixedItemDoorBase::IsAlternateLock(unsigned int user) const {
    if (!mOneWay)
        return false;
    const Character* character = Singleton<ObjectManager>::Get().GetObject<Character>(user);
    if (!character)
        return true;
    WorldCoords coords = character->GetCoords();
    const bool inFront = IsCharacterInFront(coords);
    return mReverseOneWay ? inFront : !inFront;
}

void FixedItemDoorBase::RequestToUse(unsigned int user) {
    FixedItem::RequestToUse(user);
    if (!IsLocked() && !IsAlternateLock(user))
        return;
    if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(user))
        player->PlayLockedDoorVox();
}

float FixedItemDoorBase::GetStandingDistance(float userRadius) const {
    if (!GetMeshInstance().HasMesh())
        return userRadius + 3.0f;
    // The mesh's depth is its bounding radius here: the headless meshes have no boxes.
    return userRadius + GetBoundingRadius() + 1.0f;
}

WorldVec3 FixedItemDoorBase::GetMoveToPoint(unsigned int user) const {
    auto* character = Singleton<ObjectManager>::Get().GetObject<Character>(user);
    if (!character || !GetMeshInstance().HasMesh())
        return GetPosition();
    WorldCoords coords = character->GetCoords();
    Vec3 offset = GetCoords().coords.zAxis * GetStandingDistance(character->GetExtents());
    if (!IsCharacterInFront(coords))
        offset = offset * -1.0f;
    WorldVec3 point = GetPosition();
    point.Translate(offset);
    // A side nobody can stand on gives no point: the caller walks nowhere.
    return character->CanMoveTo(point, 0.5f) ? point : WorldVec3();
}

void FixedItemDoorBase::SetFixedItemState(FixedItem_State state, unsigned int instigator,
                                          bool initial, bool flag) {
    if (state == FixedItemState_DoorOpenNoAutoClose) {
        state = FixedItemState_DoorOpen;
        mAutoClose = false;
    }
    if (state == GetCurrentState())
        return;
    if (GetCurrentState() == FixedItemState_DoorOpen) {
        if (SoundPak* loop = mOpenSoundLoop.Get())
            loop->FadeLastPlayedSound(static_cast<float>(mOpenSoundFadeMs));
    } else if (SoundPak* loop = mClosedSoundLoop.Get()) {
        loop->FadeLastPlayedSound(static_cast<float>(mClosedSoundFadeMs));
    }
    SetCurrentState(state);
    if (state == FixedItemState_DoorOpen) {
        if (initial) {
            InstantaneousOpen();
            return;
        }
        if (flag)
            if (SoundPak* sound = mOpenSound.Get())
                sound->Play(GetPosition());
        Open();
        CreateFxPak(mOpenFxPakName);
        NotifyAllies(instigator);
        if (flag)
            StartLoop(mOpenSoundLoop.Get());
    } else if (state == FixedItemState_DoorClosed) {
        if (initial) {
            InstantaneousClose();
        } else {
            if (flag)
                if (SoundPak* sound = mCloseSound.Get())
                    sound->Play(GetPosition());
            Close();
            CreateFxPak(mCloseFxPakName);
        }
        if (flag)
            StartLoop(mClosedSoundLoop.Get());
    }
}

void FixedItemDoorBase::CreatePathObstacle() {
    RemovePathObstacle();
    if (GetCurrentState() != FixedItemState_DoorClosed || mObstacleHalfWidth <= 0.0f)
        return;
    AddPathObstacle(OrientedBox{GetCoords().coords,
                                Vec3{mObstacleHalfWidth, kObstacleHalfHeight, kObstacleHalfDepth}});
}

void FixedItemDoorBase::CreateFxPak(const std::string& name) {
    if (name.empty() || !IsInWorld())
        return;
    if (FxPak* pak = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(name))
        World::Get().AddEntity(pak, GetCoords(), true);
}

void FixedItemDoorBase::StartLoop(SoundPak* loop) {
    if (loop)
        loop->Play(GetPosition(), true);
}

// --- FixedItemDoor ---

void FixedItemDoor::Load(const LoadTable& table) {
    FixedItemDoorBase::Load(table);
    if (const std::string open = table.GetString("openAnimation"); !open.empty())
        mOpenAnimation.Load(open, table.GetFloat("openAnimationSpeed"));
    if (const std::string close = table.GetString("closeAnimation"); !close.empty())
        mCloseAnimation.Load(close, table.GetFloat("closeAnimationSpeed"));
}

void FixedItemDoor::PreLoad(bool now) {
    FixedItemDoorBase::PreLoad(now);
    mOpenAnimation.PreLoad();
    mCloseAnimation.PreLoad();
}

void FixedItemDoor::AnimationCallback(int channel, const Name& event) {
    FixedItem::AnimationCallback(channel, event);
    CreatePathObstacle();
}

void FixedItemDoor::Open() {
    // Without an animation nothing calls back: the way opens at once.
    if (!mOpenAnimation.PlayOnce(*this))
        CreatePathObstacle();
    PlaySkillWarningFx();
}

void FixedItemDoor::InstantaneousOpen() {
    mOpenAnimation.SetLastPose(*this);
    RequestObstacleRebuild();
}

void FixedItemDoor::Close() {
    if (!mCloseAnimation.PlayOnce(*this))
        CreatePathObstacle();
}

void FixedItemDoor::InstantaneousClose() {
    mCloseAnimation.SetLastPose(*this);
    RequestObstacleRebuild();
}

// --- FixedItemDoorSwapping ---

void FixedItemDoorSwapping::Load(const LoadTable& table) {
    FixedItemDoorBase::Load(table);
    mLoadedMesh = GetMeshInstance().GetMesh();
    mOpenMesh = table.GetString("openMesh", mLoadedMesh);
    mClosedMesh = table.GetString("closedMesh", mLoadedMesh);
}

void FixedItemDoorSwapping::PreLoad(bool now) {
    FixedItemDoorBase::PreLoad(now);
}

void FixedItemDoorSwapping::Open() {
    SetMesh(mOpenMesh);
    // The open mesh leaves the way free (the closed one's obstacle would stay otherwise).
    CreatePathObstacle();
}

void FixedItemDoorSwapping::InstantaneousOpen() {
    SetMesh(mOpenMesh);
    CreatePathObstacle();
}

void FixedItemDoorSwapping::Close() {
    SetMesh(mClosedMesh);
    CreatePathObstacle();
}

void FixedItemDoorSwapping::InstantaneousClose() {
    SetMesh(mClosedMesh);
    CreatePathObstacle();
}

// --- FixedItemDoorController ---

void FixedItemDoorController::LoadFromDatabase(const std::string& record) {
    FixedItemController::LoadFromDatabase(record);
    mOpenOnly = Singleton<ObjectManager>::Get().GetLoadTable(record).GetBool("openOnly");
}

void FixedItemDoorController::InitialUpdate() {
    mSeenState = GetItemState();
    FollowItemState();
}

void FixedItemDoorController::FollowItemState() {
    if (mSeenState == FixedItemState_DoorOpen)
        mState = Opened;
    else if (mSeenState == FixedItemState_DoorClosed)
        mState = Closed;
}

void FixedItemDoorController::TouchedByActor() {
    FixedItem* door = GetParent();
    if (!door || door->IsLocked() || door->IsAlternateLock(GetToucherId()))
        return;
    if (mState == Closed) {
        mState = Opening;
        door->Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(
            door->GetObjectId(), FixedItemState_DoorOpen, GetToucherId(), true));
    } else if (mState == Opened && !mOpenOnly) {
        mState = Closing;
        door->Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(
            door->GetObjectId(), FixedItemState_DoorClosed, 0, true));
    }
}

void FixedItemDoorController::AnimationCallback(int, const Name& event) {
    if (event != DoorEndEvent())
        return;
    if (mState == Opening)
        mState = Opened;
    else if (mState == Closing)
        mState = Closed;
}

void FixedItemDoorController::Update(int ms) {
    FixedItemController::Update(ms);
    FixedItem* door = GetParent();
    if (!door)
        return;
    if (GetItemState() != mSeenState) {
        mSeenState = GetItemState();
        FollowItemState();
    }
    if (mState != Opened || !door->IsAutoCloseEnabled())
        return;
    const float radius = door->GetExtraReach() + 2.0f * door->GetStandingDistance(1.0f);
    if (AnyCharacterNear(radius))
        return;
    mState = Closing;
    door->Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(
        door->GetObjectId(), FixedItemState_DoorClosed, 0, true));
}

bool FixedItemDoorController::AnyCharacterNear(float radius) const {
    const FixedItem* door = GetParent();
    if (!door->IsInWorld())
        return false;
    mNearby.clear();
    World::Get().GetEntitiesInSphere(mNearby, door->GetRegion(),
                                     Sphere{door->GetCoords().coords.origin, radius},
                                     EntityListType::Actors);
    for (const Entity* entity : mNearby)
        if (entity->IsA<Character>())
            return true;
    return false;
}

}  // namespace GAME
