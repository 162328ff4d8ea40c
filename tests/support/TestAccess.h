#pragma once
// Set-up that tests need of state only saved files, records or the interface give in play. The
// game itself has no such setters.
#include <cstdint>
#include <string>

#include "Game/characters/Player.h"
#include "Game/core/GameCamera.h"
#include "Game/core/GameEngine.h"
#include "Game/items/text/StyleManager.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME::test {

struct PlayerTestAccess {
    static void SetClassTag(Player& p, const std::string& tag) { p.mClassTag = tag; }
    static void SetCompassState(Player& p, std::uint32_t state) { p.mCompassState = state; }
    static void SetSkillWindowShowHelp(Player& p, bool show) { p.mSkillWindowShowHelp = show; }
};

struct SkillManagerTestAccess {
    static void SetSkillMasteriesAllowed(SkillManager& m, std::uint32_t count) {
        m.mMasteriesAllowed = count;
    }
    static void SetReclamationPointsUsed(SkillManager& m, std::uint32_t count) {
        m.mReclamationPointsUsed = count;
    }
};

struct GameEngineTestAccess {
    static void SetHotSlotChanged(GameEngine& root, bool changed) {
        root.hotSlotChanged = changed ? 1 : 0;
    }
};

struct GameCameraTestAccess {
    static void SetTargetOffset(GameCamera& camera, const Vec3& offset) {
        camera.mTargetOffset = offset;
    }
    static void SetTransparencyGrid(GameCamera& camera, TransparencyGrid* grid) {
        camera.mGrid = grid;
    }
};

struct GraphicsFontTestAccess {
    static void SetAvailable(GraphicsFont& font, bool available) { font.mAvailable = available; }
};

}  // namespace GAME::test
