#pragma once
// Every character action class.
#include "Game/characters/actions/AttackAction.h"
#include "Game/characters/actions/IdleActions.h"
#include "Game/characters/actions/InteractionActions.h"
#include "Game/characters/actions/LifeActions.h"
#include "Game/characters/actions/MoveActions.h"
#include "Game/characters/actions/PlayAnimationAction.h"
#include "Game/characters/actions/StatusActions.h"
