#pragma once
// Pushes apart the characters that stand inside one another in a camera's view. It moves them
// by what one machine's camera sees, so it acts only in a single-player game: in a network game
// each machine's view differs and the push would change the shared state differently on each.
#include <vector>

namespace GAME {

class Character;
class Entity;
class GameCamera;

class InterpenetrationManager {
public:
    InterpenetrationManager() = default;
    ~InterpenetrationManager() = default;

    // One fix-up over the characters in the camera's view (at most three passes).
    void FixupCharacterCollisions(const GameCamera& camera);

private:
    // Scratch of the last call, kept so that a frame's fix-up allocates nothing.
    std::vector<Entity*> mInView;
    std::vector<Character*> mCharacters;
};

}  // namespace GAME
