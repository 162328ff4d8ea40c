#pragma once
// Where a benchmark's counted allocations come from: while recording, every allocation's call
// stack is kept (in fixed tables: recording allocates nothing itself), and PrintAllocationStacks
// ranks them. Set GAME_BENCH_ALLOC_STACKS=<n> for a benchmark that records to print its n most
// frequent stacks. Each frame is "module+offset function"; `addr2line -f -i -C -e module offset`
// gives the inlined calls of a build with line tables.
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct AllocationStacks {
    static constexpr int kDepth = 20;
    static constexpr int kSkip = 2;  // the recorder and operator new
    static constexpr std::size_t kStacks = 8192;
    struct Stack {
        std::uint64_t hash = 0;
        long count = 0;
        int depth = 0;
        void* frames[kDepth];
    };
    Stack stacks[kStacks];
    long dropped = 0;  // allocations whose stack found no room
    bool recording = false;
};
AllocationStacks gAllocationStacks;
thread_local bool tInRecorder = false;

__attribute__((noinline)) void RecordAllocationStack() {
    if (tInRecorder)
        return;
    tInRecorder = true;
    void* frames[AllocationStacks::kDepth + AllocationStacks::kSkip];
    const int taken = backtrace(frames, AllocationStacks::kDepth + AllocationStacks::kSkip);
    const int depth = std::max(0, taken - AllocationStacks::kSkip);
    void** kept = frames + AllocationStacks::kSkip;
    std::uint64_t hash = 1469598103934665603ull;
    for (int i = 0; i < depth; ++i)
        hash = (hash ^ reinterpret_cast<std::uintptr_t>(kept[i])) * 1099511628211ull;
    hash |= 1;  // 0 marks a free entry
    for (std::size_t probe = 0; probe < AllocationStacks::kStacks; ++probe) {
        AllocationStacks::Stack& stack =
            gAllocationStacks.stacks[(hash + probe) % AllocationStacks::kStacks];
        if (stack.hash == 0) {
            stack.hash = hash;
            stack.depth = depth;
            std::memcpy(stack.frames, kept, sizeof(void*) * static_cast<std::size_t>(depth));
        }
        if (stack.hash == hash && stack.depth == depth &&
            std::memcmp(stack.frames, kept, sizeof(void*) * static_cast<std::size_t>(depth)) == 0) {
            ++stack.count;
            tInRecorder = false;
            return;
        }
    }
    ++gAllocationStacks.dropped;
    tInRecorder = false;
}

// Records while the benchmark's span runs when GAME_BENCH_ALLOC_STACKS is set.
[[maybe_unused]] void RecordAllocationStacks(bool on) {
    const char* asked = std::getenv("GAME_BENCH_ALLOC_STACKS");
    if (!asked || std::atoi(asked) <= 0)
        return;
    if (on) {
        void* warm[1];
        backtrace(warm, 1);  // the unwinder loads on first use
    }
    gAllocationStacks.recording = on;
}

// Prints the most frequent stacks, counts divided by `per` (e.g. the frames recorded).
[[maybe_unused]] void PrintAllocationStacks(double per) {
    const char* asked = std::getenv("GAME_BENCH_ALLOC_STACKS");
    const int top = asked ? std::atoi(asked) : 0;
    if (top <= 0)
        return;
    gAllocationStacks.recording = false;
    static AllocationStacks::Stack* order[AllocationStacks::kStacks];
    std::size_t used = 0;
    for (AllocationStacks::Stack& stack : gAllocationStacks.stacks)
        if (stack.hash != 0)
            order[used++] = &stack;
    std::sort(order, order + used,
              [](const AllocationStacks::Stack* a, const AllocationStacks::Stack* b) {
                  return a->count > b->count;
              });
    std::printf("allocation stacks: %zu distinct, %ld not kept\n", used, gAllocationStacks.dropped);
    for (std::size_t i = 0; i < used && i < static_cast<std::size_t>(top); ++i) {
        const AllocationStacks::Stack& stack = *order[i];
        std::printf("#%zu  %.1f per frame\n", i + 1, static_cast<double>(stack.count) / per);
        for (int f = 0; f < stack.depth; ++f) {
            Dl_info info{};
            // A return address: the call itself is one byte before it.
            const auto pc = reinterpret_cast<std::uintptr_t>(stack.frames[f]) - 1;
            if (!dladdr(reinterpret_cast<void*>(pc), &info) || !info.dli_fname) {
                std::printf("    ?\n");
                continue;
            }
            int status = 0;
            char* name = info.dli_sname
                             ? abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status)
                             : nullptr;
            const char* module = std::strrchr(info.dli_fname, '/');
            std::printf(
                "    %s+0x%zx %s\n", module ? module + 1 : info.dli_fname,
                static_cast<std::size_t>(pc - reinterpret_cast<std::uintptr_t>(info.dli_fbase)),
                name ? name : (info.dli_sname ? info.dli_sname : "?"));
            std::free(name);
        }
    }
}

}  // namespace
