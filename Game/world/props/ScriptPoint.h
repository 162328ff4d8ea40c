#pragma once
// An invisible marker for scripted sequences, named by a character and a sequence number. When a
// player steps into its radius it announces itself ("GameEvent_ScriptPoint"), so the character
// learns where its script leads; a point that wakes its character then wakes it too.
#include <string>

#include "Engine/object/Object.h"

namespace GAME {

class ScriptPoint : public Actor {
    RTTI_DECLARE(ScriptPoint)
public:
    // "radius" (optional) sets the actor's radius, the reach of the point.
    void Load(const LoadTable& table) override;
    void UpdateSelf(int elapsedMs) override;
    bool CanCollide(const Entity&) const override { return false; }
    // Zero offset and identity orientation, every half extent the actor's radius.
    OrientedBox GetCollisionBox() const;

    const std::string& GetScriptCharacter() const { return mScriptCharacter; }
    int GetSequenceNum() const { return mSequenceNum; }
    bool WakesCharacter() const { return mWakesCharacter; }
    bool HasPlayerInside() const { return mPlayerInside; }

private:
    // The first player within the radius, in world order; 0 when none.
    std::uint32_t FindPlayerInside() const;
    void Announce(std::uint32_t playerId) const;

    std::string mScriptCharacter;
    int mSequenceNum = 0;
    bool mWakesCharacter = false;
    bool mPlayerInside = false;
};

}  // namespace GAME
