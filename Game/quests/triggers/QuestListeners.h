#pragma once
// What the quest repository hands to the conditions and actions registered under a record name.
#include <cstdint>
#include <vector>

namespace GAME {

struct GameEvent_CreatureDeath;
struct GameEvent_CreatureInitialUpdate;
struct GameEvent_GenericEntity;

// A spawn proxy's objects as the deciding machine made them, sent to the others so that their
// quest actions bind to the same objects.
struct QuestNetMsg_ProxySpawn {
    std::uint32_t proxyNameIndex = 0;  // the network index of the proxy's name
    std::vector<std::uint32_t> primaryObjects;
    std::vector<std::uint32_t> accessoryObjects;
    std::uint32_t proxyId = 0;  // not sent
};

class CreatureDeathListener {
public:
    virtual ~CreatureDeathListener() = default;
    virtual void OnCreatureDeath(const GameEvent_CreatureDeath& event) = 0;
};

class CreatureInitialUpdateListener {
public:
    virtual ~CreatureInitialUpdateListener() = default;
    virtual void OnCreatureInitialUpdate(const GameEvent_CreatureInitialUpdate& event) = 0;
};

class GenericEntityInitialUpdateListener {
public:
    virtual ~GenericEntityInitialUpdateListener() = default;
    virtual void OnGenericEntityInitialUpdate(const GameEvent_GenericEntity& event) = 0;
    virtual void OnGenericEntityInitialUpdate_Net(const QuestNetMsg_ProxySpawn& message) = 0;
};

// Conditions the repository calls by kind; their classes come with the condition kinds.
class ConversationStartListener {
public:
    virtual ~ConversationStartListener() = default;
    virtual void OnConversationBegin(const struct GameEvent_ConversationBegin& event) = 0;
};

class EnterVolumeListener {
public:
    virtual ~EnterVolumeListener() = default;
    virtual void OnEnterBoundingVolume(const struct GameEvent_BoundingVolume& event) = 0;
};

}  // namespace GAME
