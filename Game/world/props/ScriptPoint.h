#pragma once
// An invisible marker for scripted sequences, named by a character and a sequence number.
#include <string>

#include "Engine/object/Object.h"

namespace GAME {

class ScriptPoint : public Actor {
    RTTI_DECLARE(ScriptPoint)
public:
    void Load(const LoadTable& table) override;
    bool CanCollide() const { return false; }
    // Zero offset and identity orientation, every half extent the actor's radius.
    OrientedBox GetCollisionBox() const;

    const std::string& GetScriptCharacter() const { return mScriptCharacter; }
    int GetSequenceNum() const { return mSequenceNum; }

private:
    std::string mScriptCharacter;
    int mSequenceNum = 0;
};

}  // namespace GAME
