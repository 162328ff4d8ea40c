#include "Game/items/loot/LootBase.h"

#include "Game/items/loot/LootItemTableRandomizer.h"

namespace GAME {

RTTI_IMPLEMENT(LootBase, Object)

void LootBase::DrawRandomizerNames(std::string& prefix, std::string& suffix, RandomUniform& random,
                                   bool overrideTest) const {
    LootItemTableRandomizer randomizer;
    randomizer.LoadFromDatabase(GetObjectName());
    if (overrideTest) {
        randomizer.OverrideWeightsAndChance();
    } else {
        randomizer.SetWeightModifiers(weightModifiers);
        if (noBrokenItems)
            randomizer.SetNoBrokenItems();
    }
    randomizer.GetRandomizerNames(prefix, suffix, random);
}

}  // namespace GAME
