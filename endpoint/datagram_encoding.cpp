#include "endpoint/datagram_encoding.h"

#include <algorithm>

namespace zav {

DatagramEncoding encodeDatagram(TextView text, std::ptrdiff_t count, std::string &datagram)
{
    datagram.clear();
    if (count < 1 || static_cast<std::size_t>(count) > text.size() + 1)
        return DatagramEncoding::BadCount;

    const TextView sent = text.substr(0, static_cast<std::size_t>(count));
    for (const char16_t c : sent) {
        if (c > 0xFF) {
            datagram.clear();
            return DatagramEncoding::CharacterNotByte;
        }
        datagram.push_back(static_cast<char>(c));
    }
    // A count one past the text's end stands for the closing zero byte.
    if (datagram.size() < static_cast<std::size_t>(count))
        datagram.push_back('\0');
    return DatagramEncoding::Encoded;
}

} // namespace zav
