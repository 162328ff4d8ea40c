#pragma once
// The dialog queue of the user interface: the game queues dialogs, the UI shows them and hands
// back the yes/no answers, which the interested party collects.
#include <deque>
#include <string>
#include <vector>

namespace GAME {

class DialogManager {
public:
    using DialogType = int;
    using InterestedParty = int;

    struct YesNoResponse {
        InterestedParty party = 0;
        int answer = 0;  // 1: yes
    };

    struct Dialog {
        DialogType type = 0;
        bool modal = false;
        InterestedParty party = 0;
        std::string tag;
        std::wstring text;
        bool flag1 = false;
        unsigned int value = 0;
        bool flag2 = false;
    };

    void AddDialog(DialogType type, bool modal, InterestedParty party, const std::string& tag,
                   bool flag1, unsigned int value, bool flag2);
    void AddDialog(DialogType type, bool modal, InterestedParty party, const std::wstring& text,
                   bool flag1, bool flag2);

    // The UI's answer to a dialog of a party.
    void AddResponse(InterestedParty party, int answer);
    int GetNumResponsesFor(InterestedParty party) const;
    // Removes and returns the oldest answer of the party (ask only when there is one).
    YesNoResponse GetResponseFor(InterestedParty party);

    const std::vector<Dialog>& GetDialogs() const { return mDialogs; }
    void ClearDialogs() { mDialogs.clear(); }
    // The party no longer waits: its questions still queued and any answers are dropped, so a
    // late answer cannot reach a later question of the same party.
    void WithdrawDialogsFor(InterestedParty party);

private:
    std::vector<Dialog> mDialogs;
    std::deque<YesNoResponse> mResponses;
};

}  // namespace GAME
