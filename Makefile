# Quick start: `make run` starts the GUI, `make test` runs every test.
# Both install what is missing first (scripts/install-deps.sh).

BUILD    ?= build
GENERATOR = -G Ninja
WERROR    = $(if $(or $(CI),$(filter ON,$(ORVANE_WERROR))),-DORVANE_WERROR=ON,)

.PHONY: all deps configure build run test windows test-windows bench screenshots format format-check tidy clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@bash scripts/run-gui.sh $(BUILD)

test: deps
	@bash scripts/test-all.sh

# orvane-cli.exe and the core and serial tests for Windows, in build-windows/.
windows: deps
	@bash scripts/windows.sh build

# The same, then run under Wine, orvane-cli.exe against the Linux simulator.
test-windows: deps
	@BUILD=$(BUILD) bash scripts/windows.sh test

bench: configure
	@cmake --build $(BUILD) --target benchmarks
	@bash scripts/run-bench.sh $(BUILD)

screenshots: build
	@bash scripts/screenshots.sh $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# clang-tidy over every compiled source (long: about ten minutes on 2 cores).
tidy: build
	@bash scripts/clang-tidy.sh $(BUILD)

format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-*
