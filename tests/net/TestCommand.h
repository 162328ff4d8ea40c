#pragma once
// A configuration command of the tests: adds an amount to a per-machine tally of its actor and
// remembers the note it carried. Its packet uses a type id outside the game's range.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"

namespace GAME::test {

inline constexpr PACKET_TYPE kTallyPacketType = 200;
// The actor the command tests tally on.
inline constexpr std::uint32_t kHero = 0x1000;

// What the tally commands did on one machine.
struct TallyBook {
    std::map<std::uint32_t, int> totals;  // by actor id
    int executions = 0;
    std::vector<std::string> notes;
};

class TallyConfigCmdPacket : public ObjectInteractionPacket {
public:
    TallyConfigCmdPacket();
    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;
    std::string GetPacketDescription(bool flag) override;

    SmartObjectId parent;
    int amount = 0;
    std::string note;
    SmartObjectIdListNullable witnesses;
};

class TallyConfigCmd : public ActorConfigCommand {
public:
    TallyConfigCmd(unsigned int objectId, int amount, std::string note = {},
                   std::vector<std::uint32_t> witnesses = {});
    explicit TallyConfigCmd(const TallyConfigCmdPacket& packet);

    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    // A note that starts with "strike" makes the command a strike (held for the frame's order).
    bool IsStrike() const override { return note.starts_with("strike"); }

    int amount;
    std::string note;
    std::vector<std::uint32_t> witnesses;
};

// Makes an actor with the given id on the current machine.
void MakeActor(std::uint32_t id);

}  // namespace GAME::test
