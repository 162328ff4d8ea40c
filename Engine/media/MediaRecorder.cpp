#include "Engine/media/MediaRecorder.h"

#include <algorithm>

#include "Engine/sys/Machine.h"

namespace GAME {

const char* GetMediaCallName(MediaCall call) {
    switch (call) {
#define ENGINE_MEDIA_CALL_NAME(name) \
    case MediaCall::name:            \
        return #name;
        ENGINE_MEDIA_CALLS(ENGINE_MEDIA_CALL_NAME)
#undef ENGINE_MEDIA_CALL_NAME
        case MediaCall::Count:
            break;
    }
    return "";
}

MediaRecorder& MediaRecorder::Get() {
    return Singleton<MediaRecorder>::Get();
}

void MediaRecorder::Record(MediaCall call, std::uint32_t objectId, std::string_view text, float v0,
                           float v1, float v2, float v3) {
    if (call >= MediaCall::Count)
        return;
    MediaRecord& record = mRing[mNext];
    record.call = call;
    record.objectId = objectId;
    record.values[0] = v0;
    record.values[1] = v1;
    record.values[2] = v2;
    record.values[3] = v3;
    const std::size_t length = std::min(text.size(), sizeof record.text - 1);
    std::copy_n(text.data(), length, record.text);
    record.text[length] = '\0';
    mNext = (mNext + 1) % kRingSize;
    mStored = std::min(mStored + 1, kRingSize);
    ++mCounts[static_cast<std::size_t>(call)];
    if (mListener)
        mListener(mListenerContext, record);
}

const MediaRecord* MediaRecorder::Last(MediaCall call) const {
    for (std::size_t i = 1; i <= mStored; ++i) {
        const MediaRecord& record = mRing[(mNext + kRingSize - i) % kRingSize];
        if (record.call == call)
            return &record;
    }
    return nullptr;
}

const MediaRecord* MediaRecorder::Last(MediaCall call, std::uint32_t objectId) const {
    for (std::size_t i = 1; i <= mStored; ++i) {
        const MediaRecord& record = mRing[(mNext + kRingSize - i) % kRingSize];
        if (record.call == call && record.objectId == objectId)
            return &record;
    }
    return nullptr;
}

void MediaRecorder::Clear() {
    mRing.fill(MediaRecord{});
    mNext = 0;
    mStored = 0;
    mCounts.fill(0);
}

}  // namespace GAME
