#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "Engine/net/NetPacketRegistry.h"
#include "PacketCorpus.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// One line per kind: its id, name and the digest of its corpus. A change to a kind's bytes,
// description or refusals changes its line; after an intended change rerun with
// GAME_UPDATE_GOLDEN=1 and review which kinds moved (that also pins kinds added since).
TEST(PacketDigests, EveryPinnedKindWritesReadsAndDescribesAsBefore) {
    TestMachine tm;
    std::map<std::string, std::string> actual;  // by "id name"
    std::ostringstream lines;
    for (const auto& [type, kind] : NetPacketRegistry::Global().Kinds()) {
        if (type != PacketType::ChatPacket && !GetGamePacketKindName(type))
            continue;  // kinds of the tests themselves
        std::ostringstream digest;
        digest << std::hex << PacketCorpusDigest().Of(type, 2000);
        const std::string key = std::to_string(type) + ' ' + kind.name;
        actual[key] = digest.str();
        lines << key << ' ' << digest.str() << '\n';
    }

    const std::string golden = TestMachine::TestDataDir() + "/Packets/KindDigests.txt";
    if (std::getenv("GAME_UPDATE_GOLDEN")) {
        std::ofstream(golden) << lines.str();
        GTEST_SKIP() << "golden file written";
    }
    std::ifstream file(golden);
    ASSERT_TRUE(file.good()) << golden;
    std::string id, name, expected;
    int pinned = 0;
    while (file >> id >> name >> expected) {
        ++pinned;
        const auto found = actual.find(id + ' ' + name);
        ASSERT_NE(found, actual.end()) << name << " is no longer registered under " << id;
        EXPECT_EQ(found->second, expected) << name << " changed";
    }
    EXPECT_GT(pinned, 60);
}

}  // namespace
}  // namespace GAME::test
