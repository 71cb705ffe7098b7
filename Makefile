# Kirra: `make run` renders the demo through the plug-in, `make test` runs every test.
# Both install missing Debian packages first (scripts/install-deps.sh).

BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz target runs: `make fuzz` for a real search, a few in `make test`.
FUZZ_SECONDS ?= 120
FUZZ_SMOKE_SECONDS ?= 5
GENERATOR := -G Ninja
JOBS ?= $(shell nproc)
# ON or OFF sets KIRRA_WERROR in every build directory configured; empty leaves each as it is.
WERROR ?=
WERROR_FLAG = $(if $(WERROR),-DKIRRA_WERROR=$(WERROR))

.PHONY: all deps configure build run test test-asan test-tsan stress bench fuzz format \
	format-check tidy install uninstall clean

all: build

# `make test` is what CI runs, and there warnings are errors.
test: WERROR := ON

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release $(WERROR_FLAG) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The demo plays through a showcase program from the factory banks.
SHOWCASE ?= C:45

# Builds only what it runs: the host and the plug-in it loads.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target kirra kirra_plugin
	@mkdir -p out
	@$(BUILD)/kirra render out/demo.wav --program $(SHOWCASE) --tail 2
	@$(BUILD)/kirra screenshot out/editor.png --program $(SHOWCASE)

test: format-check build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS) WERROR=$(WERROR)
	@$(MAKE) --no-print-directory test-asan WERROR=$(WERROR)
	@$(MAKE) --no-print-directory test-tsan WERROR=$(WERROR)

# The unit, host and editor tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# (the editor's window tests run under Xvfb in both passes, as a CTest test of their own).
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKIRRA_SANITIZE=ON -DKIRRA_BENCH=OFF $(WERROR_FLAG) > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target kirra_tests kirra_gui_tests
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The tests that run threads against each other (audio against program, type and parameter
# changes, the editor against a host thread) with ThreadSanitizer. Only their executable is
# built. The editor's drawing goes through the distribution's uninstrumented cairo, and the tool
# reports nothing there today, so nothing is suppressed.
TSAN_FILTER = EngineThreads.*:EditorUnderHostChanges.*
test-tsan: deps
	@cmake -S . -B $(TSAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKIRRA_TSAN=ON -DKIRRA_BENCH=OFF $(WERROR_FLAG) > /dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target kirra_thread_tests
	@TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
		xvfb-run -a -s "-screen 0 1024x768x24" $(TSAN_BUILD)/kirra_thread_tests \
		--gtest_filter='$(TSAN_FILTER)'

# The stress host at full length: ten seconds a phase, the editor under Xvfb.
stress: build
	@xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/kirra_stress --plugin $(BUILD)/kirra.so

# The libFuzzer targets under fuzz/, built with clang, each run for FUZZ_SECONDS; their corpora
# grow in $(FUZZ_BUILD)/corpus between runs.
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DKIRRA_FUZZ=ON -DKIRRA_BENCH=OFF -DKIRRA_GUI=OFF \
		$(WERROR_FLAG) > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target kirra_fuzz
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	@$(BUILD)/kirra_bench
	@$(BUILD)/kirra bench --block 32
	@$(BUILD)/kirra bench --block 512

SOURCES = git ls-files '*.cpp' '*.h'

format:
	@$(SOURCES) | xargs clang-format -i

# Fails on the first source clang-format would change; `make format` fixes them.
format-check: deps
	@$(SOURCES) | xargs clang-format --dry-run --Werror

# clang-tidy (.clang-tidy) over every source in the build's compile database, the generated
# factory banks aside. It takes minutes, so it runs as a CI step of its own, not in `make test`.
tidy: configure
	@run-clang-tidy -p $(BUILD) -j $(JOBS) -quiet '$(CURDIR)/(src|tools|tests|bench|fuzz)/'

# Installs the plug-in in both formats: the VST .so into ~/.vst and the LV2 bundle kirra.lv2
# into ~/.lv2, or into $(PREFIX)/lib/vst and $(PREFIX)/lib/lv2 when PREFIX is given. Each install
# keeps the list of files it wrote, per destination, so uninstall removes exactly those (and the
# bundle's folder once it is empty).
PREFIX ?=
INSTALL_PREFIX = $(if $(PREFIX),$(PREFIX),$(HOME))
INSTALL_VST_DIR = $(if $(PREFIX),lib/vst,.vst)
INSTALL_LV2_DIR = $(if $(PREFIX),lib/lv2,.lv2)
INSTALL_MANIFEST = $(BUILD)/installed$(subst /,_,$(abspath $(INSTALL_PREFIX))).txt

install: configure
	@cmake -S . -B $(BUILD) -DKIRRA_VST_DIR=$(INSTALL_VST_DIR) \
		-DKIRRA_LV2_DIR=$(INSTALL_LV2_DIR) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target kirra_plugin kirra_lv2_bundle
	@cmake --install $(BUILD) --prefix $(INSTALL_PREFIX)
	@cp $(BUILD)/install_manifest.txt $(INSTALL_MANIFEST)

uninstall:
	@if [ -f $(INSTALL_MANIFEST) ]; then \
		xargs -r -d '\n' rm -fv < $(INSTALL_MANIFEST) && \
		{ sed -n 's|/[^/]*$$||p' $(INSTALL_MANIFEST) | grep '\.lv2$$' | sort -u | \
			xargs -r -d '\n' rmdir --ignore-fail-on-non-empty; } ; \
		rm -f $(INSTALL_MANIFEST); \
	else \
		echo "No install into $(INSTALL_PREFIX) recorded in $(BUILD)/"; \
	fi

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) out
