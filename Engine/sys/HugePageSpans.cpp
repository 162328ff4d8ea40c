#include "Engine/sys/HugePageSpans.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <new>

namespace GAME::HugePageSpans {

namespace {

struct Spans {
    std::mutex mutex;
    char* next = nullptr;
    char* end = nullptr;
    char* warm = nullptr;  // the span's pages below it were written
    // The span that follows, mapped ahead when a warming reached past the one in use.
    char* spare = nullptr;
    std::size_t spareBytes = 0;
    char* spareWarm = nullptr;
    std::size_t carved = 0;
};

Spans& TheSpans() {
    static Spans* spans = new Spans();  // never destroyed, as what it carved is not
    return *spans;
}

std::size_t RoundUp(std::size_t bytes, std::size_t to) {
    return (bytes + to - 1) / to * to;
}

// Maps `bytes` (whole pages) starting on a page boundary: a larger mapping, trimmed. Null when
// the system has no room.
char* MapAligned(std::size_t bytes) {
    const std::size_t mapped = bytes + kPageBytes;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    char* const from = static_cast<char*>(raw);
    char* const at =
        reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::uintptr_t>(from), kPageBytes));
    if (at > from)
        munmap(from, static_cast<std::size_t>(at - from));
    if (char* const tail = at + bytes; tail < from + mapped)
        munmap(tail, static_cast<std::size_t>(from + mapped - tail));
    // Only advice: without huge pages the span still serves, in small pages.
    madvise(at, bytes, MADV_HUGEPAGE);
    return at;
}

}  // namespace

void* Carve(std::size_t bytes) {
    bytes = RoundUp(bytes == 0 ? 1 : bytes, kAlignment);
    Spans& spans = TheSpans();
    std::lock_guard lock(spans.mutex);
    if (static_cast<std::size_t>(spans.end - spans.next) < bytes) {
        // What is left of the old span stays unused: never touched, it never becomes memory.
        if (spans.spare && spans.spareBytes >= bytes) {
            spans.next = spans.spare;
            spans.end = spans.spare + spans.spareBytes;
            spans.warm = spans.spareWarm;
            spans.spare = nullptr;
        } else {
            const std::size_t span = RoundUp(bytes > kSpanBytes ? bytes : kSpanBytes, kPageBytes);
            char* const at = MapAligned(span);
            if (!at) {
                spans.carved += bytes;
                return ::operator new (bytes, std::align_val_t{kAlignment});
            }
            spans.next = at;
            spans.end = at + span;
            spans.warm = at;
        }
    }
    void* const carved = spans.next;
    spans.next += bytes;
    spans.carved += bytes;
    return carved;
}

void Warm(std::size_t bytes) {
    // Small pages: the span may not get huge ones.
    constexpr std::size_t kSmallPage = 4096;
    Spans& spans = TheSpans();
    std::lock_guard lock(spans.mutex);
    const std::size_t room = static_cast<std::size_t>(spans.end - spans.next);
    char* const until = spans.next + (bytes < room ? bytes : room);
    // Only whole pages not carved yet (the page of `next` is in use): no one's, and the zero
    // written is what such a page holds anyway.
    char* const uncarved =
        reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::uintptr_t>(spans.next), kSmallPage));
    if (spans.warm < uncarved)
        spans.warm = uncarved;
    for (; spans.warm < until; spans.warm += kSmallPage)
        *static_cast<volatile char*>(spans.warm) = 0;
    if (bytes <= room)
        return;
    // The carving will go on into a span of its own: that one is mapped and written now.
    const std::size_t past = bytes - room;
    if (!spans.spare) {
        const std::size_t span = RoundUp(past > kSpanBytes ? past : kSpanBytes, kPageBytes);
        spans.spare = MapAligned(span);
        if (!spans.spare)
            return;
        spans.spareBytes = span;
        spans.spareWarm = spans.spare;
    }
    char* const spareUntil = spans.spare + (past < spans.spareBytes ? past : spans.spareBytes);
    for (; spans.spareWarm < spareUntil; spans.spareWarm += kSmallPage)
        *static_cast<volatile char*>(spans.spareWarm) = 0;
}

std::size_t CarvedBytes() {
    Spans& spans = TheSpans();
    std::lock_guard lock(spans.mutex);
    return spans.carved;
}

}  // namespace GAME::HugePageSpans
