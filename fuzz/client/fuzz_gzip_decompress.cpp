// Feeds bytes to GzipCodec::DecompressAll: the input itself, or a gzip stream of it that is cut,
// spoilt or given a false size trailer, so that the decoder's paths past the header get reached.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "client/gzip_codec.h"
#include "tools/standin/gzip_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    size_t room = static_cast<size_t>(data[0]) << 8 | data[1];
    uint8_t mode = data[2];
    uint8_t at = data[3];
    std::string body(reinterpret_cast<const char*>(data + 4), size - 4);
    if (mode % 4 != 0) {
        body = GzipText(body);
        size_t position = at % body.size();
        if (mode % 4 == 1) {
            body.resize(position);
        } else if (mode % 4 == 2) {
            body[position] = static_cast<char>(body[position] ^ (mode | 1));
        } else {
            body = WithGzipSizeTrailer(body, GzipSizeTrailer(body) + at - 128);
        }
    }
    std::vector<unsigned char> output(room + 1, 0xA5);
    GzipCodec codec;
    for (int pass = 0; pass < 2; ++pass) {
        size_t written = room;
        int result =
            codec.DecompressAll(output.data(), &written,
                                reinterpret_cast<const unsigned char*>(body.data()), body.size());
        if ((result == 0 || result == -5) && written > room) {
            __builtin_trap();
        }
        // Nothing is written past the room.
        if (output[room] != 0xA5) {
            __builtin_trap();
        }
    }
    return 0;
}
