#pragma once
// The quest messages between machines: a few 32-bit words each, type first.
#include <cstdint>
#include <vector>

#include "Game/quests/ConditionId.h"
#include "Game/quests/triggers/QuestListeners.h"

namespace GAME {

enum class QuestNetMsgType : std::uint32_t {
    ConditionSatisfied = 0,
    CreatureKilled = 1,
    ProxyCreatureKilled = 2,
    ConversationStarted = 3,
    HerdCreatureKilled = 4,
    ProxySpawned = 5,
    ClientDataRequest = 6,
};
constexpr std::uint32_t kQuestNetMsgTypes = 7;

// Every kind but the proxy spawn list: the three common words and up to three of its own
// (killer, victim or sibling count or conversing player, exclusive flag).
struct QuestNetMsg {
    QuestNetMsgType type = QuestNetMsgType::ConditionSatisfied;
    std::uint32_t conditionId = ConditionId::kNone;
    std::uint32_t sender = 0;
    std::uint32_t words[3] = {0, 0, 0};

    // How many words of its own the kind carries.
    static std::size_t OwnWords(QuestNetMsgType type);
    void Write(std::vector<std::uint32_t>& out) const;
};

// Reads a message; false when the words are not one (an unknown type, too few or too many
// words, a list count larger than the words left). The spawn list is filled for type 5.
bool ReadQuestNetMsg(const std::vector<std::uint32_t>& words, QuestNetMsg& message,
                     QuestNetMsg_ProxySpawn& spawn);
void WriteProxySpawn(const QuestNetMsg_ProxySpawn& spawn, std::uint32_t sender,
                     std::vector<std::uint32_t>& out);

}  // namespace GAME
