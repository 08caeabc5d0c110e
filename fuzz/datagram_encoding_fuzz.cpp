#include "endpoint/datagram_encoding.h"
#include "fuzz/fuzz_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose how far the count is from length + 1 (mostly exactly that).
    const int countShift = static_cast<std::int8_t>(data[0]) / 32 * (data[1] % 3);
    const zav::Text text = zav::fuzzing::textFrom(data + 2, size - 2);
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(text.size()) + 1 + countShift;

    std::string datagram;
    const zav::DatagramEncoding result = zav::encodeDatagram(text, count, datagram);

    if (count < 1 || count > static_cast<std::ptrdiff_t>(text.size()) + 1) {
        ZAV_FUZZ_CHECK(result == zav::DatagramEncoding::BadCount);
        ZAV_FUZZ_CHECK(datagram.empty());
        return 0;
    }
    const auto carried = text.substr(0, std::min<std::size_t>(text.size(), count));
    const bool allBytes =
            std::all_of(carried.begin(), carried.end(), [](char16_t c) { return c <= 0xFF; });
    if (!allBytes) {
        ZAV_FUZZ_CHECK(result == zav::DatagramEncoding::CharacterNotByte);
        ZAV_FUZZ_CHECK(datagram.empty());
        return 0;
    }
    ZAV_FUZZ_CHECK(result == zav::DatagramEncoding::Encoded);
    ZAV_FUZZ_CHECK(datagram.size() == static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < carried.size(); ++i)
        ZAV_FUZZ_CHECK(static_cast<unsigned char>(datagram[i]) == carried[i]);
    if (static_cast<std::size_t>(count) == text.size() + 1)
        ZAV_FUZZ_CHECK(datagram.back() == '\0');
    return 0;
}
