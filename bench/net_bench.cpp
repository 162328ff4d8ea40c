// Encode and decode throughput of packets, in packets per second: a typical configuration
// command (a skill's target result) and a list of item records. Then the command's encode and
// decode pair side by side with a flat codec writing the same bytes (memcpy into a fixed array),
// and the heap allocations a pair makes (the goal is none).
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "BenchCompare.h"
#include "CountedAllocations.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/sys/Machine.h"
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
    // The receiver knows the region, so decoding resolves its name as a game does.
    Singleton<NetRegionTable>::Get().Add(&gRegion);
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

// The yardstick: the command's fields as plain members, written and read with one memcpy each
// and no checks beyond the body's size.
struct FlatCommand {
    std::uint8_t flags = 0x0B;
    std::uint32_t actor = 0x10000012;
    std::uint16_t skill = 3;
    std::uint16_t seed = 0xBEEF;
    std::uint32_t weapon = 77;
    char region[8] = {'R', 'e', 'g', 'i', 'o', 'n', '0', '1'};
    float coords[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    std::uint8_t hit = 1;
    std::uint32_t targets[4] = {101, 102, 103, 104};

    std::size_t Write(unsigned char* out) const {
        unsigned char* at = out;
        auto put = [&at](const void* p, std::size_t n) {
            std::memcpy(at, p, n);
            at += n;
        };
        const std::uint16_t regionSize = sizeof region;
        const std::uint32_t count = 4;
        put(&flags, 1), put(&actor, 4), put(&skill, 2), put(&seed, 2), put(&weapon, 4);
        put(&regionSize, 2), put(region, sizeof region), put(coords, sizeof coords);
        put(&hit, 1), put(&count, 4), put(targets, sizeof targets);
        return static_cast<std::size_t>(at - out);
    }
    bool Read(const unsigned char* in, std::size_t size) {
        if (size != 92)
            return false;
        auto get = [&in](void* p, std::size_t n) {
            std::memcpy(p, in, n);
            in += n;
        };
        std::uint16_t regionSize;
        std::uint32_t count;
        get(&flags, 1), get(&actor, 4), get(&skill, 2), get(&seed, 2), get(&weapon, 4);
        get(&regionSize, 2), get(region, sizeof region), get(coords, sizeof coords);
        get(&hit, 1), get(&count, 4), get(targets, sizeof targets);
        return regionSize == sizeof region && count == 4;
    }
};

int RunGoals() {
    TargetResultPacket source = MakeTargetResult();
    source.PrepareOutBuffer();
    FlatCommand flat;
    std::array<unsigned char, 128> flatBytes{};
    const std::size_t flatSize = flat.Write(flatBytes.data());
    // Both sides must write the same body, or the comparison means nothing.
    if (flatSize != source.GetOutBufferSize() ||
        std::memcmp(flatBytes.data(), source.GetOutBuffer(), flatSize) != 0) {
        std::printf("net_bench: the flat codec and the packet write different bodies\n");
        return 1;
    }
    // The packet must read back what it wrote, region included.
    {
        TargetResultPacket back;
        back.CopyInbound(reinterpret_cast<const unsigned char*>(source.GetOutBuffer()),
                         static_cast<int>(source.GetOutBufferSize()));
        if (!back.IsInboundValid() || back.flags != source.flags || !(back.actor == source.actor) ||
            back.skill != source.skill || back.seed != source.seed ||
            back.weapon != source.weapon || !(back.origin == source.origin) ||
            back.hit != source.hit || !(back.targets == source.targets)) {
            std::printf("net_bench: the packet does not read back what it wrote\n");
            return 1;
        }
    }
    bool decoded = true;
    auto packetPair = [&] {
        source.PrepareOutBuffer();
        TargetResultPacket packet;  // the receiver makes a packet per body
        packet.CopyInbound(reinterpret_cast<const unsigned char*>(source.GetOutBuffer()),
                           static_cast<int>(source.GetOutBufferSize()));
        decoded &= packet.IsInboundValid();
        benchmark::DoNotOptimize(packet);
    };
    auto flatPair = [&] {
        const std::size_t size = flat.Write(flatBytes.data());
        benchmark::DoNotOptimize(flatBytes);
        FlatCommand read;
        decoded &= read.Read(flatBytes.data(), size);
        benchmark::DoNotOptimize(read);
    };
    packetPair();  // the out buffer reaches its size
    const long allocationsBefore = gAllocations.load();
    constexpr int kCountedPairs = 1000;
    for (int i = 0; i < kCountedPairs; ++i)
        packetPair();
    const double allocationsPerPair =
        static_cast<double>(gAllocations.load() - allocationsBefore) / kCountedPairs;
    const bench::SideBySide t = bench::Alternate(packetPair, flatPair);
    if (!decoded) {
        std::printf("net_bench: a body did not read back\n");
        return 1;
    }
    const double pairsPerSecond = 1e9 / t.first;
    std::printf(
        "command encode+decode: %.1f ns per pair (%.2f M pairs/s, %.2f allocations); flat "
        "codec %.1f ns (packet/flat %.2fx)\n",
        t.first, pairsPerSecond / 1e6, allocationsPerPair, t.second, t.first / t.second);
    bench::PrintGoal("command packet encode + decode",
                     bench::Format("%.1f M pairs/s", pairsPerSecond / 1e6) +
                         bench::Format(" (%.1fx the flat codec's time", t.first / t.second) +
                         bench::Format(", %.2f allocations per pair)", allocationsPerPair),
                     ">= 10 M pairs/s, no allocation",
                     pairsPerSecond >= 10e6 && allocationsPerPair == 0.0);
    return 0;
}

}  // namespace
}  // namespace GAME

int main(int argc, char** argv) {
    std::vector<char*> args = bench::ColourArgs(argc, argv);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return GAME::RunGoals();
}
