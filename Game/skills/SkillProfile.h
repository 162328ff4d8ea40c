#pragma once
// The shared resources of one skill record (loaded once, used by every character with the skill).
#include <string>

namespace GAME {

class SkillProfile {
public:
    SkillProfile() = default;
    explicit SkillProfile(std::string recordName) : mRecordName(std::move(recordName)) {}
    virtual ~SkillProfile() = default;
    const std::string& GetRecordName() const { return mRecordName; }

private:
    std::string mRecordName;
};

}  // namespace GAME
