#include "Game/world/strategic/StrategicMovementBase.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/ItemText.h"

namespace GAME {

RTTI_IMPLEMENT(StrategicMovementBase, Tile)

namespace {
const Name& StrategicEndEvent() {
    static const Name name = Name::Create("End");
    return name;
}
}  // namespace

StrategicMovementBase::StrategicMovementBase() = default;

StrategicMovementBase::~StrategicMovementBase() = default;

void StrategicMovementBase::Load(const LoadTable& table) {
    Tile::Load(table);
    if (const std::string mesh = table.GetString("mesh"); !mesh.empty())
        SetMesh(mesh);
    mDescriptionTag = table.GetString("description");
    mBindDistance = table.GetFloat("bindDistance");
    for (int i = 0; i < kSoundCount; ++i) {
        const std::string key = "sound" + std::to_string(i + 1);
        mEventSounds[i].Reset(GetSoundPakFromRecord(table, key.c_str()));
    }
    if (const std::string dormant = table.GetString("dormantAnimation"); !dormant.empty())
        mDormantAnimation.Load(dormant, table.GetFloat("dormantAnimationSpeed"));
    if (const std::string active = table.GetString("activeAnimation"); !active.empty())
        mActiveAnimation.Load(active, table.GetFloat("activeAnimationSpeed"));
    mDormantSound.Reset(GetSoundPakFromRecord(table, "dormantSound"));
    mDormantToActiveSound.Reset(GetSoundPakFromRecord(table, "dormantToActiveSound"));
    mActiveSound.Reset(GetSoundPakFromRecord(table, "activeSound"));
    mLightName = table.GetString("lightName");
    mLightAttachPoint = table.GetString("lightAttachPointName");
    mLightFadeInMs = std::max(1, static_cast<int>(table.GetFloat("lightFadeInTime") * 1000.0f));
}

void StrategicMovementBase::PreLoad(bool now) {
    Tile::PreLoad(now);
    mDormantAnimation.PreLoad();
    mActiveAnimation.PreLoad();
    for (SoundPak* sound : {mDormantSound.Get(), mDormantToActiveSound.Get(), mActiveSound.Get()})
        if (sound)
            sound->PreLoad(now);
}

Player* StrategicMovementBase::LocalPlayer() {
    Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    return player && player->IsInWorld() ? player : nullptr;
}

bool StrategicMovementBase::QualifyMapData() const {
    if (!mRequiresMapData)
        return true;
    const Entity* placed = World::Get().FindPlacedEntity(GetUniqueId());
    return placed && placed->GetRegion() != nullptr;
}

std::wstring StrategicMovementBase::GetGameDescription(bool forMap) const {
    return (forMap ? L"^y" : L"") + LocalizeSimple(mDescriptionTag);
}

WorldVec3 StrategicMovementBase::GetMoveToPoint(unsigned int) const {
    return GetPosition();
}

void StrategicMovementBase::InitialUpdate() {
    Tile::InitialUpdate();
    mUpdateTimer.Start();
    if (gEngine->IsEditor())
        SetState(StrategicMovementState_Editor, true);
    else if (!QualifyMapData())
        SetState(StrategicMovementState_NoMapData, true);
    if (mState == StrategicMovementState_Undetermined)
        SetState(DetermineStateFromPlayer(), true);
    if (mState == StrategicMovementState_Active) {
        if (SoundPak* sound = mActiveSound.Get())
            sound->Play(GetPosition(), true);
    } else if (mState == StrategicMovementState_Dormant) {
        if (SoundPak* sound = mDormantSound.Get())
            sound->Play(GetPosition(), true);
    }
}

void StrategicMovementBase::SetState(StrategicMovementBaseState state, bool fast) {
    if (state == mState)
        return;
    mState = state;
    mFastForward = fast;
    const float speed = fast ? mFastSpeed : mNormalSpeed;
    if (state == StrategicMovementState_Dormant) {
        if (SoundPak* sound = mActiveSound.Get())
            sound->Stop();
        RemoveAndDestroyAttachments();
        mDormantAnimation.Play(*this, Name(), speed, true, 0);
        if (!fast)
            if (SoundPak* sound = mDormantSound.Get())
                sound->Play(GetPosition(), true);
    } else if (state == StrategicMovementState_Active) {
        if (SoundPak* sound = mDormantSound.Get())
            sound->FadeLastPlayedSound(static_cast<float>(mDormantSoundFadeMs));
        mActiveAnimation.Play(*this, Name(), speed, false, 0);
        if (!fast) {
            if (SoundPak* sound = mDormantToActiveSound.Get())
                sound->Play(GetPosition());
            if (SoundPak* sound = mActiveSound.Get())
                sound->Play(GetPosition(), true);
        }
        mLightFadeRemaining = mLightFadeInMs;
        if (!mLight.Get() && !mLightName.empty())
            // Each machine lights it for its own player: an id of the shared counter would put
            // the objects every machine makes later under other ids here.
            if (auto* light = Singleton<ObjectManager>::Get().CreateObjectFromFile<Light>(
                    mLightName, CreateServerObjectId(ServerIdBand::Presentation))) {
                mLight.Reset(light);
                light->SetIntensity(0.0f);
                Attach(light, Coords::Identity(),
                       mLightAttachPoint.empty() ? nullptr : mLightAttachPoint.c_str());
            }
    } else {
        mDormantAnimation.SetLastPose(*this);
    }
}

void StrategicMovementBase::RemoveAndDestroyAttachments() {
    mLight.Release();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const std::vector<std::uint32_t> children = GetAttachedChildren();
    for (const std::uint32_t id : children)
        if (Entity* child = objects.GetObject<Entity>(id)) {
            Detach(child);
            objects.DestroyObjectEx(child, "Game/StrategicMovementBase", __LINE__);
        }
}

void StrategicMovementBase::AnimationCallback(int channel, const Name& event) {
    Tile::AnimationCallback(channel, event);
    if (event == StrategicEndEvent()) {
        mFastForward = false;
        return;
    }
    if (mFastForward)
        return;
    for (int i = 0; i < kSoundCount; ++i) {
        const std::string name = "sound" + std::to_string(i + 1);
        if (event == Name::Create(name)) {
            if (SoundPak* sound = mEventSounds[i].Get())
                sound->Play(GetPosition());
            return;
        }
    }
}

void StrategicMovementBase::UpdateSelf(int elapsedMs) {
    Tile::UpdateSelf(elapsedMs);
    mUpdateTimer.Update();
    mElapsedMs = static_cast<int>(mUpdateTimer.GetElapsedTime());
    switch (mState) {
        case StrategicMovementState_Dormant:
            ActivateFromNearbyPlayers();
            break;
        case StrategicMovementState_Active:
            ActivateFromNearbyPlayers();
            FadeInLight();
            mRecheckTimer -= mElapsedMs;
            if (mRecheckTimer <= 0) {
                mRecheckTimer = kRecheckMs;
                SetState(DetermineStateFromPlayer(), false);
            }
            break;
        case StrategicMovementState_Undetermined:
            SetState(DetermineStateFromPlayer(), mFastForward);
            break;
        default:
            break;
    }
}

void StrategicMovementBase::ActivateFromNearbyPlayers() {
    if (!IsInWorld())
        return;
    mNearby.clear();
    World::Get().GetEntitiesInSphere(mNearby, GetRegion(),
                                     Sphere{GetCoords().coords.origin, mBindDistance},
                                     EntityListType::Actors);
    // Every machine records what each player found (a respawn then comes back at the same
    // place on all of them); how the object looks follows this machine's own player.
    const bool active = mState == StrategicMovementState_Active;
    for (Entity* entity : mNearby) {
        if (!entity->IsA<Player>())
            continue;
        auto& player = static_cast<Player&>(*entity);
        const bool own = player.IsControllingCharacter();
        if (active && own)
            continue;
        if (InstallOnPlayerProximity(player) && own)
            SetState(StrategicMovementState_Active, false);
    }
}

void StrategicMovementBase::FadeInLight() {
    Light* light = mLight.Get();
    if (mLightFadeRemaining <= 0 || !light)
        return;
    mLightFadeRemaining -= mElapsedMs;
    light->SetIntensity(1.0f - static_cast<float>(std::max(mLightFadeRemaining, 0)) /
                                   static_cast<float>(mLightFadeInMs));
}

void StrategicMovementBase::SaveState(BinaryWriter& writer) {
    Tile::SaveState(writer);
    writer.WriteUInt32(mState);
}

void StrategicMovementBase::RestoreState(BinaryReader& reader) {
    Tile::RestoreState(reader);
    std::uint32_t state = 0;
    if (!reader.ReadUInt32(state) || state > StrategicMovementState_Active) {
        gEngine->Log(1,
                     "StrategicMovementBase: saved state of %s (%u) is unreadable; kept as placed",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    SetState(static_cast<StrategicMovementBaseState>(state), true);
}

void StrategicMovementBase::AppendMapEntry(std::vector<MinimapGameNugget>& out, int kind) const {
    MinimapGameNugget& entry = out.emplace_back();
    entry.kind = kind;
    entry.label = GetGameDescription(false);
    entry.position = GetPosition();
    entry.vector = GetCoords().coords.zAxis;
}

}  // namespace GAME
