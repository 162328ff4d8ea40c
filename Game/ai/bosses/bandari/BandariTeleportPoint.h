#pragma once
// A place the Bandari jumps to. Invisible in the game; in the level editor it is shown and
// listed in the editor's filter.
#include "Engine/object/Object.h"

namespace GAME {

class BandariTeleportPoint : public Actor {
    RTTI_DECLARE(BandariTeleportPoint)
public:
    // The editor's filter category of the Bandari's points.
    static constexpr int kEditorCategory = 7;

    BandariTeleportPoint();
    ~BandariTeleportPoint() override;

    void InitialUpdate() override;
};

}  // namespace GAME
