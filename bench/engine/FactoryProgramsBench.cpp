// Every factory program through the whole plug-in at 44.1 kHz in blocks of 512: the realtime
// factor of each ("realtime_x"), so the heaviest can be found and kept well above realtime.
// `kirra_bench --benchmark_filter=FactoryProgram/C` runs bank C alone.

#include <string>

#include "BenchSupport.h"
#include "engine/FactoryBanks.h"

namespace {

void runFactoryProgram(benchmark::State& state, int bank, int program) {
    auto plugin = bench_support::makePlugin();
    plugin->getPrograms().setCurrentBank(bank);
    plugin->selectProgram(program);
    plugin->suspend();
    plugin->resume();
    bench_support::runPlugin(state, *plugin, 512);
}

// One benchmark per program, named "FactoryProgram/C:45 Rotary Speaker Chorale".
const bool kRegistered = [] {
    for (int bank = 0; bank < kirra::kFactoryBankCount; ++bank) {
        for (int program = 0; program < kirra::FactoryBank::kPrograms; ++program) {
            std::string name = std::string("FactoryProgram/") + static_cast<char>('A' + bank) +
                               ":" + std::to_string(program + 1) + " " +
                               kirra::factoryBank(bank).names[program];
            benchmark::RegisterBenchmark(name.c_str(), runFactoryProgram, bank, program)
                ->MinTime(0.2);
        }
    }
    return true;
}();

}  // namespace
