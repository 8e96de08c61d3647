// GzipCodec: the result table of DecompressAll, stream reuse and the compress side.
#include <gtest/gtest.h>
#include <zlib.h>

#include <climits>
#include <string>
#include <vector>

#include "client/gzip_codec.h"
#include "tools/standin/gzip_text.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

const std::string kText = "{\"values\": {\"numRows\": 1, \"numColumns\": 1, \"values\": [\"7\"]}}";

int Inflate(GzipCodec& codec, const Bytes& body, size_t room, Bytes& out, size_t& written) {
    out.assign(room + 16, 0xEE);
    written = room;
    return codec.DecompressAll(out.data(), &written, body.data(), body.size());
}

TEST(GzipCodecTest, WholeStreamThatFitsGivesZeroAndTheText) {
    GzipCodec codec;
    Bytes body = ToBytes(GzipText(kText));
    Bytes out;
    size_t written = 0;
    ASSERT_EQ(Inflate(codec, body, kText.size() + 100, out, written), Z_OK);
    EXPECT_EQ(std::string(out.begin(), out.begin() + written), kText);
}

TEST(GzipCodecTest, RoomExactlyAsLongAsTheDataAndOneByteShort) {
    GzipCodec codec;
    Bytes body = ToBytes(GzipText(kText));
    Bytes out;
    size_t written = 0;
    EXPECT_EQ(Inflate(codec, body, kText.size(), out, written), Z_OK);
    EXPECT_EQ(written, kText.size());
    EXPECT_EQ(Inflate(codec, body, kText.size() - 1, out, written), Z_BUF_ERROR);
    EXPECT_EQ(written, kText.size() - 1);
    // Nothing is written past the room.
    EXPECT_EQ(out[kText.size() - 1], 0xEE);
}

TEST(GzipCodecTest, EmptyInputIsADataError) {
    GzipCodec codec;
    unsigned char out[8];
    size_t written = sizeof out;
    EXPECT_EQ(codec.DecompressAll(out, &written, nullptr, 0), Z_DATA_ERROR);
    EXPECT_EQ(written, 0u);
}

TEST(GzipCodecTest, BytesAfterTheStreamAreADataError) {
    GzipCodec codec;
    Bytes out;
    size_t written = 0;
    Bytes trailingZero = ToBytes(GzipText(kText) + std::string(1, '\0'));
    EXPECT_EQ(Inflate(codec, trailingZero, 1000, out, written), Z_DATA_ERROR);
    Bytes secondMember = ToBytes(GzipText(kText) + GzipText(kText));
    EXPECT_EQ(Inflate(codec, secondMember, 1000, out, written), Z_DATA_ERROR);
}

TEST(GzipCodecTest, ZlibFormatAndRawDeflateAreDataErrors) {
    Bytes zlibBody(compressBound(kText.size()));
    uLongf zlibLength = zlibBody.size();
    ASSERT_EQ(compress(zlibBody.data(), &zlibLength, reinterpret_cast<const Bytef*>(kText.data()),
                       kText.size()),
              Z_OK);
    zlibBody.resize(zlibLength);
    GzipCodec codec;
    Bytes out;
    size_t written = 0;
    EXPECT_EQ(Inflate(codec, zlibBody, 1000, out, written), Z_DATA_ERROR);
    // Raw deflate: the zlib body without its 2-byte header and 4-byte check.
    Bytes raw(zlibBody.begin() + 2, zlibBody.end() - 4);
    EXPECT_EQ(Inflate(codec, raw, 1000, out, written), Z_DATA_ERROR);
}

TEST(GzipCodecTest, BodyCutAnywhereBeforeItsEndIsABufferError) {
    Bytes body = ToBytes(GzipText(kText));
    GzipCodec codec;
    for (size_t cut = 1; cut < body.size(); ++cut) {
        Bytes part(body.begin(), body.begin() + cut);
        Bytes out;
        size_t written = 0;
        ASSERT_EQ(Inflate(codec, part, 1000, out, written), Z_BUF_ERROR) << cut;
        ASSERT_LE(written, kText.size());
        EXPECT_EQ(std::string(out.begin(), out.begin() + written), kText.substr(0, written));
    }
}

