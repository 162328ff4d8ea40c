#include "Game/skills/boss/BossBeams.h"

#include "Game/characters/Character.h"

namespace GAME {

RTTI_IMPLEMENT(ChainLaserBeam, ChaosBeam)
RTTI_IMPLEMENT(SkillGodBeam, ChaosBeam)

bool ApplyBeamProgress(ChaosBeam& beam, float progress) {
    if (progress <= 1.0f) {
        beam.SetTopBottomPercent(progress, 0.0f);
        return true;
    }
    if (progress <= 2.0f) {
        beam.SetTopBottomPercent(1.0f, progress - 1.0f);
        return true;
    }
    beam.SetTopBottomPercent(0.0f, 0.0f);
    return false;
}

WorldVec3 BodyCentreOf(const Character& character) {
    WorldVec3 at = character.GetPosition();
    at.Translate(character.GetCenterOfMass());
    return at;
}

WorldCoords UnrotatedAt(const WorldCoords& coords) {
    return WorldCoords(coords.region, Coords::FromOrigin(coords.coords.origin));
}

}  // namespace GAME
