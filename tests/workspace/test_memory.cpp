#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>

#include "workspace/memory.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VELLUMO_OWN_ALLOCATOR 1
#endif
#endif

namespace vellumo {
namespace {

// Bytes in blocks mapped of their own.
size_t mappedBytes() {
    return mallinfo2().hblkhd;
}

// A picture-sized block, written so that its pages are real.
void* picture(size_t bytes) {
    void* block = std::malloc(bytes);
    std::memset(block, 0x5a, bytes);
    return block;
}

TEST(LargeBlocks, StayMappedAfterOthersOfTheirSizeWereFreed) {
#ifdef VELLUMO_OWN_ALLOCATOR
    GTEST_SKIP() << "the sanitizer's allocator stands in for the C library's";
#endif
    ASSERT_TRUE(keepLargeBlocksMapped());
    const size_t frame = 3 * size_t{1280} * 720;  // a frame of 1280 x 720, 3 bytes a pixel
    // The C library's own rule would put the second frame in its heap after the first is freed.
    std::free(picture(frame));
    const size_t before = mappedBytes();
    void* second = picture(frame);
    EXPECT_GE(mappedBytes(), before + frame);
    std::free(second);
    EXPECT_EQ(mappedBytes(), before);
    // Small blocks are not mapped.
    void* small = picture(kLargeBlockBytes / 4);
    EXPECT_EQ(mappedBytes(), before);
    std::free(small);
}

}  // namespace
}  // namespace vellumo
