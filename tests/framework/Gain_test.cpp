#include "framework/Gain.h"

#include <gtest/gtest.h>

TEST(Gain, ScalesTheCurrentSampleWithoutMovingThePorts) {
    Vexlor::Gain<double> gain;
    double in[3] = {1.0, -2.5, 4.0};
    double out[3] = {0.0, 0.0, 0.0};
    gain.Input.Attach(in, 3);
    gain.Output.Attach(out, 3);
    gain.Input.Position = 1;
    gain.Output.Position = 2;
    gain.GainValue = 2.0;
    EXPECT_TRUE(gain.Setup() && gain.Initialize() && gain.Run() && gain.Finalize());
    EXPECT_EQ(out[2], -5.0);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(gain.Input.Position, 1u);

    // Ports that share one element scale it in place.
    gain.Output.Attach(in, 3);
    gain.Output.Position = 1;
    gain.GainValue = 0.5;
    gain.Run();
    gain.Run();
    EXPECT_EQ(in[1], -0.625);
}
