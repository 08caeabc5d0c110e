#include "endpoint/datagram_encoding.h"

#include <algorithm>

namespace zav {

DatagramEncoding encodeDatagram(TextView text, std::ptrdiff_t count, std::string &datagram)
{
    datagram.clear();
    if (count < 1 || static_cast<std::size_t>(count) > text.size() + 1)
        return DatagramEncoding::BadCount;

    const TextView sent = text.substr(0, static_cast<std::size_t>(count));
    if (std::any_of(sent.begin(), sent.end(), [](char16_t c) { return c > 0xFF; }))
        return DatagramEncoding::CharacterNotByte;
    // Each character becomes the byte of the same value; a count one past the text's end
    // stands for the closing zero byte, which the zero-filled datagram already holds.
    datagram.assign(static_cast<std::size_t>(count), '\0');
    std::transform(sent.begin(), sent.end(), datagram.begin(),
                   [](char16_t c) { return static_cast<char>(c); });
    return DatagramEncoding::Encoded;
}

} // namespace zav
