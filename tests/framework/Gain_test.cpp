#include "framework/Gain.h"

#include <gtest/gtest.h>

TEST(Gain, ScalesTheCurrentSample) {
    Vexlor::Gain<double> gain;
    double in[3] = {1.0, -2.5, 4.0};
    double out[3] = {0.0, 0.0, 0.0};
    gain.Input.Attach(in, 3);
    gain.Output.Attach(out, 3);
    gain.GainValue = 2.0;
    ASSERT_TRUE(gain.Setup());
    ASSERT_TRUE(gain.Initialize());
    gain.Input.Position = 1;
    gain.Output.Position = 2;
    EXPECT_TRUE(gain.Run());
    EXPECT_EQ(out[2], -5.0);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(gain.Input.Position, 1u);
    EXPECT_TRUE(gain.Finalize());

    gain.GainValue = 0.0;
    gain.Run();
    EXPECT_EQ(out[2], -0.0);
}

TEST(Gain, SharedStorageIsScaledInPlace) {
    Vexlor::Gain<double> gain;
    double sample = 3.0;
    gain.Input.Attach(&sample, 1);
    gain.Output.Attach(&sample, 1);
    gain.GainValue = 0.5;
    gain.Run();
    gain.Run();
    EXPECT_EQ(sample, 0.75);
}
