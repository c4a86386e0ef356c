# Thin wrappers around CMake. `make run` and `make test` are all a newcomer needs.
BUILD     ?= build
RUN_HOME  ?= $(BUILD)/home
JOBS      ?= $(shell nproc)

.PHONY: all deps configure build run test test-sanitize bench package clean fresh-home

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON

configure: deps $(BUILD)/build.ninja

# Checking the packages takes a moment when nothing is missing, so every build does it.
build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found. Run the program under a virtual X server instead:"; \
	  echo "  xvfb-run -a -s '-screen 0 1280x800x24' make run"; \
	  exit 1; \
	fi
	mkdir -p $(RUN_HOME)
	LANYAN_HOME=$(abspath $(RUN_HOME)) $(BUILD)/lanyan

# Forget the data home of `make run`; the next run seeds a new one.
fresh-home:
	rm -rf $(RUN_HOME)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder
# of its own. Leaks inside the system libraries are listed in sanitize/lsan.supp. Without
# intercept_tls_get_addr=0, LeakSanitizer's own tracer crashes at the exit of some window tests:
# it reads dynamic TLS entries of threads that are gone.
ASAN_BUILD ?= $(BUILD)-asan
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DLANYAN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 \
	  LSAN_OPTIONS=suppressions=$(abspath sanitize/lsan.supp):print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLANYAN_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	@# Only the programs: the folders beside them (bench_*_autogen) are not benchmarks.
	@for b in $(BUILD)-bench/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	  "$$b" || { echo "benchmark failed: $$b"; exit 1; }; \
	done

# The Debian package of what `build` holds: $(BUILD)/lanyan_<version>_amd64.deb.
package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(ASAN_BUILD)
