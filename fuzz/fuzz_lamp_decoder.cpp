// The virtual lamp's decoder: any byte stream with any timing decodes without
// a crash, every unit is well formed, and a clean frame after garbage still
// decodes.
#include "LampDecoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TLampDecoder decoder(TLampDecoder::Clock::Sender);
    qint64 t = 0;
    for (size_t i = 0; i + 1 < size; i += 2) {
        t += data[i + 1]; // the pause before the byte, 0 to 255 ms
        for (const auto &unit : decoder.Feed(data[i], t)) {
            switch (unit.kind) {
            case TLampDecoder::Unit::LightProgram:
                if (unit.codes.size() != 20)
                    std::abort();
                break;
            case TLampDecoder::Unit::LightSound:
                if (unit.codes.isEmpty() || unit.codes.size() % 20 != 0 || unit.codes.size() > 80
                    || !(unit.lightList.isEmpty() || unit.lightList.size() == 20))
                    std::abort();
                break;
            default:
                break;
            }
        }
    }
    decoder.Poll(t + 10000);
    // After the stream, a well-paced direct command decodes as itself.
    t += 20000;
    decoder.Feed(1, t);
    const auto units = decoder.Feed(160, t + 40);
    if (units.isEmpty() || units.last().LogLine() != QStringLiteral("direct-light 160"))
        std::abort();
    return 0;
}
