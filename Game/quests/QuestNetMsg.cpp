#include "Game/quests/QuestNetMsg.h"

namespace GAME {

std::size_t QuestNetMsg::OwnWords(QuestNetMsgType type) {
    switch (type) {
        case QuestNetMsgType::CreatureKilled:
        case QuestNetMsgType::HerdCreatureKilled:
            return 3;
        case QuestNetMsgType::ProxyCreatureKilled:
            return 2;
        case QuestNetMsgType::ConversationStarted:
            return 1;
        default:
            return 0;
    }
}

void QuestNetMsg::Write(std::vector<std::uint32_t>& out) const {
    out.push_back(static_cast<std::uint32_t>(type));
    out.push_back(conditionId);
    out.push_back(sender);
    for (std::size_t i = 0; i < OwnWords(type); ++i)
        out.push_back(words[i]);
}

void WriteProxySpawn(const QuestNetMsg_ProxySpawn& spawn, std::uint32_t sender,
                     std::vector<std::uint32_t>& out) {
    out.push_back(static_cast<std::uint32_t>(QuestNetMsgType::ProxySpawned));
    out.push_back(ConditionId::kNone);
    out.push_back(sender);
    out.push_back(spawn.proxyNameIndex);
    for (const auto* list : {&spawn.primaryObjects, &spawn.accessoryObjects}) {
        out.push_back(static_cast<std::uint32_t>(list->size()));
        out.insert(out.end(), list->begin(), list->end());
    }
}

bool ReadQuestNetMsg(const std::vector<std::uint32_t>& words, QuestNetMsg& message,
                     QuestNetMsg_ProxySpawn& spawn) {
    if (words.size() < 3 || words[0] >= kQuestNetMsgTypes)
        return false;
    message.type = static_cast<QuestNetMsgType>(words[0]);
    message.conditionId = words[1];
    message.sender = words[2];
    if (message.type != QuestNetMsgType::ProxySpawned) {
        const std::size_t own = QuestNetMsg::OwnWords(message.type);
        if (words.size() != 3 + own)
            return false;
        for (std::size_t i = 0; i < own; ++i)
            message.words[i] = words[3 + i];
        return true;
    }
    // name index, then two counted lists: each count bounded by the words that are left.
    std::size_t at = 3;
    if (at >= words.size())
        return false;
    spawn.proxyNameIndex = words[at++];
    for (auto* list : {&spawn.primaryObjects, &spawn.accessoryObjects}) {
        if (at >= words.size())
            return false;
        const std::uint32_t count = words[at++];
        if (count > words.size() - at)
            return false;
        list->assign(words.begin() + static_cast<std::ptrdiff_t>(at),
                     words.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
    }
    return at == words.size();
}

}  // namespace GAME
