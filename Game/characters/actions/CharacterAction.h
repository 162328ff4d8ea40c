#pragma once
// What the action handler runs: one request for a character to do something. Actions keep the
// acting character's object id, never a pointer, and look it up whenever they need it.
#include <cstdint>
#include <memory>
#include <string>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/characters/actions/CharacterActionType.h"

namespace GAME {

class Name;
class CharacterActionPacketBase;

// Controllers make and drop actions every frame: their storage is recycled.
class CharacterAction : public RecycledStorage {
public:
    CharacterAction() = default;
    virtual ~CharacterAction() = default;

    virtual void Execute() = 0;
    // A named event of the character's current animation.
    virtual void AnimationCallback(const Name& event) = 0;
    virtual void Finish() = 0;
    // A controller dropped the action while it waited to run.
    virtual void PendingActionAborted() = 0;
    virtual bool IsActive() const = 0;
    // A new packet carrying the action to the other machines, or null.
    virtual std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const = 0;
    virtual bool SupportsNetwork() const = 0;
    virtual CharacterActionType GetType() const = 0;
    // The move that must run before this action, or null.
    virtual std::unique_ptr<CharacterAction> GetPreAction() const = 0;
    virtual float GetBlendTime() const = 0;
    virtual std::uint32_t GetParentId() const = 0;
    virtual std::string ToString() const = 0;

protected:
    CharacterAction(const CharacterAction&) = default;
    CharacterAction& operator=(const CharacterAction&) = default;
};

// A test over actions that a controller may install on a handler.
template <class T>
class FilterFunction {
public:
    virtual ~FilterFunction() = default;
    virtual bool operator()(const T& value) const = 0;
};

}  // namespace GAME
