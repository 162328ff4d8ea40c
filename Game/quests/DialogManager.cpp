#include "Game/quests/DialogManager.h"

#include <algorithm>

namespace GAME {

void DialogManager::AddDialog(DialogType type, bool modal, InterestedParty party,
                              const std::string& tag, bool flag1, unsigned int value, bool flag2) {
    mDialogs.push_back(Dialog{type, modal, party, tag, {}, flag1, value, flag2});
}

void DialogManager::AddDialog(DialogType type, bool modal, InterestedParty party,
                              const std::wstring& text, bool flag1, bool flag2) {
    mDialogs.push_back(Dialog{type, modal, party, {}, text, flag1, 0, flag2});
}

void DialogManager::AddResponse(InterestedParty party, int answer) {
    mResponses.push_back(YesNoResponse{party, answer});
}

int DialogManager::GetNumResponsesFor(InterestedParty party) const {
    return static_cast<int>(
        std::count_if(mResponses.begin(), mResponses.end(),
                      [party](const YesNoResponse& r) { return r.party == party; }));
}

DialogManager::YesNoResponse DialogManager::GetResponseFor(InterestedParty party) {
    auto it = std::find_if(mResponses.begin(), mResponses.end(),
                           [party](const YesNoResponse& r) { return r.party == party; });
    if (it == mResponses.end())
        return YesNoResponse{party, 0};
    YesNoResponse response = *it;
    mResponses.erase(it);
    return response;
}

void DialogManager::WithdrawDialogsFor(InterestedParty party) {
    std::erase_if(mDialogs, [party](const Dialog& d) { return d.party == party; });
    std::erase_if(mResponses, [party](const YesNoResponse& r) { return r.party == party; });
}

}  // namespace GAME
