#pragma once
// A configuration command: one change to one actor that every machine makes the same way. The
// sender builds it on the heap and hands it to Actor::Enqueue, which owns it from then on, sends
// its packet in a networked game and runs Execute on this machine; every other machine rebuilds
// the command from the packet (NetPacketRegistry) and runs Execute there. Commands are made and
// dropped every frame: their storage is recycled.
#include <cstdint>
#include <memory>

#include "Engine/sys/RecycledBlocks.h"

namespace GAME {

class NetPacket;

class ActorConfigCommand : public RecycledStorage {
public:
    explicit ActorConfigCommand(unsigned int objectId) : mObjectId(objectId) {}
    virtual ~ActorConfigCommand() = default;
    ActorConfigCommand(const ActorConfigCommand&) = default;
    ActorConfigCommand& operator=(const ActorConfigCommand&) = default;

    // Makes the change on this machine; does nothing when the actor is not here.
    virtual void Execute() = 0;
    // A new packet carrying the command (the caller owns it); null when it cannot travel.
    virtual std::unique_ptr<NetPacket> GetNetPacket() = 0;
    // On a server, after the gate has vouched for the actor: whether the values a client sent
    // (sourceHost) may run here and go on to the others. A refusal logs its own reason.
    virtual bool AcceptFromClient(int sourceHost) const {
        static_cast<void>(sourceHost);
        return true;
    }

    // A strike lands on other characters: in a network game every machine runs it with the
    // other strikes of its step, in one order (FrameStrikes).
    virtual bool IsStrike() const { return false; }

    // Runs Execute and notes, for Enqueue, that a command is running: every machine runs the
    // outer command, so a command enqueued from inside it is made on each machine and sent by none.
    void RunExecute();
    static bool IsExecuting();
    // A command that only one machine decides (the one that controls the actor) is sent even
    // from inside another command: the others run the outer command but do not decide this one.
    virtual bool DecidedByOneMachine() const { return false; }
    // A request the server decides (two machines may ask for one thing at once): a client only
    // sends it; the server runs it when it still can and sends it to every client, the asker
    // too, so every machine runs it once, in the server's order, or no machine does.
    virtual bool IsRequest() const { return false; }

    unsigned int GetObjectId() const { return mObjectId; }
    std::uint8_t GetFlag() const { return mFlag; }
    void SetFlag(std::uint8_t flag) { mFlag = flag; }

protected:
    unsigned int mObjectId;
    std::uint8_t mFlag = 0;
};

}  // namespace GAME
