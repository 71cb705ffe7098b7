// Tempo and song position as the engine derives them from the host each block: tempo limits,
// the internal tempo, the sixteenth-note offset, and the plug-in's own running position when
// the transport stops or the host tells nothing.

#include <gtest/gtest.h>

#include <limits>

#include "engine/ParameterIndex.h"
#include "modulators/STEP.h"
#include "modules/ModuleCatalogue.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::param;
using kirra::STEP;

namespace {

// A step sequencer following the song in quarter notes: its step is the whole quarter note
// modulo 16, which makes the engine's song position visible.
void followSong(kirra::Plugin& plugin) {
    setModulatorType(plugin, 0, kirra::kSTEP);
    plugin.setParameter(modulatorParameter(0, STEP::kMode),
                        stateValue(STEP::kSongPosition, STEP::kModeCount));
    plugin.setParameter(modulatorParameter(0, STEP::kGrid), stateValue(5, 30));  // "1/4"
    plugin.suspend();  // the running position starts at 0
}

int songStep(kirra::Plugin& plugin) {
    return static_cast<STEP*>(plugin.getModulator(0))->getCurrentStep();
}

struct HostTime : ::testing::Test {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
};

}  // namespace

TEST_F(HostTime, HostTempoIsLimitedAndIgnoredWithoutSync) {
    for (auto [hostTempo, expected] : {std::pair{20.0, 30.0f},
                                       {500.0, 300.0f},
                                       {0.0, 30.0f},
                                       {-5.0, 30.0f},
                                       {1e300, 300.0f},
                                       {97.5, 97.5f}}) {
        host.script().tempoBpm = hostTempo;
        host.process(Stereo(32), 32);
        EXPECT_FLOAT_EQ(plugin.getCurrentTempo(), expected) << hostTempo;
    }
    host.script().tempoBpm = std::numeric_limits<double>::quiet_NaN();
    host.process(Stereo(32), 32);
    EXPECT_FLOAT_EQ(plugin.getCurrentTempo(), 97.5f);  // the last good one stays

    plugin.setParameter(kTempoSync, stateValue(0, kTempoSyncStates));
    plugin.setParameter(kTempo, 0.5f);
    host.script().tempoBpm = 200.0;
    host.process(Stereo(32), 32);
    EXPECT_FLOAT_EQ(plugin.getCurrentTempo(), 165.0f);  // 30 + 270 * 0.5
}

TEST_F(HostTime, OffsetMovesThePlayingSongBySixteenths) {
    followSong(plugin);
    host.script().playing = true;
    host.script().quarterNotes = 3.2;
    host.process(Stereo(64), 64);
    EXPECT_EQ(songStep(plugin), 3);
    plugin.setParameter(kPpqOffset, 0.5f);  // 8 sixteenths
    host.process(Stereo(64), 64);
    EXPECT_EQ(songStep(plugin), 5);
    plugin.setParameter(kPpqOffset, 1.0f);  // the top: 16 sixteenths
    host.process(Stereo(64), 64);
    EXPECT_EQ(songStep(plugin), 7);

    // Stopped, the plug-in's own count since the suspend rules, without the offset.
    host.script().playing = false;
    host.process(Stereo(64), 64);
    EXPECT_EQ(songStep(plugin), 0);
}

TEST_F(HostTime, WithoutTimeInformationThePositionRunsAtTheLastTempo) {
    followSong(plugin);
    host.script().tempoBpm = 60.0;  // a quarter note per second
    host.process(Stereo(32), 32);
    host.script().provideTime = false;
    host.script().tempoBpm = 200.0;
    host.process(Stereo(5 * 44100), 441);
    EXPECT_FLOAT_EQ(plugin.getCurrentTempo(), 60.0f);
    EXPECT_EQ(songStep(plugin), 5);
}

TEST_F(HostTime, AbsurdPositionsLeaveTheModulatorsFinite) {
    followSong(plugin);
    setModulatorType(plugin, 1, kirra::kLFO);
    routeSlot(plugin, 0, 1, 3, 1.0f);  // MOD2 on OP1's attenuation
    host.script().playing = true;
    const double kInf = std::numeric_limits<double>::infinity();
    for (double position :
         {1e300, -1e300, -3.75, 1e12, kInf, -kInf, std::numeric_limits<double>::quiet_NaN()}) {
        host.script().quarterNotes = position;
        Stereo out = host.process(stereo(noise(256, 5)), 64);
        EXPECT_EQ(countBadSamples(out.left), 0u) << position;
        EXPECT_GE(songStep(plugin), 0);
        EXPECT_LT(songStep(plugin), STEP::kMaxSteps);
    }
}
