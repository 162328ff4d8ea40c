#include "Game/world/volumes/BoundingVolumeMultiple.h"

#include <algorithm>
#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/world/volumes/BoundingVolume.h"

namespace GAME {

RTTI_IMPLEMENT(BoundingVolumeMultiple, Entity)
RTTI_IMPLEMENT(BoundingVolumeMusicEvent, BoundingVolumeMultiple)
RTTI_IMPLEMENT(BoundingVolumeBossMonster, BoundingVolumeMultiple)

namespace {

constexpr int kMultipleVolumeEditorCategory = 0;
// A radius closer to 0 than this makes no nested volume.
constexpr float kLeastNestedRadius = 0.0001f;
// The music of a volume's edge fades over this long.
constexpr int kVolumeMusicFadeMs = 5000;

// Negative radii are taken for the first, third and fourth volume, as the records were written.
bool MakesNestedVolume(int n, float radius) {
    if (radius >= kLeastNestedRadius)
        return true;
    return n != 2 && radius <= -kLeastNestedRadius;
}

}  // namespace

BoundingVolumeMultiple::BoundingVolumeMultiple()
    : mEnterListener("GameEvent_EnterBoundingVolume", "BoundingVolumeMultiple"),
      mExitListener("GameEvent_ExitBoundingVolume", "BoundingVolumeMultiple") {
    mEnterListener.SetOwner(this, &BoundingVolumeMultiple::OnEnterBoundingVolume);
    mExitListener.SetOwner(this, &BoundingVolumeMultiple::OnExitBoundingVolume);
}

BoundingVolumeMultiple::~BoundingVolumeMultiple() {
    if (gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
    ObjectManager& objects = Objects();
    for (const NestedVolume& nested : mVolumes) {
        auto* volume = objects.GetObject<BoundingVolume>(nested.volumeId);
        if (!volume)
            continue;
        if (volume->IsInWorld())
            World::Get().RemoveEntity(volume);
        objects.DestroyObjectEx(volume, "Game/BoundingVolumeMultiple", __LINE__);
    }
}

void BoundingVolumeMultiple::Load(const LoadTable& table) {
    Entity::Load(table);
    ObjectManager& objects = Objects();
    for (int n = 1; n <= kMaxVolumes; ++n) {
        char key[32];
        std::snprintf(key, sizeof key, "boundingVolumeRadius%d", n);
        const float radius = table.GetFloat(key, 0.0f);
        if (!MakesNestedVolume(n, radius))
            continue;
        auto* volume = objects.CreateObject<BoundingVolume>();
        if (!volume)
            continue;
        volume->Load(LoadTable());
        volume->SetRadius(radius);
        mVolumes.push_back(NestedVolume{volume->GetObjectId(), radius, false});
    }
}

void BoundingVolumeMultiple::InitialUpdate() {
    Entity::InitialUpdate();
    if (gEngine->IsEditor())
        EditorFilter::Get().AddFilterObject(GetObjectId(), kMultipleVolumeEditorCategory);
}

void BoundingVolumeMultiple::AttachVolumes(Entity* parent) {
    if (!parent)
        return;
    std::stable_sort(
        mVolumes.begin(), mVolumes.end(),
        [](const NestedVolume& a, const NestedVolume& b) { return a.radius < b.radius; });
    ObjectManager& objects = Objects();
    for (NestedVolume& nested : mVolumes) {
        auto* volume = objects.GetObject<BoundingVolume>(nested.volumeId);
        if (!volume)
            continue;
        parent->Attach(volume, Coords::Identity(), "");
        nested.attached = true;
        // Only what stands in the world is updated each frame.
        if (parent->IsInWorld() && !volume->IsInWorld())
            World::Get().AddEntity(volume, volume->GetCoords(), false);
    }
}

float BoundingVolumeMultiple::GetOuterReach() const {
    float largest = 0.0f;
    for (const NestedVolume& nested : mVolumes)
        largest = std::max(largest, nested.radius);
    return largest + 1.0f;
}

int BoundingVolumeMultiple::CountingIndex(const GameEvent_BoundingVolume& event) const {
    for (std::size_t i = 0; i < mVolumes.size(); ++i) {
        if (mVolumes[i].volumeId != event.volumeId)
            continue;
        if (mDone || !Objects().GetObject<Player>(event.entityId))
            return -1;
        return static_cast<int>(i);
    }
    return -1;
}

void BoundingVolumeMultiple::OnEnterBoundingVolume(const GameEvent_BoundingVolume& event) {
    if (const int index = CountingIndex(event); index >= 0)
        OnEnterVolume(index);
}

void BoundingVolumeMultiple::OnExitBoundingVolume(const GameEvent_BoundingVolume& event) {
    if (const int index = CountingIndex(event); index >= 0)
        OnExitVolume(index);
}

std::string BoundingVolumeMultiple::GetGameDescription() const {
    static constexpr const char* kLabels[] = {"Inner Volume:", "Mid Volume:", "Outer Volume:"};
    std::string text;
    for (std::size_t i = 0; i < mVolumes.size(); ++i) {
        text += kLabels[std::min<std::size_t>(i, 2)];
        text += '\n';
        const auto* volume = Objects().GetObject<BoundingVolume>(mVolumes[i].volumeId);
        if (!volume)
            continue;
        for (std::uint32_t id : volume->GetEntitiesInVolume())
            if (Objects().GetObject<Character>(id))
                text += std::to_string(id) + '\n';
    }
    return text;
}

// Event music

void BoundingVolumeMusicEvent::Load(const LoadTable& table) {
    BoundingVolumeMultiple::Load(table);
    mEventMusicFile = table.GetString("eventMusicFile");
}

void BoundingVolumeMusicEvent::UpdateSelf(int elapsedMs) {
    if (!mAttached) {
        mAttached = true;
        AttachVolumes(this);
    }
    BoundingVolumeMultiple::UpdateSelf(elapsedMs);
}

void BoundingVolumeMusicEvent::OnEnterVolume(int index) {
    Jukebox& jukebox = Singleton<Jukebox>::Get();
    if (index == 0) {
        jukebox.PlayEventMusic(mEventMusicFile, false);
        // The event's music plays once.
        SetDone(true);
    } else if (index == 1) {
        jukebox.FadeOutMusic(kVolumeMusicFadeMs);
    }
}

void BoundingVolumeMusicEvent::OnExitVolume(int index) {
    if (index == 1)
        Singleton<Jukebox>::Get().FadeInMusic();
}

// Boss monster

BoundingVolumeBossMonster::BoundingVolumeBossMonster()
    : mDeathListener("GameEvent_CreatureStartDeath", "BoundingVolumeBossMonster") {
    mDeathListener.SetOwner(this, &BoundingVolumeBossMonster::OnCreatureStartDeath);
}

BoundingVolumeBossMonster::~BoundingVolumeBossMonster() = default;

void BoundingVolumeBossMonster::Load(const LoadTable& table) {
    BoundingVolumeMultiple::Load(table);
    mBossEventMusic = table.GetString("bossEventMusic");
}

void BoundingVolumeBossMonster::OnEnterVolume(int index) {
    if (index == 2)
        Singleton<Jukebox>::Get().FadeOutMusic(kVolumeMusicFadeMs);
}

void BoundingVolumeBossMonster::OnCreatureStartDeath(const GameEvent_CreatureStartDeath& event) {
    if (mBossId != 0 && event.objectId == mBossId)
        SetDone(true);
}

}  // namespace GAME