TEST(GzipCodecTest, WrongCrcOrLengthIsADataError) {
    std::string body = GzipText(kText);
    std::string badCrc = body;
    badCrc[body.size() - 8] ^= 1;
    GzipCodec codec;
    Bytes out;
    size_t written = 0;
    EXPECT_EQ(Inflate(codec, ToBytes(badCrc), 1000, out, written), Z_DATA_ERROR);
    std::string badLength = WithGzipSizeTrailer(body, GzipSizeTrailer(body) + 1);
    EXPECT_EQ(Inflate(codec, ToBytes(badLength), 1000, out, written), Z_DATA_ERROR);
    EXPECT_EQ(Inflate(codec, ToBytes(DamageGzip(body)), 1000, out, written), Z_DATA_ERROR);
}

TEST(GzipCodecTest, OneCodecDecodesStreamAfterStreamWhateverCameBefore) {
    GzipCodec codec;
    Bytes out;
    size_t written = 0;
    Bytes first = ToBytes(GzipText("first"));
    Bytes second = ToBytes(GzipText("second answer"));
    ASSERT_EQ(Inflate(codec, first, 100, out, written), Z_OK);
    ASSERT_EQ(Inflate(codec, second, 100, out, written), Z_OK);
    EXPECT_EQ(std::string(out.begin(), out.begin() + written), "second answer");
    // After a failure the codec starts the next stream afresh.
    Bytes cut(second.begin(), second.begin() + 5);
    EXPECT_EQ(Inflate(codec, cut, 100, out, written), Z_BUF_ERROR);
    EXPECT_EQ(Inflate(codec, ToBytes(DamageGzip(GzipText(kText))), 100, out, written),
              Z_DATA_ERROR);
    ASSERT_EQ(Inflate(codec, first, 100, out, written), Z_OK);
    EXPECT_EQ(std::string(out.begin(), out.begin() + written), "first");
    codec.Reset();
    ASSERT_EQ(Inflate(codec, second, 100, out, written), Z_OK);
}

TEST(GzipCodecTest, CountsBeyondThirtyTwoBitsAreRefused) {
    if (sizeof(size_t) <= 4) {
        GTEST_SKIP() << "size_t has 32 bits";
    }
    GzipCodec codec;
    Bytes body = ToBytes(GzipText(kText));
    unsigned char out[4];
    size_t written = static_cast<size_t>(UINT_MAX) + 1;
    EXPECT_EQ(codec.DecompressAll(out, &written, body.data(), body.size()), Z_BUF_ERROR);
}

TEST(GzipCodecTest, StepwiseDecompressWithSyncFlush) {
    std::string text(5000, 'x');
    for (size_t i = 0; i < text.size(); i += 7) {
        text[i] = static_cast<char>('a' + i % 26);
    }
    Bytes body = ToBytes(GzipText(text));
    GzipCodec codec;
    std::string decoded;
    size_t at = 0;
    int result = Z_OK;
    while (at < body.size() && result == Z_OK) {
        size_t piece = std::min<size_t>(100, body.size() - at);
        size_t left = piece;
        unsigned char out[20000];
        size_t room = sizeof out;
        result = codec.Decompress(out, &room, body.data() + at, &left);
        decoded.append(reinterpret_cast<char*>(out), room);
        at += piece - left;
    }
    EXPECT_EQ(result, Z_OK);
    EXPECT_EQ(decoded, text);
}

TEST(GzipCodecTest, CompressAllWritesZlibFormat) {
    GzipCodec codec;
    Bytes compressed(kText.size() + 64);
    size_t written = compressed.size();
    ASSERT_EQ(codec.CompressAll(compressed.data(), &written,
                                reinterpret_cast<const unsigned char*>(kText.data()), kText.size()),
              Z_OK);
    Bytes plain(kText.size());
    uLongf plainLength = plain.size();
    ASSERT_EQ(uncompress(plain.data(), &plainLength, compressed.data(), written), Z_OK);
    EXPECT_EQ(std::string(plain.begin(), plain.end()), kText);
    // Too little room, then a second stream on the same codec.
    size_t small = 4;
    EXPECT_EQ(codec.CompressAll(compressed.data(), &small,
                                reinterpret_cast<const unsigned char*>(kText.data()), kText.size()),
              Z_BUF_ERROR);
    written = compressed.size();
    EXPECT_EQ(codec.CompressAll(compressed.data(), &written,
                                reinterpret_cast<const unsigned char*>(kText.data()), kText.size()),
              Z_OK);
}

}  // namespace
