#pragma once
// Which characters and which sideline conversations are available, busy or disabled, on this
// machine. Characters that a conversation pack names in their record join it; every so often,
// when no conversation runs, the first available conversation starts between available
// characters placed near each other, and its lines follow one by one. Every choice depends only
// on what every machine holds alike (the order characters joined, where they were placed, the
// game time), and the draws come from a generator of the manager's own, so every machine holds
// the same conversation at the same time.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/quests/conversation/ConversationPak.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

class NpcConversationManager {
public:
    // First conversation, the pause between two, one line's time (game ms), and how near the
    // speakers' places must lie.
    static constexpr int kFirstStartMs = 5000;
    static constexpr int kRestMs = 60000;
    static constexpr int kLineMs = 3000;
    static constexpr float kGatherRadius = 8.0f;

    NpcConversationManager();

    // The machine's manager, created on first use.
    static NpcConversationManager& Get();
    // Dropped when the level unloads: its packs name the level's characters.
    static void Reset();

    void GetAvailableNpcsList(std::vector<std::uint32_t>& out) const { out = mAvailable; }
    void OnStartConversation(Conversation* conversation, const std::vector<std::uint32_t>& actors,
                             const WorldVec3& centerPoint);
    void OnEndConversation(Conversation* conversation);

    // A character joins the conversations of the pack its record names.
    void AddSpeaker(std::uint32_t characterId, const std::string& pakPath);
    // Starts a conversation when one is due and speaks the running one's next line when due.
    void Update(int ms);

    const std::vector<Conversation*>& GetBusyConversations() const { return mBusy; }
    const std::vector<Conversation*>& GetAvailableConversations() const {
        return mAvailableConversations;
    }
    const std::vector<Conversation*>& GetDisabledConversations() const { return mDisabled; }
    const std::vector<Conversation*>& GetCollisionConversations() const { return mCollision; }
    const std::vector<std::uint32_t>& GetUnavailableNpcs() const { return mUnavailable; }
    std::size_t GetPakCount() const { return mPaks.size(); }

    void _EnableConversationPak(const std::string& path);
    void _EnableCollisionConversationPak(const std::string& path);
    void _DisableConversationPak(const std::string& path);
    void _MakeAvailable(std::uint32_t id);
    void _MakeUnavailable(std::uint32_t id);
    void _MakeEnabled(std::uint32_t id);
    void _MakeDisabled(std::uint32_t id);
    void _MakeAvailable(Conversation* conversation);
    void _MakeUnavailable(Conversation* conversation);
    void _MakeEnabled(Conversation* conversation, bool collision);
    void _MakeDisabled(Conversation* conversation);

private:
    ConversationPak* FindPak(const std::string& path) const;
    void EnablePak(const std::string& path, bool collision);
    // The first available conversation that available characters placed together can hold.
    void StartDueConversation();
    bool GatherActors(std::size_t count, std::vector<std::uint32_t>& actors,
                      WorldVec3& center) const;

    std::vector<std::uint32_t> mAvailable;
    std::vector<std::uint32_t> mUnavailable;
    std::vector<Conversation*> mBusy;
    std::vector<Conversation*> mAvailableConversations;
    std::vector<Conversation*> mDisabled;
    std::vector<Conversation*> mCollision;
    std::vector<std::unique_ptr<ConversationPak>> mPaks;
    std::uint32_t mWord = 0;
    int mStartCountdown = kFirstStartMs;
    int mLineCountdown = 0;
    CrtGenerator mRandom;
};

}  // namespace GAME
