# make run   builds Korvel 98 and starts it
# make test  builds everything and runs every test
# Both install the Debian packages that are missing first.

BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build deps clean format

deps:
	@tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "Korvel 98 needs a desktop: no DISPLAY or WAYLAND_DISPLAY is set." >&2; exit 1; fi
	$(BUILD)/app/korvel98

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
