#pragma once
// One item instance as it is recreated on another machine: its record names, seed and relic level.
#include "Engine/net/NetPacketBuffer.h"

namespace GAME {

using ItemReplicaInfo = NetItemRecord;

}  // namespace GAME
