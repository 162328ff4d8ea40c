#pragma once
// Ormenos: a boss that loses its sickle (in an explosion) when its lasers have freed Typhon, and
// whose floating thrown objects burst when it dies. The loss of the sickle is kept in its saved
// state.
#include <string>

#include "Game/characters/monster/Monster.h"

namespace GAME {

class Ormenos : public Monster {
    RTTI_DECLARE(Ormenos)
public:
    // Floating objects this near burst when it dies.
    static constexpr float kProjectileReach = 30.0f;

    void Load(const LoadTable& table) override;
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    void CharacterIsDying() override;

    // The sickle (the right-hand item, else the left-hand one) leaves its hand and the
    // inventory; with `explode`, an explosion where the boss stands. The boss then idles.
    void UnequipAndExplodeSickle(bool explode);
    bool IsSickleGone() const { return mSickleGone; }

private:
    std::string mSickleExplosion;
    bool mSickleGone = false;
};

}  // namespace GAME
