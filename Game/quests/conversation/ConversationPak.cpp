#include "Game/quests/conversation/ConversationPak.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

bool ConversationPak::Load(const std::string& path) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(path))
        return false;
    const LoadTable table = objects.GetLoadTable(path);
    const std::size_t count = table.GetArraySize("allConversations");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string record = table.GetArrayString("allConversations", i);
        if (record.empty() || !objects.LoadTableFile(record))
            continue;
        auto conversation = std::make_unique<Conversation>();
        conversation->Load(objects.GetLoadTable(record));
        conversation->SetPak(this);
        mConversations.push_back(std::move(conversation));
    }
    return true;
}

}  // namespace GAME
