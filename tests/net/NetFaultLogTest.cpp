#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

const std::vector<std::uint8_t> kUnknownType{0x12, 0, 1, 2};  // 18: an id no kind takes
const std::vector<std::uint8_t> kNoTypeId{7};

void ReceiveFrame(int host, const std::vector<std::uint8_t>& frame) {
    gEngine->GetNetworkConnectionManager()->HandleFrame(host, frame.data(), frame.size());
}

TEST(NetFaultLog, AFloodFromOneHostIsCountedWhileNewFaultsStillShow) {
    NetTestGame game(2);
    TestMachine& server = game.Server();
    ON_MACHINE(server) {
        for (int i = 0; i < 20000; ++i)
            ReceiveFrame(1, kUnknownType);
        // Another host, and another kind of fault of the same host, each get their first line.
        ReceiveFrame(2, kUnknownType);
        ReceiveFrame(1, kNoTypeId);
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetPacketsDropped(), 20002u);
    }
    EXPECT_EQ(server.CountLog("unknown type 18 (2 bytes) from host 1"),
              NetFaultLog::kLinesPerWindow);
    EXPECT_EQ(server.CountLog("unknown type 18 (2 bytes) from host 2"), 1);
    EXPECT_EQ(server.CountLog("from host 1: no type id"), 1);
    EXPECT_EQ(server.CountLog("not logged one by one"), 0);

    // Once the window is over the count is logged, and the next fault is logged again.
    game.RunFrames(static_cast<int>(NetFaultLog::kWindowMs / 1000), 1000);
    EXPECT_EQ(server.CountLog("Net: host 1 sent 19997 more packets of unknown types in 10000 ms"),
              1);
    EXPECT_EQ(server.CountLog("not logged one by one"), 1);
    ON_MACHINE(server) {
        ReceiveFrame(1, kUnknownType);
    }
    EXPECT_EQ(server.CountLog("unknown type 18 (2 bytes) from host 1"),
              NetFaultLog::kLinesPerWindow + 1);
    EXPECT_LT(server.Log().size(), 20u);
}

TEST(NetFaultLog, ClosingTheConnectionLogsWhatWasCounted) {
    NetTestGame game(1);
    ON_MACHINE(game.Server()) {
        for (int i = 0; i < 10; ++i)
            ReceiveFrame(1, kNoTypeId);
        gEngine->GetNetworkConnectionManager()->Shutdown();
    }
    EXPECT_EQ(game.Server().CountLog("Net: host 1 sent 7 more frames without a type id"), 1);
}

}  // namespace
}  // namespace GAME::test
