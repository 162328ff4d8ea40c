#pragma once
// A set of equipment records: the bonus a character gets grows with the number of members it
// wears (the pack's per-level values, indexed by that number).
#include <string>
#include <utility>
#include <vector>

#include "Game/rules/AttributePak.h"

namespace GAME {

class ItemSet : public AttributePak {
public:
    ItemSet() = default;
    ~ItemSet() override = default;

    void LoadFromDatabase(const std::string& recordName) override;
    using AttributePak::GetUIDisplayText;
    // The set's name, description, members (worn or not) and the bonus for the worn count.
    virtual void GetUIDisplayText(const std::vector<std::string>& wornMembers,
                                  std::vector<GameTextLine>& lines) const;
    virtual void CreateMemberDisplayName(const std::string& memberRecordName,
                                         std::wstring& displayName) const;

    const std::string& GetSetRecordName() const { return recordName; }
    const std::string& GetSetName() const { return setName; }
    const std::string& GetSetDescription() const { return setDescription; }
    // (normalised member record name, display name), in record order.
    const std::vector<std::pair<std::string, std::wstring>>& GetMembers() const { return members; }

private:
    std::string recordName;
    std::string setName;
    std::string setDescription;
    std::vector<std::pair<std::string, std::wstring>> members;
};

}  // namespace GAME
