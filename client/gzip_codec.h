// A small stateful codec over zlib that inflates a whole gzip answer in one call.
#pragma once

#include <zlib.h>

#include <cstddef>

class GzipCodec {
  public:
    GzipCodec();
    ~GzipCodec();
    GzipCodec(const GzipCodec&) = delete;
    GzipCodec& operator=(const GzipCodec&) = delete;

    // Ends both streams and restores the compression settings; the next step starts a stream.
    void Reset();

    // Inflates exactly one complete gzip stream into the room *outputCount gives. Returns 0 with
    // the bytes written; Z_BUF_ERROR when the room or the input ran out (bytes written so far);
    // Z_DATA_ERROR for a damaged or non-gzip body or bytes after the stream; other zlib codes
    // unchanged.
    int DecompressAll(unsigned char* output, size_t* outputCount, const unsigned char* input,
                      size_t inputCount);
    // One inflate step; *inputCount returns the input not consumed.
    int Decompress(unsigned char* output, size_t* outputCount, const unsigned char* input,
                   size_t* inputCount, int flush);
    // One inflate step with Z_SYNC_FLUSH.
    int Decompress(unsigned char* output, size_t* outputCount, const unsigned char* input,
                   size_t* inputCount);
    // One inflate step that ends the stream when it runs out of room or input.
    int DecompressChunk(unsigned char* output, size_t* outputCount, const unsigned char* input,
                        size_t inputCount, int flush);

    // The compress side writes zlib format (RFC 1950), not gzip.
    int CompressAll(unsigned char* output, size_t* outputCount, const unsigned char* input,
                    size_t inputCount);
    int Compress(unsigned char* output, size_t* outputCount, const unsigned char* input,
                 size_t* inputCount, int flush);

  private:
    int PrepareInflate(unsigned char* output, size_t outputCount, const unsigned char* input,
                       size_t inputCount);
    void EndInflate();
    int CheckStreamEnd();
    int PrepareDeflate(unsigned char* output, size_t outputCount, const unsigned char* input,
                       size_t inputCount);
    void EndDeflate();

    int level;
    int windowBits;
    int memLevel;
    z_stream deflateStream;
    bool deflateReady = false;
    z_stream inflateStream;
    bool inflateReady = false;
    bool newStream = true;
};
