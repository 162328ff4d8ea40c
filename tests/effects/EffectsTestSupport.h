#pragma once
// A machine on the sample data with one region, and frames that advance game time, the
// animations and the updates of chosen objects.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/anim/AnimationSystem.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "support/TestMachine.h"

namespace GAME::test {

class EffectsTest : public ::testing::Test {
protected:
    EffectsTest() : tm(TestMachine::SampleDataDir()) {
        region = World::Get().AddRegion(
            std::make_unique<Region>("Field", Vec3(100, 0, 0), Vec3(200, 50, 200)));
    }

    ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }

    template <class T>
    T* Make(const std::string& record) {
        T* object = Objects().CreateObjectFromFile<T>(record);
        EXPECT_NE(object, nullptr) << record;
        return object;
    }
    template <class T>
    T* Find(std::uint32_t id) {
        return Objects().GetObject<T>(id);
    }
    bool Alive(std::uint32_t id) { return Objects().GetObject(id) != nullptr; }

    WorldCoords At(float x, float y, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, y, z)));
    }

    // One frame: game time, animations, then each living object's update.
    void Frame(int ms, std::initializer_list<std::uint32_t> ids) {
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(ms));
        const int step = static_cast<int>(gEngine->GetFrameStep());
        AnimationSystem::Get().Update(step);
        for (std::uint32_t id : ids)
            if (auto* entity = Objects().GetObject<Entity>(id))
                entity->UpdateSelf(step);
    }
    void Frames(int count, int ms, std::initializer_list<std::uint32_t> ids) {
        for (int i = 0; i < count; ++i)
            Frame(ms, ids);
    }

    std::uint64_t Calls(MediaCall call) const { return MediaRecorder::Get().Count(call); }

    TestMachine tm;
    Region* region = nullptr;
};

}  // namespace GAME::test
