#include "Engine/triggers/TriggerToken.h"

#include "Engine/streams/IOStream.h"

namespace GAME {

void TriggerToken::StreamProperties(IOStream& stream) {
    stream.StreamString("tokenName", mName);
}

}  // namespace GAME
