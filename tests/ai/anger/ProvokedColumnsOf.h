#pragma once
// A list of provocations, built one at a time, as the columns the anger table takes.
#include <cstdint>
#include <vector>

#include "Game/ai/anger/AngerTable.h"

namespace GAME::test {

struct ProvokedColumnsOf {
    explicit ProvokedColumnsOf(const std::vector<AngerTable::Provoked>& list) {
        for (const AngerTable::Provoked& p : list) {
            ids.push_back(p.id);
            worldSlots.push_back(p.worldSlot);
            amounts.push_back(p.amount);
        }
    }
    operator AngerTable::ProvokedColumns() const {
        return {ids.data(), worldSlots.data(), amounts.data()};
    }

    std::vector<std::uint32_t> ids, worldSlots;
    std::vector<float> amounts;
};

}  // namespace GAME::test
