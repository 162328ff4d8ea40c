#include "Engine/triggers/TriggerFactory.h"

namespace GAME {

// Function-local statics: producers register from static initialisers of other libraries.
TriggerActionFactory& TriggerActionFactory::Get() {
    static TriggerActionFactory factory;
    return factory;
}

TriggerConditionFactory& TriggerConditionFactory::Get() {
    static TriggerConditionFactory factory;
    return factory;
}

}  // namespace GAME
