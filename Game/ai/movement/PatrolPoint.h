#pragma once
// A placed waypoint of a monster's patrol route. Invisible in the game; in the level editor it
// is shown and listed in the editor's filter.
#include "Engine/object/Object.h"

namespace GAME {

class PatrolPoint : public Actor {
    RTTI_DECLARE(PatrolPoint)
public:
    // The editor's filter category of patrol points.
    static constexpr int kEditorCategory = 5;

    PatrolPoint();
    ~PatrolPoint() override;

    void InitialUpdate() override;
};

}  // namespace GAME
