#include "Game/rules/duration/DurationDamageEntry.h"

#include <algorithm>

namespace GAME {

void DurationDamageEntry::AddPerTick(const DurationDamageInfo& info, float perTick) {
    const int ticks = static_cast<int>(info.duration * 10.0f);
    if (ticks <= 0)
        return;
    const auto count = static_cast<std::size_t>(ticks);
    if (mPending.size() < count)
        mPending.resize(count, 0.0f);
    for (std::size_t i = 0; i < count; ++i)
        mPending[i] += perTick;
}

float DurationDamageEntry::GetDamage() const {
    const std::size_t due = std::min(mActive.size(), static_cast<std::size_t>(mDueTicks));
    float sum = 0.0f;
    for (std::size_t i = 0; i < due; ++i)
        sum += mActive[i];
    return sum;
}

void DurationDamageEntry::MergePending() {
    if (mActive.empty()) {
        mActive = mPending;
    } else {
        if (mActive.size() < mPending.size())
            mActive.resize(mPending.size(), 0.0f);
        for (std::size_t i = 0; i < mPending.size(); ++i)
            mActive[i] = std::max(mActive[i], mPending[i]);
    }
    mPending.clear();
}

void DurationDamageEntry::AdvanceClock(int ms) {
    const int clock = mTickClock + ms;
    // A tick comes due only once more than a whole tick has gathered.
    if (clock <= kTickMs) {
        mDueTicks = 0;
        mTickClock = clock;
    } else {
        mDueTicks = clock / kTickMs;
        mTickClock = clock % kTickMs;
    }
}

bool DurationDamageEntry::ConsumeDueTicks() {
    const std::size_t due = std::min(mActive.size(), static_cast<std::size_t>(mDueTicks));
    mActive.erase(mActive.begin(), mActive.begin() + static_cast<std::ptrdiff_t>(due));
    return mActive.empty();
}

void DurationDamageEntry::ReplaceRuns(const std::vector<DurationDamageInfo>& runs) {
    mActive.clear();
    for (const DurationDamageInfo& run : runs) {
        const int length = static_cast<int>(run.duration);
        if (length > 0)
            mActive.insert(mActive.end(), static_cast<std::size_t>(length), run.damage);
    }
}

void DurationDamageEntry::EncodeRuns(std::vector<DurationDamageInfo>& runs) const {
    std::size_t i = 0;
    while (i < mActive.size()) {
        const float value = mActive[i];
        std::size_t end = i + 1;
        while (end < mActive.size() && mActive[end] == value)
            ++end;
        // Zero runs are kept: they hold the later ticks in their place on the replica.
        runs.push_back({value, static_cast<float>(end - i)});
        i = end;
    }
}

}  // namespace GAME
