#pragma once
// A statue monster that a spirit can animate; whether it has been animated survives saving.
#include "Game/characters/monster/Monster.h"

namespace GAME {

class SpiritHost : public Monster {
    RTTI_DECLARE(SpiritHost)
public:
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;

    bool IsAnimated() const { return mAnimated; }
    void SetAnimated(bool animated) { mAnimated = animated; }

private:
    bool mAnimated = false;
};

}  // namespace GAME
