#pragma once
// What the two halves of a market agree on: the status of a stock entry and how a request names
// what it is about. A stock index below kMarketMaxEntries is the merchant's random stock; the
// static goods (potions and the like) and the player's own items travel in the same index field,
// tagged, so that every request and answer keeps its packet.
#include <cstdint>

namespace GAME {

// As the packets carry it (the network interface declares the same alias).
using MarketItemStatus = int;
inline constexpr MarketItemStatus MarketItemStatus_Unknown = 0;
inline constexpr MarketItemStatus MarketItemStatus_Available = 1;
// This machine asked and waits for the server (a client's own state).
inline constexpr MarketItemStatus MarketItemStatus_PurchaseRequested = 2;
inline constexpr MarketItemStatus MarketItemStatus_Sold = 3;

inline constexpr std::uint32_t kMarketMaxEntries = 600;
// Static stock entry i: kMarketStaticIndex | i.
inline constexpr std::uint32_t kMarketStaticIndex = 0x40000000u;
// An item by object id: a player's item offered for sale, or one he sold here and buys back.
inline constexpr std::uint32_t kMarketItemIndex = 0x80000000u;
inline constexpr std::uint32_t kMarketIndexValue = 0x3FFFFFFFu;

constexpr bool IsRandomStockIndex(std::uint32_t index) {
    return index < kMarketMaxEntries;
}
constexpr bool IsStaticStockIndex(std::uint32_t index) {
    return (index & ~kMarketIndexValue) == kMarketStaticIndex;
}
constexpr bool IsMarketItemIndex(std::uint32_t index) {
    return (index & ~kMarketIndexValue) == kMarketItemIndex;
}
constexpr std::uint32_t MarketIndexValue(std::uint32_t index) {
    return index & kMarketIndexValue;
}

}  // namespace GAME
