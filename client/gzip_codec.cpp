// Gzip decoding (and zlib-format encoding) over zlib.
#include "client/gzip_codec.h"

#include <climits>
#include <cstring>

namespace {

constexpr int kGzipWindowBits = 15 + 16;

bool FitsStreamCount(size_t count) { return count <= UINT_MAX; }

}  // namespace

GzipCodec::GzipCodec() {
    std::memset(&deflateStream, 0, sizeof deflateStream);
    std::memset(&inflateStream, 0, sizeof inflateStream);
    Reset();
}

GzipCodec::~GzipCodec() {
    if (deflateReady) {
        deflateEnd(&deflateStream);
    }
    if (inflateReady) {
        inflateEnd(&inflateStream);
    }
}

void GzipCodec::Reset() {
    level = Z_DEFAULT_COMPRESSION;
    windowBits = 15;
    memLevel = 8;
    if (deflateReady) {
        deflateEnd(&deflateStream);
        deflateReady = false;
    }
    if (inflateReady) {
        inflateEnd(&inflateStream);
        inflateReady = false;
    }
    newStream = true;
}

int GzipCodec::PrepareInflate(unsigned char* output, size_t outputCount, const unsigned char* input,
                              size_t inputCount) {
    if (!FitsStreamCount(outputCount) || !FitsStreamCount(inputCount)) {
        return Z_BUF_ERROR;
    }
    inflateStream.next_in = const_cast<unsigned char*>(input);
    inflateStream.avail_in = static_cast<uInt>(inputCount);
    inflateStream.next_out = output;
    inflateStream.avail_out = static_cast<uInt>(outputCount);
    if (!newStream) {
        return Z_OK;
    }
    if (inflateReady) {
        if (inflateReset(&inflateStream) != Z_OK) {
            EndInflate();
        }
        if (inflateReady) {
            return Z_OK;
        }
    }
    // inflateInit2 must not see the stale pointers of an ended stream.
    inflateStream.zalloc = nullptr;
    inflateStream.zfree = nullptr;
    inflateStream.opaque = nullptr;
    inflateStream.next_in = const_cast<unsigned char*>(input);
    inflateStream.avail_in = static_cast<uInt>(inputCount);
    int result = inflateInit2(&inflateStream, kGzipWindowBits);
    if (result != Z_OK) {
        return result;
    }
    inflateStream.next_out = output;
    inflateStream.avail_out = static_cast<uInt>(outputCount);
    inflateReady = true;
    return Z_OK;
}

void GzipCodec::EndInflate() {
    inflateEnd(&inflateStream);
    inflateReady = false;
    newStream = true;
}

int GzipCodec::Decompress(unsigned char* output, size_t* outputCount, const unsigned char* input,
                          size_t* inputCount, int flush) {
    int result = PrepareInflate(output, *outputCount, input, *inputCount);
    if (result != Z_OK) {
        return result;
    }
    uLong totalBefore = inflateStream.total_out;
    if (newStream) {
        newStream = false;
        if (*inputCount == 0) {
            *outputCount = 0;
            return Z_OK;
        }
    }
    result = inflate(&inflateStream, flush);
    *inputCount = inflateStream.avail_in;
    bool inputLeft = inflateStream.avail_in != 0;
    if (!((result == Z_OK || result == Z_STREAM_END) && !inputLeft)) {
        if (result == Z_STREAM_END) {
            EndInflate();
            return Z_DATA_ERROR;
        }
        if (result != Z_OK && result != Z_BUF_ERROR) {
            EndInflate();
            return result;
        }
        if (inflateStream.avail_out == 0) {
            result = Z_BUF_ERROR;
        }
    }
    if (result == Z_STREAM_END) {
        result = Z_OK;
    }
    *outputCount = inflateStream.total_out - totalBefore;
    return result;
}

int GzipCodec::Decompress(unsigned char* output, size_t* outputCount, const unsigned char* input,
                          size_t* inputCount) {
    return Decompress(output, outputCount, input, inputCount, Z_SYNC_FLUSH);
}

int GzipCodec::DecompressChunk(unsigned char* output, size_t* outputCount,
                               const unsigned char* input, size_t inputCount, int flush) {
    size_t inputLeft = inputCount;
    int result = Decompress(output, outputCount, input, &inputLeft, flush);
    if (result == Z_BUF_ERROR) {
        EndInflate();
    }
    return result;
}

int GzipCodec::CheckStreamEnd() {
    // A finished stream answers Z_STREAM_END to one more call with no input and no room.
    unsigned char scratch = 0;
    size_t scratchCount = 0;
    int result = DecompressChunk(&scratch, &scratchCount, &scratch, 0, Z_FINISH);
    if (result == Z_OK) {
        newStream = true;
        return Z_OK;
    }
    return Z_DATA_ERROR;
}

int GzipCodec::DecompressAll(unsigned char* output, size_t* outputCount, const unsigned char* input,
                             size_t inputCount) {
    int result = DecompressChunk(output, outputCount, input, inputCount, Z_FINISH);
    if (result != Z_OK) {
        newStream = true;
        return result;
    }
    return CheckStreamEnd();
}

int GzipCodec::PrepareDeflate(unsigned char* output, size_t outputCount, const unsigned char* input,
                              size_t inputCount) {
    if (!FitsStreamCount(outputCount) || !FitsStreamCount(inputCount)) {
        return Z_BUF_ERROR;
    }
    if (newStream) {
        if (deflateReady && deflateReset(&deflateStream) != Z_OK) {
            EndDeflate();
        }
        if (!deflateReady) {
            deflateStream.zalloc = nullptr;
            deflateStream.zfree = nullptr;
            deflateStream.opaque = nullptr;
            int result = deflateInit2(&deflateStream, level, Z_DEFLATED, windowBits, memLevel, 0);
            if (result != Z_OK) {
                return result;
            }
            deflateReady = true;
        }
    }
    deflateStream.next_in = const_cast<unsigned char*>(input);
    deflateStream.avail_in = static_cast<uInt>(inputCount);
    deflateStream.next_out = output;
    deflateStream.avail_out = static_cast<uInt>(outputCount);
    return Z_OK;
}

void GzipCodec::EndDeflate() {
    deflateEnd(&deflateStream);
    deflateReady = false;
    newStream = true;
}

int GzipCodec::Compress(unsigned char* output, size_t* outputCount, const unsigned char* input,
                        size_t* inputCount, int flush) {
    int result = PrepareDeflate(output, *outputCount, input, *inputCount);
    if (result != Z_OK) {
        return result;
    }
    newStream = false;
    uLong totalBefore = deflateStream.total_out;
    result = deflate(&deflateStream, flush);
    *inputCount = deflateStream.avail_in;
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
        EndDeflate();
        return result;
    }
    if (result != Z_STREAM_END && deflateStream.avail_out == 0) {
        result = Z_BUF_ERROR;
    }
    if (result == Z_STREAM_END) {
        result = Z_OK;
    }
    *outputCount = deflateStream.total_out - totalBefore;
    return result;
}

int GzipCodec::CompressAll(unsigned char* output, size_t* outputCount, const unsigned char* input,
                           size_t inputCount) {
    size_t inputLeft = inputCount;
    int result = Compress(output, outputCount, input, &inputLeft, Z_FINISH);
    if (result == Z_BUF_ERROR) {
        EndDeflate();
    }
    newStream = true;
    return result;
}
