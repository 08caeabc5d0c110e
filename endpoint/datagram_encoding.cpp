#include "datagram_encoding.h"

namespace zav {

DatagramEncoding encodeDatagram(TextView text, std::ptrdiff_t count, std::string &datagram)
{
    datagram.clear();
    if (count < 1 || static_cast<std::size_t>(count) > text.size() + 1)
        return DatagramEncoding::BadCount;

    const std::size_t characters = std::min(text.size(), static_cast<std::size_t>(count));
    datagram.resize(static_cast<std::size_t>(count)); // the byte after the text stays zero
    for (std::size_t i = 0; i < characters; ++i) {
        const char16_t c = text[i];
        if (c > 0xFF) {
            datagram.clear();
            return DatagramEncoding::CharacterNotByte;
        }
        datagram[i] = static_cast<char>(c);
    }
    return DatagramEncoding::Encoded;
}

} // namespace zav
