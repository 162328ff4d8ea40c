#pragma once
// Asks the player to confirm a teleport; a yes starts the teleport, any answer ends the asking.
#include <string>

#include "Engine/world/Region.h"
#include "Game/core/GameActivity.h"

namespace GAME {

class TeleportConfirmActivity : public GameActivity {
public:
    void Set(const std::string& textTag, const WorldVec3& where);
    const WorldVec3& GetDestination() const { return destination; }

    void Update(int elapsedMs) override;
    void Render(GraphicsCanvas&) const override {}
    bool IsFinished() const override { return finished; }
    void AddStatisticText() override {}

private:
    WorldVec3 destination;
    std::string tag;
    bool finished = false;
    bool dialogShown = false;
};

}  // namespace GAME
