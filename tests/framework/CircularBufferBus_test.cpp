#include "framework/CircularBufferBus.h"

#include <gtest/gtest.h>

namespace {

using Bus = Vexlor::CircularBufferBusT<Vexlor::CircularBuffer<double>>;

void ExpectFresh(const Vexlor::CircularBuffer<double>& buffer) {
    EXPECT_EQ(buffer.Storage, nullptr);
    EXPECT_EQ(buffer.Capacity, 0u);
    EXPECT_EQ(buffer.Position, 0u);
    EXPECT_EQ(buffer.Rate, 1u);
}

TEST(CircularBufferBus, ResizeToTheSameCountKeepsBuffersAndStorage) {
    Bus bus;
    Vexlor::CircularBufferBus& abstract = bus;
    EXPECT_EQ(bus.Count(), 0u);
    abstract.Resize(2);
    ASSERT_EQ(bus.Count(), 2u);
    ExpectFresh(*bus.GetBuffer(0));
    ExpectFresh(*bus.GetBuffer(1));
    EXPECT_EQ(bus.GetBuffer(1) - bus.GetBuffer(0), 1);
    EXPECT_EQ(abstract.GetBuffer(1), static_cast<Vexlor::CircularBufferBase*>(bus.GetBuffer(1)));

    double storage[4] = {1.0, 2.0, 3.0, 4.0};
    Vexlor::CircularBuffer<double>* second = bus.GetBuffer(1);
    second->Attach(storage, 4);
    second->Position = 3;

    bus.Resize(2);
    EXPECT_EQ(bus.GetBuffer(1), second);
    EXPECT_EQ(bus.GetBuffer(1)->Storage, storage);
    EXPECT_EQ(bus.GetBuffer(1)->Capacity, 4u);
    EXPECT_EQ(bus.GetBuffer(1)->Position, 3u);
    EXPECT_EQ(storage[3], 4.0);
}

TEST(CircularBufferBus, OtherCountsGiveFreshBuffersAndLeaveAttachedStorageAlone) {
    Bus bus;
    bus.Resize(2);
    double storage[2] = {5.0, 6.0};
    bus.GetBuffer(0)->Attach(storage, 2);
    bus.GetBuffer(0)->SetRate(2);

    bus.Resize(0);
    EXPECT_EQ(bus.Count(), 0u);
    EXPECT_EQ(storage[0], 5.0);
    EXPECT_EQ(storage[1], 6.0);

    bus.Resize(3);
    ASSERT_EQ(bus.Count(), 3u);
    for (std::uint64_t i = 0; i < 3; ++i) ExpectFresh(*bus.GetBuffer(i));
}

}  // namespace
