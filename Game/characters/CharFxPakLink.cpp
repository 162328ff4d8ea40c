// Temporary stand-in definitions of the character effect pack until the effects subsystem lands
// in this branch: packs load nothing and show nothing. Delete this file when it does.
#include "Game/world/effects/CharFxPak.h"

namespace GAME {

class CharFxPak::SharedSound {};

CharFxPak::CharFxPak() = default;
CharFxPak::CharFxPak(const CharFxPak&) = default;
CharFxPak& CharFxPak::operator=(const CharFxPak&) = default;
CharFxPak::~CharFxPak() = default;

void CharFxPak::LoadFromDatabase(const std::string&) {}
void CharFxPak::InitializeFxPak() {}
void CharFxPak::UnLoad() {}
void CharFxPak::PreLoad() {}
void CharFxPak::Enable(bool) {}
void CharFxPak::Start() {
    mStarted = true;
}
void CharFxPak::Stop() {
    mStarted = false;
}
SoundPak* CharFxPak::GetStartSound() const {
    return nullptr;
}
SoundPak* CharFxPak::GetStopSound() const {
    return nullptr;
}
SoundPak* CharFxPak::GetActiveSound() const {
    return nullptr;
}
Character* CharFxPak::GetCharacter() const {
    return nullptr;
}

}  // namespace GAME
