// Encode and decode throughput of packets, in packets per second: a typical configuration
// command (a skill's target result) and a list of item records.
#include <benchmark/benchmark.h>

#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/world/Region.h"

namespace GAME {
namespace {

// Shaped like a skill's target result: flags, actor, skill, seed, weapon, origin, hit, targets.
class TargetResultPacket : public ObjectInteractionPacket {
public:
    TargetResultPacket() : ObjectInteractionPacket(88), actor(this), targets(this) {}
    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        out.Write8(flags);
        out.Add(&actor);
        out.Add16Bit(&skill);
        out.Write16(seed);
        out.Write32(weapon);
        out.Add(&origin);
        out.Write8(hit);
        out.Add(&targets);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        in.Read8(flags);
        in.Remove(&actor);
        in.Remove16Bit(&skill);
        in.Read16(seed);
        in.Read32(weapon);
        in.Remove(&origin);
        in.Read8(hit);
        in.Remove(&targets);
    }
    std::uint8_t flags = 0x0B;
    SmartObjectId actor;
    unsigned int skill = 3;
    std::uint16_t seed = 0xBEEF;
    std::uint32_t weapon = 77;
    WorldCoords origin;
    std::uint8_t hit = 1;
    SmartObjectIdList targets;
};

class ItemListPacket : public NetPacket {
public:
    ItemListPacket() : NetPacket(32) {}
    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        out.Write32(static_cast<std::uint32_t>(items.size()));
        for (const NetItemRecord& item : items) {
            out.AddFileName(item.baseName);
            out.AddItemRecordPacked(item);
        }
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        std::uint32_t count = 0;
        if (!in.RemoveCount(count, 9))
            return;
        items.resize(count);
        for (NetItemRecord& item : items) {
            in.Remove(&item.baseName);
            in.RemoveItemRecordPacked(&item);
        }
    }
    std::vector<NetItemRecord> items;
};

template <class Packet>
void Encode(benchmark::State& state, Packet& packet) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(packet.PrepareOutBuffer());
        benchmark::DoNotOptimize(packet.GetOutBuffer());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["bytes"] = packet.GetOutBufferSize();
}

template <class Packet>
void Decode(benchmark::State& state, Packet& source) {
    source.PrepareOutBuffer();
    const auto* body = reinterpret_cast<const unsigned char*>(source.GetOutBuffer());
    const int size = static_cast<int>(source.GetOutBufferSize());
    for (auto _ : state) {
        Packet packet;
        packet.CopyInbound(body, size);
        benchmark::DoNotOptimize(packet.IsInboundValid());
    }
    state.SetItemsProcessed(state.iterations());
}

Region gRegion("Region01");

TargetResultPacket MakeTargetResult() {
    TargetResultPacket packet;
    packet.actor = 0x10000012;
    packet.origin = WorldCoords(&gRegion, Coords());
    packet.targets = std::vector<std::uint32_t>{101, 102, 103, 104};
    return packet;
}

ItemListPacket MakeItemList() {
    ItemListPacket packet;
    for (std::uint32_t i = 0; i < 20; ++i)
        packet.items.push_back({1000 + i, "Records/Items/Weapons/Sword01.dbr",
                                i % 2 ? "Records/Items/Prefix/Sharp.dbr" : "",
                                i % 3 ? "Records/Items/Suffix/OfBears.dbr" : "", "", "", 1234 + i,
                                i % 4});
    return packet;
}

void BM_CommandPacketEncode(benchmark::State& state) {
    TargetResultPacket packet = MakeTargetResult();
    Encode(state, packet);
}
void BM_CommandPacketDecode(benchmark::State& state) {
    TargetResultPacket packet = MakeTargetResult();
    Decode(state, packet);
}
void BM_ItemRecordListEncode(benchmark::State& state) {
    ItemListPacket packet = MakeItemList();
    Encode(state, packet);
}
void BM_ItemRecordListDecode(benchmark::State& state) {
    ItemListPacket packet = MakeItemList();
    Decode(state, packet);
}

BENCHMARK(BM_CommandPacketEncode);
BENCHMARK(BM_CommandPacketDecode);
BENCHMARK(BM_ItemRecordListEncode);
BENCHMARK(BM_ItemRecordListDecode);

}  // namespace
}  // namespace GAME

BENCHMARK_MAIN();
