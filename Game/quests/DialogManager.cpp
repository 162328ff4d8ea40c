#include "Game/quests/DialogManager.h"

#include <algorithm>

#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"

namespace GAME {

void DialogManager::AddDialog(DialogType type, bool second, InterestedParty party,
                              const std::string& tag, bool fifth, std::uint32_t playerId,
                              bool last) {
    const LocalizationManager& texts = LocalizationManager::Instance();
    std::wstring text;
    if (playerId != 0 && gGameEngine)
        text = texts.Format(tag, gGameEngine->GetPlayerName(playerId));
    else
        text = texts.Format("SimpleStringFormat", texts.GetText(tag));
    mDialogs.push_back(Dialog{std::move(text), party, type, fifth, last, second, tag});
}

void DialogManager::AddDialog(DialogType type, bool second, InterestedParty party,
                              const std::wstring& text, bool fifth, bool last) {
    mDialogs.push_back(Dialog{text, party, type, fifth, last, second, {}});
}

void DialogManager::RemoveTopDialog() {
    if (!mDialogs.empty())
        mDialogs.pop_front();
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
        return YesNoResponse{};
    YesNoResponse response = *it;
    mResponses.erase(it);
    return response;
}

void DialogManager::WithdrawDialogsFor(InterestedParty party) {
    std::erase_if(mDialogs, [party](const Dialog& d) { return d.party == party; });
    std::erase_if(mResponses, [party](const YesNoResponse& r) { return r.party == party; });
}

}  // namespace GAME
