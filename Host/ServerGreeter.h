#pragma once
// The server's side of the host's greeting exchange. Each client greets with a game-wide chat
// request; the game root records it, and the greeter notes which host sent each one, so that
// the answer goes to that host alone and a client that greets twice still counts once. A host
// id that is given to a new client after the old one left counts again.
#include <cstddef>
#include <cstdio>
#include <set>
#include <vector>

namespace GAME {

class ServerGreeter {
public:
    // Takes over the chat kind's handler of the current machine (after InitializeObjects); the
    // greeter must outlive the machine's connection.
    void Install();
    // Prints each greeting the root recorded since the last call and answers it with a remote
    // message to its sender; the number of clients greeted so far.
    int AnswerNewGreetings(std::FILE* out);
    int GetClientsGreeted() const { return mClientsGreeted; }
    // Whether a host that is still connected greeted.
    bool HasGreeted(int host) const { return mConnectedGreeted.contains(host); }

private:
    std::vector<int> mSenders;  // the sending host of each chat message of the root (-1: none)
    std::size_t mAnswered = 0;
    std::set<int> mConnectedGreeted;  // hosts that greeted and are still connected
    int mClientsGreeted = 0;
};

}  // namespace GAME
