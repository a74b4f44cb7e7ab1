# The two set-up commands of the README: `make run` and `make test`.
# Everything the build, the tests and the fonts need comes from Debian's
# packages and is installed here when missing.

BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24"

PACKAGES := cmake make g++ qt6-base-dev libgl-dev fonts-ipafont-gothic \
            xvfb xauth xdotool imagemagick x11-utils \
            desktop-file-utils appstream dbus-daemon at-spi2-core

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build run test bench soak check-sanitize install clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: deps build
	./$(BUILD)/kansu-envelope

# Every test, then every test again on a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.
test: deps build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	$(MAKE) --no-print-directory check-sanitize

bench: deps build
	$(XVFB) cmake --build $(BUILD) --target run-bench

soak: deps build
	cd $(BUILD) && KANSU_SEED=20240611 KANSU_SOAK_ACTIONS=100000 QT_QPA_PLATFORM=offscreen ./tests/tst_random_pupil

check-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKANSU_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
