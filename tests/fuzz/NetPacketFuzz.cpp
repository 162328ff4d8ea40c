// Feeds random bodies to every registered packet kind. The first two bytes pick the kind, the
// rest is the body. Each body goes the whole receiving road (read, check, run); a body that reads
// cleanly must also survive its own re-encoding unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/net/fields/NetPacketDescriber.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/Region.h"

namespace GAME {
namespace {

// A command kind that uses every field form, so the fuzzer reaches them all.
class FuzzConfigCmdPacket : public ObjectInteractionPacket {
public:
    FuzzConfigCmdPacket()
        : ObjectInteractionPacket(201), parent(this), other(this), list(this), maybeList(this) {}

    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        out.Add(&parent);
        out.Add(&other);
        out.Add(&flag);
        out.Add16Bit(&skill);
        out.Add16Bit(&signedSkill);
        out.Write16(seed);
        out.Write32(number);
        out.Add(&point);
        out.Add(&coords);
        out.AddFileName(file);
        out.AddRaw(raw);
        out.Add(wide);
        out.Add(&list);
        out.Add(&maybeList);
        out.AddWorldVec3List(points);
        out.AddItemRecordFull(full);
        out.AddFileName(packed.baseName);
        out.AddItemRecordPacked(packed);
        out.Write12Bytes(image);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        in.Remove(&parent);
        in.Remove(&other);
        in.Remove(&flag);
        in.Remove16Bit(&skill);
        in.Remove16Bit(&signedSkill);
        in.Read16(seed);
        in.Read32(number);
        in.Remove(&point);
        in.Remove(&coords);
        in.Remove(&file);
        in.RemoveRaw(&raw);
        in.Remove(&wide);
        in.Remove(&list);
        in.Remove(&maybeList);
        points.clear();
        in.RemoveWorldVec3List(&points);
        in.RemoveItemRecordFull(&full);
        in.Remove(&packed.baseName);
        in.RemoveItemRecordPacked(&packed);
        in.Read12Bytes(image);
    }
    std::string GetPacketDescription(bool flag_) override {
        NetPacketDescriber d(this, flag_);
        d.Describe("Parent ID: ", parent, 0);
        d.Describe("Other: ", other.GetId(), 0);
        d.Describe("Flag: ", flag, 0);
        d.Describe("Number: ", number, 0);
        d.Describe("Point: ", point, 0);
        d.Describe("Coords: ", coords, 0);
        d.Describe("File: ", file, 0);
        d.Describe("Wide: ", wide, 0);
        d.Heading("Target IDs:", 0);
        for (std::size_t i = 0; i < list.Size(); ++i)
            d.Describe(("Target " + std::to_string(i) + ": ").c_str(), list.GetIds()[i], 1);
        return d.GetDescription();
    }

    SmartObjectId parent;
    SmartObjectIdNullable other;
    bool flag = false;
    unsigned int skill = 0;
    int signedSkill = 0;
    std::uint16_t seed = 0;
    float number = 0;
    WorldVec3 point;
    WorldCoords coords;
    std::string file, raw;
    std::wstring wide;
    SmartObjectIdList list;
    SmartObjectIdListNullable maybeList;
    std::vector<WorldVec3> points;
    NetItemRecord full, packed;
    std::uint8_t image[12] = {};
};

class FuzzConfigCmd : public ActorConfigCommand {
public:
    explicit FuzzConfigCmd(const FuzzConfigCmdPacket& packet)
        : ActorConfigCommand(packet.parent.GetId()), packet_(packet) {}
    void Execute() override {
        if (Actor* actor = Singleton<ObjectManager>::Get().GetObject<Actor>(GetObjectId()))
            actor->SetVisibility(packet_.flag);
    }
    std::unique_ptr<NetPacket> GetNetPacket() override {
        return std::make_unique<FuzzConfigCmdPacket>(packet_);
    }

private:
    FuzzConfigCmdPacket packet_;
};

REGISTER_CONFIG_COMMAND(FuzzConfigCmd, FuzzConfigCmdPacket);

std::vector<PACKET_TYPE> gTypes;
Region gRegion("R");

std::vector<std::uint8_t> Encode(NetPacket& packet) {
    const unsigned int size = packet.PrepareOutBuffer();
    if (size != packet.GetOutBufferSize())
        std::abort();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

}  // namespace
}  // namespace GAME

using namespace GAME;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    for (const auto& [type, kind] : NetPacketRegistry::Global().Kinds())
        gTypes.push_back(type);
    for (std::uint32_t id = 1; id <= 4; ++id)
        Singleton<ObjectManager>::Get().CreateObject<Actor>(id);
    Singleton<NetRegionTable>::Get().Add(&gRegion);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || gTypes.empty())
        return 0;
    const PACKET_TYPE type = gTypes[(data[0] | (data[1] << 8)) % gTypes.size()];
    const std::uint8_t* body = data + 2;
    const std::size_t bodySize = size - 2;
    const NetPacketRegistry& registry = NetPacketRegistry::Global();

    // The receiving road of a connection manager.
    std::vector<std::uint8_t> frame{static_cast<std::uint8_t>(type & 0xFF),
                                    static_cast<std::uint8_t>(type >> 8)};
    frame.insert(frame.end(), body, body + bodySize);
    gEngine->GetNetworkConnectionManager()->HandleFrame(1, frame.data(), frame.size());

    // A well-formed body re-encodes to bytes that read back to the same encoding.
    std::unique_ptr<NetPacket> first = registry.Create(type);
    first->CopyInbound(body, static_cast<int>(bodySize));
    if (!first->IsInboundValid())
        return 0;
    (void)first->GetPacketDescription(true);
    const std::vector<std::uint8_t> once = Encode(*first);
    std::unique_ptr<NetPacket> second = registry.Create(type);
    second->CopyInbound(once.data(), static_cast<int>(once.size()));
    if (!second->IsInboundValid() || Encode(*second) != once)
        std::abort();
    return 0;
}
