#pragma once
// Where a run's clicks come from: the scripted driver, or a recorded list replayed frame by
// frame; each click given is also written to the record file when one was asked for.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "Host/play/ClickList.h"
#include "Host/play/HostClick.h"
#include "Host/play/drivers/ClickDriver.h"

namespace GAME {

class CampaignDriver;
class Player;

class ClickSource {
public:
    // Either may be empty: no list to replay (the driver clicks), no record to write.
    ClickSource(std::filesystem::path inputFile, std::filesystem::path recordFile);
    ~ClickSource();
    ClickSource(const ClickSource&) = delete;
    ClickSource& operator=(const ClickSource&) = delete;

    // Reads the list and opens the record; false with the reason on stderr.
    bool Open();
    // Once the level is loaded: every replayed click names one of its regions.
    bool CheckRegions() const;
    // The campaign leads instead of the reactive driver; when replaying, it still does its window
    // work (its clicks come from the list).
    void SetCampaign(CampaignDriver* campaign) { mCampaign = campaign; }
    // Hands the player the clicks of this frame.
    void ClickFor(Player& player, int frame);
    // Renames the record into place; false with the reason on stderr.
    bool Commit(std::FILE* out);

    int GetClicksGiven() const { return mClicksGiven; }
    int GetClicksDelivered() const { return mClicksDelivered; }

private:
    void Give(Player& player, const HostClick& click);

    std::filesystem::path mInputFile;
    std::filesystem::path mRecordFile;
    std::vector<HostClick> mReplay;
    std::size_t mNextReplay = 0;
    ClickDriver mDriver;
    CampaignDriver* mCampaign = nullptr;
    std::unique_ptr<ClickRecorder> mRecorder;
    int mClicksGiven = 0;
    int mClicksDelivered = 0;
};

}  // namespace GAME
