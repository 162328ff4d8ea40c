#include "Game/world/props/Decoration.h"

#include <algorithm>
#include <string>

#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/ObjectLookup.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

RTTI_IMPLEMENT(Decoration, Actor)

namespace {
constexpr int kRandomAnimations = 5;
constexpr int kDecorationSounds = 4;
constexpr int kAttachChoices = 4;
constexpr int kBlendMs = 250;

std::string Numbered(const char* stem, int n, const char* tail = "") {
    return stem + std::to_string(n) + tail;
}
}  // namespace

Decoration::~Decoration() {
    auto& graphics = GraphicsEngine::Get();
    if (mBaseAnimation)
        graphics.UnloadAnimation(mBaseAnimation);
    for (const RandomAnimation& entry : mRandomAnimations)
        graphics.UnloadAnimation(entry.animation);
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : {mAttachedObjectId, mBoundingVolumeId})
        if (Object* object = id ? objects.GetObject(id) : nullptr)
            objects.DestroyObject(object);
}

void Decoration::Load(const LoadTable& table) {
    Actor::Load(table);
    auto& graphics = GraphicsEngine::Get();
    if (const std::string base = table.GetString("animation"); !base.empty())
        mBaseAnimation = graphics.LoadAnimation(base);
    mAllowPathing = table.GetBool("allowPathing", false);
    for (int n = 1; n <= kRandomAnimations; ++n) {
        const float chance = table.GetFloat(Numbered("animation", n, "Chance").c_str(), 0.0f);
        if (chance <= 0.0f)
            continue;
        const std::string name = table.GetString(Numbered("animation", n).c_str());
        if (GraphicsAnim* animation = name.empty() ? nullptr : graphics.LoadAnimation(name))
            mRandomAnimations.push_back({animation, chance});
    }
    mAmbient.Load(table);
    mPeriodic.Load(table);
    for (int n = 1; n <= kDecorationSounds; ++n) {
        const std::string key = Numbered("decorationSound", n);
        const float chance = table.GetFloat(Numbered("decorationSound", n, "Chance").c_str(), 0.0f);
        mSounds.Add(Name::Create(key), GetSoundPakFromRecord(table, key.c_str()), chance);
    }
    LoadAttachment(table);
    LoadBoundingVolume(table);
}

void Decoration::LoadAttachment(const LoadTable& table) {
    int highest = 0;
    for (int n = 1; n <= kAttachChoices; ++n)
        if (!table.GetString(Numbered("attachObjectName", n).c_str()).empty())
            highest = n;
    if (highest == 0)
        return;
    const int choice = RandomInt(1, highest);
    const std::string name = table.GetString(Numbered("attachObjectName", choice).c_str());
    if (name.empty())
        return;
    Entity* object = Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(name);
    if (!object)
        return;
    mAttachedObjectId = object->GetObjectId();
    const std::string point = table.GetString(Numbered("attachPoint", choice).c_str());
    Attach(object, Coords::Identity(), point.c_str());
}

void Decoration::LoadBoundingVolume(const LoadTable& table) {
    const std::string name = table.GetString("boundingVolume");
    if (name.empty())
        return;
    auto& objects = Singleton<ObjectManager>::Get();
    Entity* volume = objects.CreateObjectFromFile<Entity>(name);
    if (!volume)
        return;
    if (!FindObjectOfClass(volume->GetObjectId(), "BoundingVolume")) {
        objects.DestroyObject(volume);
        return;
    }
    mBoundingVolumeId = volume->GetObjectId();
    Attach(volume, Coords::Identity(), "");
}

GraphicsAnim* Decoration::GetRandomAnimation() const {
    if (!mBaseAnimation)
        return nullptr;
    const float roll = RandomFloat(0.0f, 100.0f);
    float sum = 0.0f;
    for (const RandomAnimation& entry : mRandomAnimations) {
        if (roll - sum <= entry.chance)
            return entry.animation;
        sum += entry.chance;
    }
    return mBaseAnimation;
}

void Decoration::PlayOnChannel0(GraphicsAnim* animation) {
    if (!animation)
        return;
    mCurrentAnimation = animation;
    PlayAnimation(0, animation, false, 1.0f, kBlendMs);
}

void Decoration::InitialUpdate() {
    Actor::InitialUpdate();
    mAmbient.StartSound(false);
    mPeriodic.StartSound();
    PlayOnChannel0(mBaseAnimation);
}

void Decoration::AnimationCallback(int channel, const Name& event) {
    static const Name kEnd = Name::Create("End");
    mSounds.Play(event, GetPosition());
    if (channel == 0 && event == kEnd)
        PlayOnChannel0(GetRandomAnimation());
    Actor::AnimationCallback(channel, event);
}

void Decoration::UpdateSelf(int elapsedMs) {
    mAmbient.Update(GetCoords(), elapsedMs);
    mPeriodic.Update(GetCoords(), elapsedMs);
    const float step = static_cast<float>(elapsedMs) * 0.001f;
    mHiddenAmount = std::clamp(mHiddenAmount + (mHidden ? step : -step), 0.0f, 0.5f);
    Actor::UpdateSelf(elapsedMs);
}

void Decoration::PreLoad(bool now) {
    Actor::PreLoad(now);
    mSounds.PreLoad();
    mAmbient.PreLoad();
    mPeriodic.PreLoad();
}

}  // namespace GAME
