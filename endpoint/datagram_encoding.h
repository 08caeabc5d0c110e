#pragma once

#include "runtime/text.h"

#include <cstddef>
#include <string>

namespace zav {

enum class DatagramEncoding {
    Encoded,
    CharacterNotByte, // a character above 255 cannot be carried as one byte
    BadCount,         // the count is below 1 or beyond the text and its closing zero
};

// Writes the first `count` bytes of the text and its closing zero byte into `datagram`, each
// character as the byte of the same value: a count of the text's length + 1 ends in the zero
// byte, a shorter one sends no zero byte. On failure `datagram` holds nothing to send.
[[nodiscard]] DatagramEncoding encodeDatagram(TextView text, std::ptrdiff_t count,
                                              std::string &datagram);

} // namespace zav
