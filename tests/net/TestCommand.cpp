#include "TestCommand.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/net/fields/NetPacketDescriber.h"
#include "Engine/object/ObjectManager.h"

namespace GAME::test {

TallyConfigCmdPacket::TallyConfigCmdPacket()
    : ObjectInteractionPacket(kTallyPacketType), parent(this), witnesses(this) {}

unsigned int TallyConfigCmdPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Add(&parent);
    out.Write32(static_cast<std::int32_t>(amount));
    out.AddFileName(note);
    out.Add(&witnesses);
    return out.Done();
}

void TallyConfigCmdPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Remove(&parent);
    in.Read32(amount);
    in.Remove(&note);
    in.Remove(&witnesses);
}

std::string TallyConfigCmdPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber describer(this, flag);
    describer.Describe("Parent ID: ", parent, 0);
    describer.Describe("Amount: ", amount, 0);
    describer.Describe("Note: ", note, 0);
    describer.Heading("Witness IDs:", 0);
    for (std::size_t i = 0; i < witnesses.Size(); ++i)
        describer.Describe(("Target " + std::to_string(i) + ": ").c_str(), witnesses.GetIds()[i],
                           1);
    return describer.GetDescription();
}

TallyConfigCmd::TallyConfigCmd(unsigned int objectId, int amount_, std::string note_,
                               std::vector<std::uint32_t> witnesses_)
    : ActorConfigCommand(objectId),
      amount(amount_),
      note(std::move(note_)),
      witnesses(std::move(witnesses_)) {
    SetFlag(1);
}

TallyConfigCmd::TallyConfigCmd(const TallyConfigCmdPacket& packet)
    : TallyConfigCmd(packet.parent.GetId(), packet.amount, packet.note, packet.witnesses.GetIds()) {
}

void TallyConfigCmd::Execute() {
    if (!Singleton<ObjectManager>::Get().GetObject<Actor>(GetObjectId()))
        return;
    TallyBook& book = Singleton<TallyBook>::Get();
    book.totals[GetObjectId()] += amount;
    ++book.executions;
    book.notes.push_back(note);
    // "nest": the command enqueues a follow-up command while it runs.
    if (note == "nest")
        Singleton<ObjectManager>::Get()
            .GetObject<Actor>(GetObjectId())
            ->Enqueue(std::make_unique<TallyConfigCmd>(GetObjectId(), 100));
    // A command may change its own fields while it runs; the packet was taken before.
    amount = 0;
}

std::unique_ptr<NetPacket> TallyConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<TallyConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->amount = amount;
    packet->note = note;
    packet->witnesses = witnesses;
    return packet;
}

void MakeActor(std::uint32_t id) {
    Singleton<ObjectManager>::Get().CreateObject<Actor>(id);
}

REGISTER_CONFIG_COMMAND(TallyConfigCmd, TallyConfigCmdPacket);

}  // namespace GAME::test
