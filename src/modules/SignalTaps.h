#pragma once
// The signals a module may listen to besides its own input, one array per channel.

namespace kirra {

enum SignalTap {
    kTapInput = 0,      // main input after the input gain, this sample
    kTapOperator1 = 1,  // operators 1..4 at 1..4, previous sample
    kTapWetSum = 5,     // sum of the operator-to-output paths, previous sample
    kTapSidechain = 6,  // raw sidechain input, this sample
    kTapCount = 7,
};

}  // namespace kirra
