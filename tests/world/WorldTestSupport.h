#pragma once
// Helpers of the world tests: a private copy of the sample level (so a test may write its
// navigation cache without touching the source tree) and entities made on the current machine.
#include <filesystem>
#include <string>

#include "Engine/object/Object.h"
#include "Engine/object/ObjectManager.h"

namespace GAME::test {

// A fresh folder holding data/Levels/Sample; removed when the object goes.
class SampleLevelCopy {
public:
    SampleLevelCopy();
    ~SampleLevelCopy();
    const std::filesystem::path& Root() const { return mRoot; }
    std::filesystem::path LevelFile() const { return mRoot / "Levels/Sample/Sample.level"; }

private:
    std::filesystem::path mRoot;
};

inline constexpr const char* kSampleLevel = "Levels/Sample/Sample.level";

template <class T = Entity>
T* MakeEntity() {
    return Singleton<ObjectManager>::Get().CreateObject<T>();
}

}  // namespace GAME::test
