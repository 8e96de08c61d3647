// Tests of the BSTR functions and the task allocator of libcomrt.so.
#include <gtest/gtest.h>

#include <cstring>

#include "com_runtime.h"

namespace {

TEST(TaskAllocatorTest, ZeroSizeGivesFreeableBlockAndReallocToZeroFrees) {
    void* block = CoTaskMemAlloc(0);
    ASSERT_NE(block, nullptr);
    block = CoTaskMemRealloc(block, 64);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0xAB, 64);
    EXPECT_EQ(CoTaskMemRealloc(block, 0), nullptr);
    void* fresh = CoTaskMemRealloc(nullptr, 16);
    ASSERT_NE(fresh, nullptr);
    CoTaskMemFree(fresh);
    CoTaskMemFree(nullptr);
}

TEST(BstrTest, LayoutHasByteCountPrefixAndTerminator) {
    BSTR text = SysAllocString(u"abc");
    ASSERT_NE(text, nullptr);
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<char*>(text) - 4, 4);
    EXPECT_EQ(prefix, 6u);
    EXPECT_EQ(text[3], 0);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(SysStringByteLen(text), 6u);
    SysFreeString(text);
}

TEST(BstrTest, NullAndEmptyInputs) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR empty = SysAllocString(u"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    EXPECT_EQ(empty[0], 0);
    SysFreeString(empty);
}

TEST(BstrTest, EmbeddedNulsAreKept) {
    const OLECHAR source[] = {u'a', 0, u'b', 0, u'c'};
    BSTR text = SysAllocStringLen(source, 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(std::memcmp(text, source, sizeof(source)), 0);
    EXPECT_EQ(text[5], 0);
    SysFreeString(text);
}

TEST(BstrTest, AllocLenWithoutSourceReservesTerminatedBuffer) {
    BSTR text = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 4u);
    EXPECT_EQ(text[4], 0);
    SysFreeString(text);
}

TEST(BstrTest, ByteLenKeepsOddCountsAndTerminates) {
    BSTR bytes = SysAllocStringByteLen("hello", 5);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(SysStringByteLen(bytes), 5u);
    EXPECT_EQ(SysStringLen(bytes), 2u);
    const char* raw = reinterpret_cast<const char*>(bytes);
    EXPECT_EQ(std::memcmp(raw, "hello", 5), 0);
    EXPECT_EQ(raw[5], 0);
    EXPECT_EQ(raw[6], 0);
    SysFreeString(bytes);
}

TEST(BstrTest, HugeLengthsFailWithoutOverflow) {
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
    EXPECT_EQ(SysAllocStringByteLen(nullptr, 0xFFFFFFFFu), nullptr);
}

TEST(BstrTest, ReAllocFromOwnTextAndFromNull) {
    BSTR text = SysAllocString(u"abcdef");
    ASSERT_TRUE(SysReAllocString(&text, text + 2));
    EXPECT_EQ(std::u16string(text, SysStringLen(text)), u"cdef");
    ASSERT_TRUE(SysReAllocStringLen(&text, text + 1, 2));
    EXPECT_EQ(std::u16string(text, SysStringLen(text)), u"de");
    // Without a source, the old text is kept up to the new length and the rest is zeroed.
    ASSERT_TRUE(SysReAllocStringLen(&text, nullptr, 4));
    EXPECT_EQ(std::u16string(text, 4), std::u16string(u"de\0\0", 4));
    EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
    EXPECT_FALSE(SysReAllocStringLen(nullptr, u"x", 1));
    SysFreeString(text);

    BSTR none = nullptr;
    ASSERT_TRUE(SysReAllocString(&none, u"new"));
    EXPECT_EQ(SysStringLen(none), 3u);
    SysFreeString(none);
}

}  // namespace
