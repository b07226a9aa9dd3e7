# Set-up and everyday commands. Every target installs what is missing first.
BUILD ?= build
SAN_BUILD ?= build-san
TSAN_BUILD ?= build-tsan
JOBS ?= $(shell nproc)
# Overridable, so that the set-up steps can be tried out without installing or configuring.
INSTALL_DEPS ?= scripts/install-deps.sh
CMAKE ?= cmake
# Decided by the shell when cmake runs, that is after deps has installed ccache: on a fresh
# machine the first configure already uses it, and the next make does not reconfigure and
# rebuild everything.
LAUNCHER = $$(command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths relative to the checkout, so that every clone shares the compiler cache.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true
export CCACHE_MAXSIZE := 8G
# Warnings are errors in every build these targets make (WERROR= turns it off for a try-out).
WERROR ?= -DVELLUMO_WERROR=ON

.PHONY: deps configure build run test unit-tests sanitize-tests thread-tests bench run-benchmarks soak fuzz format \
  format-check clean install package

deps:
	$(INSTALL_DEPS)

configure: deps
	$(CMAKE) -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR) $(LAUNCHER)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/vellumo

# The program folder in $(PREFIX)/lib/vellumo/, the launcher in $(PREFIX)/bin/, the desktop entry
# and the icons below $(PREFIX)/share/ (DESTDIR= stages it elsewhere).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same layout below /usr, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

unit-tests: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Address and undefined-behaviour sanitizers with clang; also runs the fuzz smoke tests.
sanitize-tests: deps
	$(CMAKE) -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_COMPILER=clang++ -DVELLUMO_SANITIZE=ON -DVELLUMO_FUZZ=ON $(WERROR) $(LAUNCHER)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The thread sanitizer over the tests that drive worker threads (photo decoding, movie painting,
# encoding, sound): clang, its own build folder, only those tests built. Any report fails them.
# Qt is not built with the sanitizer, so what its code touches is not checked (and the locks in
# it are not seen: our hand-overs to Qt's thread pool are told to the sanitizer in the code).
thread-tests: deps
	$(CMAKE) -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DVELLUMO_TSAN=ON $(WERROR) $(LAUNCHER)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target thread_tests
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1" \
	  ctest --output-on-failure -j $(JOBS) -L threads

test: format-check unit-tests sanitize-tests thread-tests

# Fuzzing at scale, outside the test suite: every fuzz target (or those in FUZZ_TARGETS) for
# FUZZ_RUNS executions from its seed corpus in fuzz/corpus/, the inputs it finds kept in
# FUZZ_WORK (so a later run goes on from them). Crashes are left in FUZZ_WORK as crash-* files.
# A unit is a hang only after a minute: on a busy machine a slow one is not a hang. Qt's warnings
# about damaged pictures would fill the logs.
# The fuzz build is optimised (the sanitizer build of the test suite is not), so that millions of
# executions take minutes, not hours.
FUZZ_RUNS ?= 1000000
FUZZ_BUILD ?= build-fuzz
FUZZ_WORK ?= $(CURDIR)/$(FUZZ_BUILD)/fuzz-work
FUZZ_TARGETS ?= unpack ini picture_list combined_template lrc movie photo
fuzz: deps
	$(CMAKE) -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DVELLUMO_SANITIZE=ON -DVELLUMO_FUZZ=ON $(WERROR) $(LAUNCHER)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p "$(FUZZ_WORK)/$$t" || exit 1; \
	  echo "== fuzz_$$t: $(FUZZ_RUNS) executions"; \
	  ( cd "$(FUZZ_WORK)" && QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.gui.imageio*=false" "$(CURDIR)/$(FUZZ_BUILD)/fuzz/fuzz_$$t" \
	    -runs=$(FUZZ_RUNS) -rss_limit_mb=2048 -timeout=60 -print_final_stats=1 \
	    "$(FUZZ_WORK)/$$t" "$(CURDIR)/fuzz/corpus/$$t" > "$(FUZZ_WORK)/$$t.log" 2>&1 ); \
	  status=$$?; \
	  grep -E "stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|ERROR|SUMMARY|Test unit written" \
	    "$(FUZZ_WORK)/$$t.log"; \
	  if [ $$status -ne 0 ]; then echo "fuzz_$$t failed, see $(FUZZ_WORK)/$$t.log"; exit 1; fi; \
	done

bench: build
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	$(MAKE) --no-print-directory run-benchmarks

# Every benchmark program, not the folders beside them; fails when one of them fails. The soak
# runs take a quarter of an hour or more and have a target of their own.
run-benchmarks:
	@set -e; for b in $(BUILD)/bench/bench_*; do \
	  case "$$b" in */bench_soak) continue ;; esac; \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then echo "== $$b"; "$$b"; fi; \
	done

# An hour of preview and a thirty-minute DVD production, memory printed every album minute.
soak: build
	cmake --build $(BUILD) --target bench_soak -j $(JOBS)
	$(BUILD)/bench/bench_soak

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(SAN_BUILD)

# The windows rendered to PNG files under $(BUILD)/screenshots/, on the offscreen platform.
.PHONY: screenshots
screenshots: configure
	cmake --build $(BUILD) --target vellumo-screenshots data_tree -j $(JOBS)
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/vellumo-screenshots $(BUILD)/screenshots

# One contact sheet per installed template, staged with generated sample photos as the preview
# stages it, under $(BUILD)/template-sheets/.
.PHONY: template-sheets
template-sheets: configure
	cmake --build $(BUILD) --target vellumo-tool data_tree -j $(JOBS)
	rm -rf $(BUILD)/template-sheets
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/vellumo-tool template-sheet \
	  --program-folder $(BUILD)/bin --out $(BUILD)/template-sheets
