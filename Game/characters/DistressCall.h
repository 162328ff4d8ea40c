#pragma once
// The call for help a character is making, so that its ~80 answers share the caller and the
// attacker looked up once instead of each looking both up by id.
#include <cstdint>

#include "Engine/object/ObjectManager.h"

namespace GAME {

class Character;

struct DistressCall {
    std::uint32_t allyId = 0;
    const Character* ally = nullptr;
    std::uint32_t attackerId = 0;
    // Null when no character had the id when the call began.
    const Character* attacker = nullptr;
    // Where the attacker stood in the world when the call began (a hint).
    std::uint32_t attackerSlot = 0;
    // Where the object table had the attacker (a hint): every answer that weighs it starts there.
    ObjectManager::Kept<Character> attackerKept;

    // The innermost call under way on this thread when it is the one of `allyId` about
    // `attackerId`; else null. Debug builds look both up again and abort on a difference.
    static const DistressCall* Matching(std::uint32_t allyId, std::uint32_t attackerId);

    // Makes `call` the current one while it lives; an answer may call for help in turn.
    class Scope {
    public:
        explicit Scope(const DistressCall& call) : mOuter(sCurrent) { sCurrent = &call; }
        ~Scope() { sCurrent = mOuter; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        const DistressCall* mOuter;
    };

private:
    static inline thread_local const DistressCall* sCurrent = nullptr;
};

}  // namespace GAME
