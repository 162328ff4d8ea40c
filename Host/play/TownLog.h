#pragma once
// What `gamehost play` tells of the townsfolk near this machine's player: a sideline
// conversation in earshot, line by line; a stroller, a herder and its flock setting off; a guard
// at its post. Each walker and the guard are told of once. It only listens and reads.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Game/core/GameEventListener.h"
#include "Game/quests/conversation/ConversationEvents.h"

namespace GAME {

class Conversation;
class Entity;
class Player;

class TownLog {
public:
    using Printer = std::function<void(const std::string&)>;
    // How near the player a conversation is heard and a walker or guard is seen.
    static constexpr float kEarshot = 25.0f;
    static constexpr float kSight = 30.0f;

    TownLog(std::uint32_t playerId, Printer print);

    // Once a frame: walkers that set off and guards that came into sight.
    void Observe(const Player& player);

private:
    void OnStart(const GameEvent_StartSidelineConversation& event);
    void OnLine(const GameEvent_SidelineConversationLine& event);
    const Player* FindPlayer() const;
    bool Told(std::uint32_t id);

    std::uint32_t mPlayerId;
    Printer mPrint;
    GameEventListener<TownLog, GameEvent_StartSidelineConversation> mStart;
    GameEventListener<TownLog, GameEvent_SidelineConversationLine> mLine;
    const Conversation* mHeard = nullptr;
    std::vector<std::uint32_t> mTold;  // walkers, herds (by herder) and guards told of
    std::vector<Entity*> mNearby;
};

}  // namespace GAME
