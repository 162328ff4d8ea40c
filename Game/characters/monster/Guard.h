#pragma once
// A fighting character on the players' side that cannot be killed.
#include "Game/characters/monster/Monster.h"

namespace GAME {

class Guard : public Monster {
    RTTI_DECLARE(Guard)
public:
    void Load(const LoadTable& table) override;
};

}  // namespace GAME
