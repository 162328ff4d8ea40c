// Where a controller's block of states comes from: recycled blocks where their alignment is
// enough, the heap otherwise, and each given back the way it was taken.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/ai/controllers/ControllerAIStateNames.h"

namespace GAME::test {
namespace {

ControllerAIState* NeverMade(void*, ControllerAI&) {
    return nullptr;
}

TEST(ControllerStateBlock, IsAlignedAndGivenBackToTheListItCameFrom) {
    struct Row {
        std::size_t size;
        std::size_t align;
        bool recycled;
    };
    const Row rows[] = {
        {40, 8, true}, {40, 32, false}, {1400, 16, true}, {1400, 64, true}, {1400, 128, false},
    };
    const RecyclingScope recycling(true);
    for (const Row& row : rows) {
        ControllerAIStateNames states;
        ControllerAIStateNames temporary;
        states.Record(0, ControllerAIStateKind{row.size, row.align, &NeverMade});
        states.Seal();
        temporary.Seal();
        // Blocks taken one after another: any that a list of too little alignment gave shows.
        std::vector<ControllerAIStateSet::Block> blocks;
        for (int i = 0; i < 4; ++i) {
            blocks.push_back(ControllerAIStateSet::Reserve(temporary, states));
            ASSERT_NE(blocks.back(), nullptr) << row.size;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(blocks.back().get()) % row.align, 0u)
                << row.size << " aligned " << row.align;
        }
        const std::size_t bytes = states.GetBlockSize();
        std::byte* last = blocks.back().get();
        blocks.pop_back();
        // A recycled block returns to its size's list, so the next take of that size is it.
        void* next = RecycledBlocks::Take(bytes);
        EXPECT_EQ(next == last, row.recycled) << row.size << " aligned " << row.align;
        RecycledBlocks::Give(next, bytes);
    }
}

}  // namespace
}  // namespace GAME::test
