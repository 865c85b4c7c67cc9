#include <sstream>

#include <gtest/gtest.h>

#include "device/device_controller.h"
#include "device/device_test_support.h"
#include "hid/sim/simulated_mouse.h"
#include "hid/trace/tracing_hid_port.h"

namespace quorvel::test {
namespace {

// The handshake's probe is followed by a pause: a trace shows it between the
// transfers, whatever clock the program pauses with.
TEST(TracedWhenAsked, TracesTheTransfersAndThePausesBetweenThemOrNeither) {
    for (const bool traced : {true, false}) {
        SimulatedMouse mouse;
        std::ostringstream out;
        TracedWhenAsked ports(mouse, mouse.clock(), traced ? &out : nullptr);
        RecordingEvents events;
        DeviceController controller(ports.hid(), ports.clock(), events);
        ASSERT_EQ(controller.OpenDevice(), OpenResult::Opened);
        controller.Handshake();
        ASSERT_TRUE(controller.connected());
        const std::string trace = out.str();
        if (traced) {
            const auto probe = trace.find("set-feature ");
            const auto pause = trace.find("sleep 5\n");
            ASSERT_NE(probe, std::string::npos) << trace;
            ASSERT_NE(pause, std::string::npos) << trace;
            EXPECT_LT(probe, pause);
            EXPECT_NE(trace.find("get-feature ", pause), std::string::npos) << trace;
        } else {
            EXPECT_EQ(trace, "");
        }
    }
}

// The real clock behind the simulated mouse: counts its runs and the pauses
// that fall outside one.
class RunCountingClock final : public Clock {
public:
    void sleep(std::chrono::milliseconds) override {
        if (!inRun) {
            ++pausesOutsideARun;
        }
    }
    void beginRun() override {
        ++runs;
        inRun = true;
    }
    void endRun() override { inRun = false; }
    int runs = 0;
    int pausesOutsideARun = 0;
    bool inRun = false;
};

// An Apply is one run of the program's clock, through the trace and the
// simulated mouse, with all of its pauses inside it.
TEST(TracedWhenAsked, AnApplyIsOneRunOfTheClockAroundAllItsPauses) {
    for (const bool traced : {true, false}) {
        SimulatedMouse mouse;
        RunCountingClock real;
        std::ostringstream out;
        TracedWhenAsked ports(mouse, mouse.clock(), traced ? &out : nullptr);
        RecordingEvents events;
        DeviceController controller(ports.hid(), ports.clock(), events);
        ASSERT_EQ(controller.OpenDevice(), OpenResult::Opened);
        controller.Handshake();
        ASSERT_TRUE(controller.connected());
        mouse.sleepThrough(&real);
        ASSERT_EQ(controller.Apply(zeroDeviceConfig()), ApplyResult::Completed);
        EXPECT_EQ(real.runs, 1);
        EXPECT_FALSE(real.inRun);
        EXPECT_EQ(real.pausesOutsideARun, 0);
    }
}

} // namespace
} // namespace quorvel::test
