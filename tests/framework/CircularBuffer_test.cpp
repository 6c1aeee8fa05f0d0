#include "framework/CircularBuffer.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

using Vexlor::CircularBuffer;

TEST(CircularBuffer, RateRaisesMinCapacityButNeverLowersIt) {
    CircularBuffer<double> port;
    EXPECT_EQ(port.Rate, 1u);
    EXPECT_EQ(port.MinCapacity, 1u);
    port.SetRate(3);
    port.SetRate(1);
    EXPECT_EQ(port.GetRate(), 1u);
    EXPECT_EQ(port.MinCapacity, 3u);
}

TEST(CircularBuffer, SingleElementCopyAtTheLastIndexOfBothRings) {
    std::vector<double> a{1, 2, 3}, b{0, 0, 0, 0};
    CircularBuffer<double> src, dst;
    src.Attach(a.data(), a.size());
    dst.Attach(b.data(), b.size());
    src.Position = 2;
    dst.Position = 3;
    src.CopyTo(0, dst, 0, 1);
    EXPECT_EQ(b, (std::vector<double>{0, 0, 0, 3}));
    // An offset that passes the end wraps to the start of the ring.
    src.CopyTo(1, dst, 1, 1);
    EXPECT_EQ(b, (std::vector<double>{1, 0, 0, 3}));
}

TEST(CircularBuffer, CopyWrapsInBothRings) {
    std::vector<double> a{10, 11, 12, 13};
    std::vector<double> b(8, -1.0);
    CircularBuffer<double> src, dst;
    src.Attach(a.data(), a.size());
    dst.Attach(b.data(), b.size());
    src.Position = 2;
    dst.Position = 7;
    src.CopyTo(0, dst, 0, 4);
    EXPECT_EQ(b, (std::vector<double>{13, 10, 11, -1, -1, -1, -1, 12}));
    src.CopyTo(0, dst, 0, 0);
    EXPECT_EQ(b, (std::vector<double>{13, 10, 11, -1, -1, -1, -1, 12}));
    // Offsets move both starting points; this copy wraps in the source, the destination index wraps
    // before it starts.
    src.CopyTo(1, dst, 2, 3);
    EXPECT_EQ(b, (std::vector<double>{13, 13, 10, 11, -1, -1, -1, 12}));
}

TEST(CircularBuffer, ZeroAndCopyElements) {
    std::vector<double> a{1, 2, 3, 4, 5};
    CircularBuffer<double> port;
    port.Attach(a.data(), a.size());
    port.Position = 3;
    EXPECT_TRUE(port.Zero(1, 3));
    EXPECT_EQ(a, (std::vector<double>{0, 0, 3, 4, 0}));
    std::vector<double> out(3, 9.0);
    port.CopyElements(a.data() + 2, out.data(), 2);
    EXPECT_EQ(out, (std::vector<double>{3, 4, 9}));
}

TEST(CircularBuffer, ReleaseFreesOwnStorageAndDetachesOutsideStorage) {
    CircularBuffer<double> own;
    own.Adopt(CircularBuffer<double>::Allocate(4), 4);
    own.Position = 2;
    own.At(1) = 5.0;
    EXPECT_EQ(own.Data()[3], 5.0);
    own.Release();
    EXPECT_EQ(own.Storage, nullptr);
    EXPECT_EQ(own.Position, 0u);
    EXPECT_EQ(own.Capacity, 0u);

    double outside[2] = {1.0, 2.0};
    CircularBuffer<double> borrowed;
    borrowed.Attach(outside, 2);
    borrowed.Release();
    EXPECT_EQ(borrowed.Storage, nullptr);
    EXPECT_EQ(outside[1], 2.0);

    // A size whose byte count overflows fails like any other allocation.
    const std::uint64_t tooMany = ~0ull / 4;
    EXPECT_THROW(borrowed.Adopt(CircularBuffer<double>::Allocate(tooMany), tooMany),
                 std::bad_alloc);
    EXPECT_EQ(borrowed.Storage, nullptr);
}
