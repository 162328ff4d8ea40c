#include "Host/play/ClickSource.h"

#include <string>

#include "Engine/Engine.h"
#include "Engine/world/World.h"
#include "Host/play/PlayerClicks.h"
#include "Host/play/drivers/CampaignDriver.h"
#include "Host/play/drivers/SkillDriver.h"

namespace GAME {

ClickSource::ClickSource(std::filesystem::path inputFile, std::filesystem::path recordFile)
    : mInputFile(std::move(inputFile)), mRecordFile(std::move(recordFile)) {}

ClickSource::~ClickSource() = default;

bool ClickSource::Open() {
    std::string error;
    if (!mInputFile.empty() && !ReadClickList(mInputFile, mReplay, error)) {
        std::fprintf(stderr, "gamehost: %s\n", error.c_str());
        return false;
    }
    if (!mRecordFile.empty()) {
        mRecorder = std::make_unique<ClickRecorder>(mRecordFile);
        if (!mRecorder->Open(error)) {
            std::fprintf(stderr, "gamehost: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}

bool ClickSource::CheckRegions() const {
    for (const HostClick& click : mReplay)
        if (!World::Get().GetRegion(click.region)) {
            std::fprintf(stderr, "gamehost: %s:%d: the level has no region \"%s\"\n",
                         mInputFile.string().c_str(), click.line, click.region.c_str());
            return false;
        }
    return true;
}

void ClickSource::Give(Player& player, const HostClick& click) {
    ++mClicksGiven;
    if (mRecorder)
        mRecorder->Add(click);
    if (DeliverClick(player, click))
        ++mClicksDelivered;
}

void ClickSource::ClickFor(Player& player, int frame) {
    const std::uint64_t now = gEngine->GetGameTime();
    std::optional<HostClick> click;
    if (mCampaign)
        click = mCampaign->Next(player, frame, now);
    if (!mInputFile.empty()) {
        while (mNextReplay < mReplay.size() && mReplay[mNextReplay].frame <= frame)
            Give(player, mReplay[mNextReplay++]);
        return;
    }
    if (!mCampaign && !SkillDriver::IsCasting(player))
        click = mDriver.Next(player, frame, now);
    if (click)
        Give(player, *click);
}

bool ClickSource::Commit(std::FILE* out) {
    if (!mRecorder)
        return true;
    if (std::string error; !mRecorder->Commit(error)) {
        std::fprintf(stderr, "gamehost: %s\n", error.c_str());
        return false;
    }
    std::fprintf(out, "gamehost: clicks written to %s\n", mRecordFile.string().c_str());
    return true;
}

}  // namespace GAME
