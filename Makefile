# Quick start: `make run` builds and starts the program, `make test` builds and runs every test.
# Both install missing Debian packages first (scripts/setup-deps.sh).

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
LINT_BUILD ?= build-lint
# The soak: seconds per seed and window system (SECONDS=S for one run), seeds (SEED=N for one).
SOAK_SECONDS ?= 20
SOAK_SEEDS ?= 1 2
# The tests run side by side, as many at a time as there are processors.
TEST_JOBS  ?= $(shell nproc)
CONFIGURE  := cmake -G Ninja -Wno-dev
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps build run lint test test-normal asan test-asan soak bench fuzz screenshots package clean

all: build

deps:
	@scripts/setup-deps.sh

build: deps
	@$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERBARO_WERROR=ON >/dev/null
	@cmake --build $(BUILD)

run: build
	@$(BUILD)/src/app/verbaro

# Style and static checks (scripts/lint.sh); fails on any finding.
lint: deps
	@scripts/lint.sh $(LINT_BUILD)

# The style and static checks come first, so that CI enforces them too.
test: lint test-normal test-asan

test-normal: build
	@cd $(BUILD) && ctest --output-on-failure -j $(TEST_JOBS)

asan: deps
	@$(CONFIGURE) -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVERBARO_WERROR=ON -DVERBARO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD)

test-asan: asan
	@cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(TEST_JOBS)

# A restless user for the installed sanitizer build, on Xvfb with openbox and on a headless sway
# (scripts/soak.py); not part of `make test`. SYSTEMS=x11 or SYSTEMS=wayland for one of them.
soak: asan
	@cmake --install $(ASAN_BUILD) --prefix $(ASAN_BUILD)/soak-root >/dev/null
	@scripts/soak.py --prefix $(ASAN_BUILD)/soak-root --suppressions tests/support/lsan.supp \
		--seeds $(or $(SEED),$(SOAK_SEEDS)) --seconds $(or $(SECONDS),$(SOAK_SECONDS)) $(if $(SYSTEMS),--systems $(SYSTEMS))

bench: deps
	@$(CONFIGURE) -S . -B $(BUILD)-release -DCMAKE_BUILD_TYPE=Release -DVERBARO_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)-release
	@mkdir -p -m 700 /tmp/verbaro-runtime-$$(id -u)
	@XDG_RUNTIME_DIR=$${XDG_RUNTIME_DIR:-/tmp/verbaro-runtime-$$(id -u)} cmake --build $(BUILD)-release --target run-bench -j 1

fuzz:
	@scripts/setup-deps.sh clang libclang-rt-14-dev
	@CXX=clang++ $(CONFIGURE) -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERBARO_FUZZ=ON -DFUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	@cmake --build $(FUZZ_BUILD)
	@cmake --build $(FUZZ_BUILD) --target run-fuzz

screenshots: build
	@cmake --build $(BUILD) --target screenshots

package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BUILD)-release $(FUZZ_BUILD) $(LINT_BUILD)
