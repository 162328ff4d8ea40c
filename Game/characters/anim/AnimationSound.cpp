#include "Game/characters/anim/AnimationSound.h"

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/ObjectLookup.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

namespace {
// The source the object manager's tracking names for the packs this map destroys.
constexpr int kDestroyLine = 36;
}  // namespace

AnimationSound::~AnimationSound() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const auto& [name, entry] : mEntries)
        if (Object* sound = objects.GetObject(entry.soundId))
            objects.DestroyObjectEx(sound, "Game/AnimationSound", kDestroyLine);
}

void AnimationSound::AddSound(const Name& animationName, const std::string& soundPakFile,
                              float chance) {
    if (soundPakFile.empty() || !(chance > 0.0f) || mEntries.count(animationName) != 0)
        return;
    if (SoundPak* sound = LoadSoundPak(soundPakFile.c_str()))
        mEntries.emplace(animationName, Entry{sound->GetObjectId(), chance});
}

bool AnimationSound::Play(const Actor& owner, const Name& animationName,
                          const WorldVec3* position) {
    const auto it = mEntries.find(animationName);
    if (it == mEntries.end())
        return false;
    if (RandomFloat(0.1f, 100.0f) > it->second.chance)
        return false;
    if (SoundPak* sound = GetSound(animationName))
        sound->Play(position != nullptr ? *position : owner.GetPosition(), false, true);
    return true;
}

void AnimationSound::PreLoad() {
    for (const auto& [name, entry] : mEntries)
        if (SoundPak* sound = Singleton<ObjectManager>::Get().GetObject<SoundPak>(entry.soundId))
            sound->PreLoad(false);
}

SoundPak* AnimationSound::GetSound(const Name& animationName) const {
    const auto it = mEntries.find(animationName);
    return it == mEntries.end()
               ? nullptr
               : Singleton<ObjectManager>::Get().GetObject<SoundPak>(it->second.soundId);
}

float AnimationSound::GetChance(const Name& animationName) const {
    const auto it = mEntries.find(animationName);
    return it == mEntries.end() ? 0.0f : it->second.chance;
}

}  // namespace GAME
