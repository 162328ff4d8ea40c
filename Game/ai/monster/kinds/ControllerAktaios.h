#pragma once
// The controller of the boss Aktaios: a monster controller that ignores its record, so every
// behaviour keeps its construction default (a view distance of 20); its skills do the fighting.
#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerAktaios : public ControllerMonster {
    RTTI_DECLARE(ControllerAktaios)
public:
    void Load(const LoadTable&) override {}
};

}  // namespace GAME
