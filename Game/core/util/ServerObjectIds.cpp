#include "Game/core/util/ServerObjectIds.h"

#include <iterator>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {
struct Band {
    std::uint32_t first, end;  // players' ids start at 0x0F000001; skill spawns below 0x0D000000
};
constexpr Band kBands[] = {{0x0E000000, 0x0F000000},
                           {0x0D000000, 0x0E000000},
                           {0x0B000000, 0x0C000000},
                           {0x0A000000, 0x0B000000}};

struct NextServerIds {
    std::uint32_t next[std::size(kBands)] = {kBands[0].first, kBands[1].first, kBands[2].first,
                                             kBands[3].first};
};

const Band& BandOf(ServerIdBand band) {
    return kBands[static_cast<std::size_t>(band)];
}
}  // namespace

std::uint32_t CreateServerObjectId(ServerIdBand band) {
    const Band& range = BandOf(band);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::uint32_t& next = Singleton<NextServerIds>::Get().next[static_cast<std::size_t>(band)];
    for (std::uint32_t tries = 0; tries < range.end - range.first; ++tries) {
        const std::uint32_t id = next;
        next = next + 1 < range.end ? next + 1 : range.first;
        if (!objects.GetObject(id))
            return id;
    }
    return 0;
}

bool IsInServerIdBand(ServerIdBand band, std::uint32_t id) {
    const Band& range = BandOf(band);
    return id >= range.first && id < range.end;
}

TemplateIds::TemplateIds() : mLocal(gEngine && gEngine->IsNetworkEnabled()) {
    if (!mLocal)
        return;
    const Band& range = BandOf(ServerIdBand::Templates);
    Singleton<ObjectManager>::Get().BeginLocalIds(range.first, range.end);
}

TemplateIds::~TemplateIds() {
    if (mLocal)
        Singleton<ObjectManager>::Get().EndLocalIds();
}

}  // namespace GAME
