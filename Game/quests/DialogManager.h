#pragma once
// The dialog queue of the user interface: the game queues yes/no dialogs and messages, the UI
// shows the oldest, removes it, and hands back the answers, which the interested party collects.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace GAME {

class DialogManager {
public:
    using DialogType = std::uint32_t;
    using InterestedParty = std::uint32_t;

    struct YesNoResponse {
        InterestedParty party = 0;
        bool answer = false;
    };

    struct Dialog {
        std::wstring text;
        InterestedParty party = 0;
        DialogType type = 0;
        bool flag1 = false;  // the fifth argument of AddDialog
        bool flag2 = false;  // its last argument
        bool flag3 = false;  // its second argument
        std::string tag;     // the text tag asked for, empty for a given text
    };

    // The text is the tag's localized text formatted with the player's name (playerId not 0),
    // else the tag's text through "SimpleStringFormat".
    void AddDialog(DialogType type, bool second, InterestedParty party, const std::string& tag,
                   bool fifth, std::uint32_t playerId, bool last);
    void AddDialog(DialogType type, bool second, InterestedParty party, const std::wstring& text,
                   bool fifth, bool last);

    int GetNumDialog() const { return static_cast<int>(mDialogs.size()); }
    // The oldest dialog; null when the queue is empty.
    const Dialog* PeekTopDialog() const { return mDialogs.empty() ? nullptr : &mDialogs.front(); }
    // Removes the oldest dialog (nothing when empty).
    void RemoveTopDialog();

    // The UI's answer to a dialog of a party.
    void AddResponse(const YesNoResponse& response) { mResponses.push_back(response); }
    void AddResponse(InterestedParty party, bool answer) { AddResponse({party, answer}); }
    int GetNumResponsesFor(InterestedParty party) const;
    // Removes and returns the oldest answer of the party; {0, false} when it has none.
    YesNoResponse GetResponseFor(InterestedParty party);

    const std::deque<Dialog>& GetDialogs() const { return mDialogs; }
    void ClearDialogs() { mDialogs.clear(); }
    // The party no longer waits: its questions still queued and any answers are dropped, so a
    // late answer cannot reach a later question of the same party.
    void WithdrawDialogsFor(InterestedParty party);

private:
    std::deque<Dialog> mDialogs;
    std::deque<YesNoResponse> mResponses;
};

}  // namespace GAME
