# make run        builds Korvel 98 and starts it
# make test       builds everything and runs every test
# make install    builds the programs, then installs them under $(PREFIX) (default /usr/local;
#                 DESTDIR is honoured)
# make uninstall  removes what make install put there (give it the same PREFIX and DESTDIR)
# make package    builds the programs and the Debian package $(BUILD)/korvel98_VERSION_ARCH.deb
# install and package build only what they install, not the tests.
# make sanitize   builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
#                 $(SANITIZE_BUILD) and runs every test there
# make fuzz       builds the fuzz targets with clang and libFuzzer (both sanitizers) in
#                 $(FUZZ_BUILD) and runs each for $(FUZZ_SECONDS) seconds (tools/run-fuzz)
# All but uninstall install the Debian packages that are missing first.

BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: run test build installable deps clean format install uninstall package sanitize fuzz

deps:
	@tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

installable: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target korvel98-installable

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Leak reports from the system's own libraries (fonts, the X and GL stacks) are not ours to mend.
sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DKORVEL_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/leaks.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

fuzz:
	@tools/install-deps.sh clang libclang-rt-dev
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORVEL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	tools/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "Korvel 98 needs a desktop: no DISPLAY or WAYLAND_DISPLAY is set." >&2; exit 1; fi
	$(BUILD)/app/korvel98

# Installing into a folder you may not write to goes through sudo; building never does, so the
# build folder stays yours.
AS_ROOT = $(shell d="$(DESTDIR)$(PREFIX)"; while [ ! -e "$$d" ]; do d=$$(dirname "$$d"); done; \
            [ -w "$$d" ] || echo sudo)

install: installable
	$(AS_ROOT) env DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall:
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	$(AS_ROOT) env DESTDIR="$(DESTDIR)" cmake -DPREFIX="$(PREFIX)" \
	  -DFILES=$(BUILD)/packaging/installed-files.txt -P packaging/uninstall.cmake

package: installable
	cd $(BUILD) && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
