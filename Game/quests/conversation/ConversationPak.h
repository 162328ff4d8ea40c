#pragma once
// A pack of conversations, named by its record ("allConversations": the conversation records).
#include <memory>
#include <string>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/quests/conversation/Conversation.h"

namespace GAME {

class ConversationPak {
public:
    // Loads the conversations of the record's list that the engine can load; false when the
    // pack record itself cannot be loaded.
    bool Load(const std::string& path);
    const Name& GetName() const { return mName; }
    void SetName(const Name& name) { mName = name; }
    std::vector<std::unique_ptr<Conversation>>& GetConversations() { return mConversations; }
    bool IsCollision() const { return mCollision; }
    void SetCollision(bool collision) { mCollision = collision; }

private:
    Name mName;
    std::vector<std::unique_ptr<Conversation>> mConversations;
    bool mCollision = false;
    [[maybe_unused]] bool mSecond = false;  // a second flag beside the collision flag
};

}  // namespace GAME
