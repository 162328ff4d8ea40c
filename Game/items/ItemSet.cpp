#include "Game/items/ItemSet.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemText.h"

namespace GAME {

void ItemSet::LoadFromDatabase(const std::string& name) {
    recordName = name;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(name);
    const LoadTable record = objects.GetLoadTable(name);
    setName = record.GetString("setName");
    setDescription = record.GetString("setDescription");
    members.clear();
    std::vector<std::string> memberNames;
    record.GetStringArray("setMembers", memberNames);
    for (const std::string& member : memberNames) {
        std::wstring displayName;
        CreateMemberDisplayName(member, displayName);
        members.emplace_back(MakeNormalizedPath(member), std::move(displayName));
    }
    AttributePak::LoadFromTable(record);
}

void ItemSet::CreateMemberDisplayName(const std::string& member, std::wstring& displayName) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(member);
    displayName = LocalizeSimple(objects.GetLoadTable(member).GetString("itemNameTag"));
}

void ItemSet::GetUIDisplayText(const std::vector<std::string>& wornMembers,
                               std::vector<GameTextLine>& lines) const {
    lines.emplace_back(GameTextClass_ItemSetName, LocalizeSimple(setName));
    if (!setDescription.empty())
        lines.emplace_back(GameTextClass_ItemSetDescription, LocalizeSimple(setDescription), true);
    for (const auto& entry : members) {
        const std::string& member = entry.first;
        const bool worn = std::any_of(
            wornMembers.begin(), wornMembers.end(),
            [&member](const std::string& name) { return PathEqualsNoCaseStr(name, member); });
        lines.emplace_back(worn ? GameTextClass_ItemSetComponentAvailable
                                : GameTextClass_ItemSetComponentNotAvailable,
                           entry.second);
    }
    if (!wornMembers.empty())
        AttributePak::GetUIDisplayText(static_cast<unsigned>(wornMembers.size()),
                                       GameTextClass_ItemSetBonuses, lines);
}

}  // namespace GAME
