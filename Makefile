# Kirra: `make run` renders the demo through the plug-in, `make test` runs every test.
# Both install missing Debian packages first (scripts/install-deps.sh).

BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz target runs: `make fuzz` for a real search, a few in `make test`.
FUZZ_SECONDS ?= 120
FUZZ_SMOKE_SECONDS ?= 5
GENERATOR := -G Ninja
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-unit test-asan bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The demo plays through a showcase program from the factory banks.
SHOWCASE ?= C:45

run: build
	@mkdir -p out
	@$(BUILD)/kirra render out/demo.wav --program $(SHOWCASE) --tail 2
	@$(BUILD)/kirra screenshot out/editor.png --program $(SHOWCASE)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS)
	@$(MAKE) --no-print-directory test-asan

# The unit, host and editor tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# (the editor's window tests run under Xvfb in both passes, as a CTest test of their own).
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKIRRA_SANITIZE=ON -DKIRRA_BENCH=OFF > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target kirra_tests kirra_gui_tests
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The libFuzzer targets under fuzz/, built with clang, each run for FUZZ_SECONDS; their corpora
# grow in $(FUZZ_BUILD)/corpus between runs.
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DKIRRA_FUZZ=ON -DKIRRA_BENCH=OFF -DKIRRA_GUI=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target kirra_fuzz
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	@$(BUILD)/kirra_bench
	@$(BUILD)/kirra bench --block 32
	@$(BUILD)/kirra bench --block 512

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) out
