#pragma once
// A sideline conversation: the numbered lines of two to four speakers, read from a conversation
// record ("dialogTag"n and "dialogSpeaker"n, n = 1..20), spoken line by line by the characters
// the conversation manager assigns to the speakers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Region.h"

namespace GAME {

class LoadTable;
class CrtGenerator;

class ConversationSpeaker {
public:
    std::uint32_t GetActorId() const { return mActorId; }
    void SetActorId(std::uint32_t id) { mActorId = id; }
    void AddTag(const std::string& tag) { mTags.push_back(tag); }
    const std::vector<std::string>& GetTags() const { return mTags; }
    void Reset() { mNextTag = 0; }
    // The next tag of this speaker, empty once its tags are spoken.
    std::string TakeNextTag();

private:
    std::uint32_t mActorId = 0;
    std::vector<std::string> mTags;
    int mNextTag = 0;
};

class Conversation {
public:
    static constexpr int kMaxLines = 20;
    static constexpr int kMaxSpeakers = 4;

    void Load(const LoadTable& table);
    // Speaker i gets ids[i] (as many as both have).
    void SetConversationActors(const std::vector<std::uint32_t>& ids);
    void GetConversationActors(std::vector<std::uint32_t>& out) const;
    int GetNumberOfConversationalists() const { return static_cast<int>(mSpeakers.size()); }
    std::size_t GetNumberOfLines() const { return mLines.size(); }
    void SetCenterPoint(const WorldVec3& point) { mCenterPoint.SetPosition(point); }
    // The first speaker's position when the conversation centres on it, else the stored point.
    WorldVec3 GetCenterPoint() const;
    void SetPendingDisable(bool pending) { mPendingDisable = pending; }
    bool IsPendingDisable() const { return mPendingDisable; }
    bool IsCenteredOnFirstSpeaker() const { return mCenterOnFirstSpeaker; }

    // Starts from the first line (`random` decides whether it centres on the first speaker),
    // tells the speakers' controllers, and announces "GameEvent_StartSidelineConversation".
    void OnBeginConverse(CrtGenerator& random);
    // The next line's speaker and tag; false (with 0 and an empty tag) once the lines are spoken.
    bool GetNextSpeakerAndSpeech(std::uint32_t& actorId, std::string& tag);
    // Tells the speakers' controllers and hands the conversation back to the manager.
    void OnEndConverse();
    void Update(int) {}

    void SetPak(const class ConversationPak* pak) { mPak = pak; }
    const ConversationPak* GetPak() const { return mPak; }

private:
    std::vector<std::unique_ptr<ConversationSpeaker>> mSpeakers;
    std::vector<ConversationSpeaker*> mLines;
    int mNextLine = 0;
    WorldCoords mCenterPoint;
    bool mPendingDisable = false;
    [[maybe_unused]] float mValue = 0.0f;  // set aside for a conversation's own value
    bool mCenterOnFirstSpeaker = false;
    const ConversationPak* mPak = nullptr;
};

}  // namespace GAME
