#pragma once
// A fixed corpus of bodies for one packet kind, grown from the kind's own empty encoding by small
// edits (an edited body that reads cleanly may seed the next ones), and a digest of what the kind
// makes of them: whether each reads cleanly and, if so, the objects it names, its description
// and its re-encoding. The digests pin every kind's bytes, texts and refusals at once.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME::test {

class PacketCorpusDigest {
public:
    std::uint64_t Of(PACKET_TYPE type, int bodies) {
        const NetPacketRegistry& registry = NetPacketRegistry::Global();
        std::unique_ptr<NetPacket> empty = registry.Create(type);
        const unsigned int size = empty->PrepareOutBuffer();
        std::vector<std::uint8_t> seed(empty->GetOutBuffer(), empty->GetOutBuffer() + size);
        for (int i = 0; i < bodies; ++i) {
            std::vector<std::uint8_t> body = Edited(seed);
            std::unique_ptr<NetPacket> packet = registry.Create(type);
            packet->CopyInbound(body.data(), static_cast<int>(body.size()));
            const bool valid = packet->IsInboundValid();
            Add(valid ? "valid" : "refused");
            if (!valid)
                continue;
            if (Next() % 2)
                seed = body;
            for (const NetObjectReference& ref : packet->GetHeader().objects)
                Add(std::to_string(ref.id) + (ref.required ? "!" : "?"));
            Add(packet->GetPacketDescription(true));
            const unsigned int written = packet->PrepareOutBuffer();
            Add(std::string(packet->GetOutBuffer(), written));
        }
        return mHash;
    }

private:
    std::uint32_t Next() {
        mState = mState * 1664525u + 1013904223u;
        return mState >> 8;
    }

    // One to three edits: a byte set to a small value (counts and lengths stay plausible) or to
    // any value, inserted or removed.
    std::vector<std::uint8_t> Edited(const std::vector<std::uint8_t>& seed) {
        std::vector<std::uint8_t> body = seed;
        const std::uint32_t edits = 1 + Next() % 3;
        for (std::uint32_t e = 0; e < edits; ++e) {
            const std::uint32_t op = Next() % 3;
            const std::uint8_t value = static_cast<std::uint8_t>(Next() % 3 ? Next() % 3 : Next());
            if (op == 1)
                body.insert(body.begin() + Next() % (body.size() + 1), value);
            else if (!body.empty() && op == 0)
                body[Next() % body.size()] = value;
            else if (!body.empty())
                body.erase(body.begin() + Next() % body.size());
        }
        return body.size() > 400 ? seed : body;
    }

    // FNV-1a over each part and its end.
    void Add(const std::string& part) {
        for (char c : part + '\x1f')
            mHash = (mHash ^ static_cast<std::uint8_t>(c)) * 0x100000001b3ull;
    }

    std::uint32_t mState = 12345;
    std::uint64_t mHash = 0xcbf29ce484222325ull;
};

}  // namespace GAME::test
