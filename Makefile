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

# sudo only for an ordinary user; root runs the commands as they are. sudo
# resets the environment, so variables the command needs go through env.
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# The builds' sub-makes would announce every directory they enter and leave.
MAKEFLAGS += --no-print-directory

# apt-get and dpkg write their progress here; the terminal gets one line,
# or the log's tail when the installation fails.
DEPS_LOG := $(BUILD)/deps.log

.PHONY: deps configure build run test bench soak check-sanitize install deb screenshots clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  mkdir -p $(BUILD); \
	  echo "Installing Debian packages:" $$missing "(progress in $(DEPS_LOG))"; \
	  if { $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update && \
	       $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	     } >$(DEPS_LOG) 2>&1; then \
	    echo "Installed the Debian packages."; \
	  else \
	    tail -n 30 $(DEPS_LOG); \
	    echo "Installing the Debian packages failed; the whole log is $(DEPS_LOG)."; \
	    exit 1; \
	  fi; \
	fi

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

# The default prefix (/usr/local) belongs to root: an ordinary user installs
# there through sudo, but into a prefix of their own without it.
install: build
	@prefix='$(PREFIX)'; \
	[ -n "$$prefix" ] || prefix=$$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' $(BUILD)/CMakeCache.txt); \
	dir=$$prefix/bin; \
	while [ ! -e "$$dir" ]; do dir=$$(dirname "$$dir"); done; \
	sudo=; [ -w "$$dir" ] || sudo='$(SUDO)'; \
	echo "$${sudo:+$$sudo }cmake --install $(BUILD) --prefix $$prefix"; \
	$$sudo cmake --install $(BUILD) --prefix "$$prefix"

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
