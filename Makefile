# make run        builds Korvel 98 and starts it
# make test       builds everything and runs every test
# make install    builds the programs, then installs them under $(PREFIX) (default /usr/local;
#                 DESTDIR is honoured)
# make uninstall  removes what make install put there (give it the same PREFIX and DESTDIR)
# make package    builds the programs and the Debian package $(BUILD)/korvel98_VERSION_ARCH.deb
# install and package build only what they install, not the tests.
# All but uninstall install the Debian packages that are missing first.

BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: run test build installable deps clean format install uninstall package

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
