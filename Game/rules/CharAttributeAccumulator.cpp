#include "Game/rules/CharAttributeAccumulator.h"

namespace GAME {

void CharAttributeAccumulator::Clear() {
    mValue.fill(0.0f);
    mModifier.fill(0.0f);
}

}  // namespace GAME
