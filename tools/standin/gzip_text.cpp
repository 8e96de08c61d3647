// Gzip encoding for the stand-in service.
#include "tools/standin/gzip_text.h"

#include <zlib.h>

#include <cstring>
#include <stdexcept>

std::string GzipText(const std::string& text) {
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::runtime_error("deflateInit2 failed");
    }
    std::string out(deflateBound(&stream, text.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate failed");
    }
    return out;
}

std::string DamageGzip(std::string body) {
    // Past the 10-byte header, before the 8-byte trailer.
    if (body.size() > 18) {
        size_t start = 10;
        size_t end = body.size() - 8;
        for (size_t i = start; i < end && i < start + 16; ++i) {
            body[i] = static_cast<char>(body[i] ^ 0x5A);
        }
    }
    return body;
}

std::string WithGzipSizeTrailer(std::string body, unsigned int size) {
    if (body.size() >= 4) {
        size_t at = body.size() - 4;
        for (int i = 0; i < 4; ++i) {
            body[at + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
        }
    }
    return body;
}

unsigned int GzipSizeTrailer(const std::string& body) {
    if (body.size() < 4) {
        return 0;
    }
    size_t at = body.size() - 4;
    unsigned int size = 0;
    for (int i = 0; i < 4; ++i) {
        size |= static_cast<unsigned int>(static_cast<unsigned char>(body[at + i])) << (8 * i);
    }
    return size;
}
