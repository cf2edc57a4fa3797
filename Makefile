# make run    install what is missing, build and start Kinetrova
# make test   install what is missing, build and run every test
# make sanitize   the same tests built with AddressSanitizer and UBSan
# make bench  build and run the benchmarks; ends with one table of their figures
# make fuzz   build the file readers' fuzzers with clang and run each for FUZZ_SECONDS
# make package   a Release build packed as kinetrova_<version>_<arch>.deb in this folder
# make format   reformat the sources with .clang-format
# make tidy     run the .clang-tidy checks over src/ (needs a configured build)
# make clean  remove the build folders

BUILD ?= build
SAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
PKG_BUILD ?= build-release
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Rebuilds reuse earlier compilations where ccache is installed.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)

.PHONY: all deps configure build run test sanitize bench fuzz package format tidy clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "Kinetrova is built ($(BUILD)/bin/kinetrova) but there is no display to show its window on."; \
	    echo "Run it from a desktop session, or under Xvfb: xvfb-run $(BUILD)/bin/kinetrova"; \
	    exit 1; \
	fi
	$(BUILD)/bin/kinetrova

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKINETROVA_SANITIZE=ON $(LAUNCHER) $(CMAKE_FLAGS)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/bench-report $(BUILD)/bin

# One libFuzzer fuzzer per reader of outside files, with ASan and UBSan; see
# scripts/run-fuzzers for what it prints. Fails on any crash, leak, timeout or OOM.
fuzz:
	@scripts/install-deps --fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DKINETROVA_FUZZ=ON -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target kntr_fuzzers
	JOBS=$(JOBS) scripts/run-fuzzers $(FUZZ_BUILD)/bin $(FUZZ_BUILD)/fuzzing $(FUZZ_SECONDS)

# The Debian package. CPack's DEB generator packs what the install() rules install
# (see dist/CMakeLists.txt): the project builds and installs with CMake anyway, so
# a plain machine needs nothing beyond make and the build dependencies, where a
# debian/ folder would need debhelper and a build in dpkg-buildpackage's layout.
# The compiler and linker flags are Debian's own hardening flags from dpkg-buildflags.
package:
	@scripts/install-deps --package
	cmake -S . -B $(PKG_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	    -DCMAKE_INSTALL_PREFIX=/usr \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	    $$(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) $(CMAKE_FLAGS)
	cmake --build $(PKG_BUILD) -j $(JOBS)
	rm -f $(PKG_BUILD)/kinetrova_*.deb kinetrova_*.deb
	cd $(PKG_BUILD) && cpack -G DEB
	cp $(PKG_BUILD)/kinetrova_*.deb .

SOURCES = $(shell git ls-files '*.cpp' '*.h')

format:
	clang-format -i $(SOURCES)

tidy: configure
	clang-tidy -p $(BUILD) --quiet $(filter src/%.cpp,$(SOURCES))

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD) $(PKG_BUILD)
