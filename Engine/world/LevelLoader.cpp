#include "Engine/world/LevelLoader.h"

#include "Engine/world/World.h"

namespace GAME {

LevelLoader::~LevelLoader() {
    Wait();
}

void LevelLoader::Run() {
    Thread::SetName("level loader");
    mLoaded = World::Get().LoadLevel(mLevelName);
    mDone.store(true, std::memory_order_release);
}

bool LevelLoader::Finish() {
    if (!HasThread())
        return false;
    Wait();
    return mDone.load(std::memory_order_acquire) && mLoaded;
}

}  // namespace GAME
