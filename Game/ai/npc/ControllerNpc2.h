#pragma once
// The town controller: townsfolk idle, stroll between placed wander points, stop to watch an
// attraction, chat while their character has a social target, and obey quest commands. It runs
// only where the game is decided (a client's copy has the stub controller and follows the
// actions it is sent), and draws from a generator of its own so that no machine's shared
// generators move for it.
#include <cstdint>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Game/ai/controllers/ControllerAI.h"
#include "Game/ai/npc/NpcRandom.h"

namespace GAME {

class ControllerNpc2 : public ControllerAI {
    RTTI_DECLARE(ControllerNpc2)
public:
    static constexpr const char* kWanderersGroup = "Npc Wanderers";
    static constexpr const char* kWanderPointsGroup = "Wander Points";

    ControllerNpc2();

    void Load(const LoadTable& table) override;
    void PostParentAttached() override;
    void DebugRender() override;
    void OnDebugRenderClick();
    void RegisterStates() override;
    void RegisterTemporaryStates() override {}
    void InitializeStates() override;

    const std::vector<UniqueId>& GetWanderPoints() const { return mWanderPoints; }
    std::vector<UniqueId>& GetWanderPoints() { return mWanderPoints; }
    unsigned GetCurrentWanderPoint() const { return mCurrentWanderPoint; }
    void SetCurrentWanderPoint(unsigned index) { mCurrentWanderPoint = index; }
    int GetIdleTimeMin() const { return mIdleTimeMin; }
    int GetIdleTimeMax() const { return mIdleTimeMax; }
    float GetSocialRadius() const { return mSocialRadius; }
    float GetAlertRadius() const { return mAlertRadius; }
    bool IsDebugRenderClicked() const { return mDebugRenderClicked; }
    bool IsAlerted() const { return mAlerted; }

    // The player characters among the entities within the radius of the character.
    void GetPlayersInRadius(float radius, std::vector<std::uint32_t>& out) const;
    // The closest player within the social radius, else (marking the controller alerted) the
    // closest within the alert radius, else 0.
    std::uint32_t GetSocialTarget();

    NpcRandom& GetRandom() { return mRandom; }

private:
    float mSocialRadius = 0.0f;
    float mAlertRadius = 0.0f;
    int mIdleTimeMin = 0;
    int mIdleTimeMax = 0;
    std::vector<UniqueId> mWanderPoints;
    unsigned mCurrentWanderPoint = 0;
    unsigned mSocialCount = 0;
    float mSocialDistance = 0.0f;
    bool mAlerted = false;
    bool mDebugRenderClicked = false;
    NpcRandom mRandom;
};

}  // namespace GAME
