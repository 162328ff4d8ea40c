#pragma once
// One aspect of a character's death (its animation, an effect, a spawned actor, its body), run
// by the character's death manager. A handler without a character does nothing.
#include <cstdint>

#include "Engine/text/Name.h"

namespace GAME {

class Character;

class DeathHandler {
public:
    explicit DeathHandler(Character* character) : mCharacter(character) {}
    virtual ~DeathHandler() = default;
    DeathHandler(const DeathHandler&) = delete;
    DeathHandler& operator=(const DeathHandler&) = delete;

    virtual void Execute() { mFinished = false; }
    virtual void Update(int) {}
    virtual void AnimationCallback(const Name&) {}
    virtual void ExternalEvent(const Name&) {}
    virtual void PostProcess() {}
    virtual void Finish() { mFinished = true; }
    virtual void Reset() { mFinished = false; }
    virtual void PreLoad() {}
    // Handlers that create objects take ids reserved by the machine that decided the death, so
    // every machine creates them under the same id.
    virtual bool NeedsObjectId() const { return false; }
    virtual void SetObjectId(std::uint32_t) {}

    bool IsFinished() const { return mFinished; }

protected:
    Character* mCharacter = nullptr;
    bool mFinished = false;
};

}  // namespace GAME
