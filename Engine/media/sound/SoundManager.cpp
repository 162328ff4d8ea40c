#include "Engine/media/sound/SoundManager.h"

#include "Engine/media/EditorFilter.h"
#include "Engine/sys/Machine.h"

namespace GAME {

SoundManager& SoundManager::Get() {
    return Singleton<SoundManager>::Get();
}

EditorFilter& EditorFilter::Get() {
    return Singleton<EditorFilter>::Get();
}

}  // namespace GAME
