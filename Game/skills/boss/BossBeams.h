#pragma once
// The beams the boss skills draw: chaos beams under classes of their own, so that records can
// name them apart.
#include "Engine/object/EngineClasses.h"
#include "Engine/world/Region.h"

namespace GAME {

// Ormenos's lasers at the chains of the bound Typhon.
class ChainLaserBeam : public ChaosBeam {
    RTTI_DECLARE(ChainLaserBeam)
};

// The beam from a god's statue to Typhon.
class SkillGodBeam : public ChaosBeam {
    RTTI_DECLARE(SkillGodBeam)
};

// How far along a beam is drawn at progress p (0..2): it grows to full length, then its tail
// follows, then it is gone. False once p has passed 2 (the beam is then hidden).
bool ApplyBeamProgress(ChaosBeam& beam, float progress);

class Character;
// Where a beam or burst meets a character: its position raised by its centre of mass.
WorldVec3 BodyCentreOf(const Character& character);
// The coordinates with the rotation cleared.
WorldCoords UnrotatedAt(const WorldCoords& coords);

}  // namespace GAME
