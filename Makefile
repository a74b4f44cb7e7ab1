# The two set-up commands of the README: `make run` and `make test`.
# Everything the build, the tests and the fonts need comes from Debian's
# packages and is installed here when missing.

BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24"

# Qt's CMake files look for the keyboard library's headers
# (libxkbcommon-dev) at every configure. The window tests drive the program
# under window managers too (openbox, xfwm4, wmctrl), read window properties
# (x11-utils) and end it on a Wayland compositor (weston, qt6-wayland); make
# deb computes the package's dependencies (dpkg-dev) and its test runs
# lintian. The pen test reports a pen's events as the window system does,
# through Qt's private GUI headers (qt6-base-private-dev).
PACKAGES := cmake make g++ qt6-base-dev qt6-base-private-dev libgl-dev libxkbcommon-dev fonts-ipafont-gothic \
            xvfb xauth xdotool imagemagick x11-utils openbox xfwm4 wmctrl \
            desktop-file-utils appstream dbus-daemon at-spi2-core \
            weston qt6-wayland dpkg-dev lintian

# The scripts the targets call; sudo, where they need it, only for an
# ordinary user.
TOOLS := tools

# The builds' sub-makes would announce every directory they enter and leave.
MAKEFLAGS += --no-print-directory

# apt-get and dpkg write their progress here; the terminal gets one line,
# or the log's tail when the installation fails.
DEPS_LOG := $(BUILD)/deps.log

.PHONY: deps configure build run test bench soak check-sanitize install deb screenshots clean

deps:
	@$(TOOLS)/install-packages.sh $(DEPS_LOG) $(PACKAGES)

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Everything: the program, the tests and the benchmarks.
build: configure
	cmake --build $(BUILD) -j$(JOBS)

# Without a display Qt would only fail with a hint to reinstall; say in one
# line what to run instead, before installing or building anything. make's
# question mode then runs nothing and ends with status 1, so that line is
# all the terminal shows.
NO_DISPLAY := no display (DISPLAY and WAYLAND_DISPLAY are unset): run $(XVFB) make run instead (make deps installs xvfb-run)
ifneq ($(filter run,$(MAKECMDGOALS)),)
ifeq ($(DISPLAY)$(WAYLAND_DISPLAY),)
$(shell printf '%s\n' '$(NO_DISPLAY)' >&2)
MAKEFLAGS += --question
endif
endif

# The program alone: the window opens as soon as it is linked.
run: configure
	cmake --build $(BUILD) -j$(JOBS) --target kansu-envelope
	./$(BUILD)/kansu-envelope

# Every test, then every test again on a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.
test: deps build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	$(MAKE) --no-print-directory check-sanitize

# The start-up benchmark counts instructions with callgrind.
bench: deps build
	@$(MAKE) deps PACKAGES=valgrind
	$(XVFB) cmake --build $(BUILD) --target run-bench

soak: deps build
	cd $(BUILD) && KANSU_SEED=20240611 KANSU_SOAK_ACTIONS=100000 QT_QPA_PLATFORM=offscreen ./tests/tst_random_pupil

# The program checks for leaks as it ends; the list of the suppressions that
# check used would go to its stderr, which the window tests expect empty.
check-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKANSU_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

# Into PREFIX, or else the prefix the build was configured with
# (/usr/local), through sudo where an ordinary user may not write.
install: build
	@$(TOOLS)/install-program.sh $(BUILD) '$(PREFIX)'

# The Debian package for installing on many machines: $(BUILD)/kansu-envelope_*.deb,
# installed with `apt install ./file.deb`.
deb: deps build
	cd $(BUILD) && cpack -G DEB

# The metainfo's screenshots, made from the program under its own Xvfb.
screenshots: deps build
	packaging/screenshots/make-screenshots.sh $(BUILD)/kansu-envelope packaging/screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# The lesson in the browser: make web, make web-serve, make web-toolchain-prebuilt.
include web/web.mk
