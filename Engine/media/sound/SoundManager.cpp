#include "Engine/media/sound/SoundManager.h"

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"

namespace GAME {

SoundManager& SoundManager::Get() {
    return Singleton<SoundManager>::Get();
}

EditorFilter& EditorFilter::Get() {
    return Singleton<EditorFilter>::Get();
}

bool SoundManager::Load(SoundDescriptor& sound, const std::string& file) {
    Unload(sound);
    sound.file = file;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (file.empty() || !objects.LoadTableFile(file))
        return false;
    const int length = objects.GetLoadTable(file).GetInt("length", -1);
    sound.length = length < 0 ? -1 : length;
    sound.loaded = sound.length != -1;
    return sound.loaded;
}

void SoundManager::Unload(SoundDescriptor& sound) {
    sound.file.clear();
    sound.length = -1;
    sound.loaded = false;
    sound.playing = false;
}

void SoundManager::Play2D(SoundDescriptor& sound) {
    if (!sound.loaded)
        return;
    ++mPlay2DCount;
    MediaRecorder::Get().Record(MediaCall::SoundPlay, 0, sound.file, 0.0f, 0.0f, 0.0f, 0.0f);
    sound.playing = true;
    sound.playedAt = gEngine->GetGameTime();
}

bool SoundManager::IsPlaying(const SoundDescriptor& sound) const {
    return sound.playing &&
           gEngine->GetGameTime() - sound.playedAt < static_cast<std::uint64_t>(sound.length);
}

void SoundManager::FadeOut(SoundDescriptor& sound, int) {
    sound.playing = false;
}

}  // namespace GAME
