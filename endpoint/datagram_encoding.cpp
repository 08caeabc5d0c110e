#include "datagram_encoding.h"

namespace zav {

DatagramEncoding encodeDatagram(TextView text, std::ptrdiff_t count, std::string &datagram)
{
    if (count < 1 || static_cast<std::size_t>(count) > text.size() + 1) {
        datagram.clear();
        return DatagramEncoding::BadCount;
    }

    const std::size_t characters = std::min(text.size(), static_cast<std::size_t>(count));
    // Resizing a buffer already of this size writes nothing, so a reused buffer costs one pass.
    datagram.resize(static_cast<std::size_t>(count));
    char *__restrict bytes = datagram.data();
    const char16_t *__restrict source = text.data();
    // One pass without early exit, which the compiler turns into vector code: narrow every
    // character and gather its high bits; any high bit means a character above 255.
    char16_t highBits = 0;
    for (std::size_t i = 0; i < characters; ++i) {
        highBits |= source[i];
        bytes[i] = static_cast<char>(source[i]);
    }
    if (highBits > 0xFF) {
        datagram.clear();
        return DatagramEncoding::CharacterNotByte;
    }
    if (characters < static_cast<std::size_t>(count))
        bytes[characters] = '\0';
    return DatagramEncoding::Encoded;
}

} // namespace zav
