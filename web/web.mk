# The lesson for the browser, built with Qt for WebAssembly in $(WEB_BUILD)/
# into its folder page/, which holds the page alone (index.html, sw.js,
# manifest, icons, scripts) and the program (kansu-envelope.js and .wasm,
# with .gz and .br copies): the folder to publish.
#
#   make web-toolchain-prebuilt  unpack the prebuilt Qt for WebAssembly
#   make web                     build the page (installs packages, makes the toolchain)
#   make web-serve               serve it on http://127.0.0.1:8040/ (WEB_PORT=... for another port)
#   make test-web                drive the page in Chromium, Firefox and WebKit
#   make bench-web               the page's figures (a benchmark, never fails)
#   make web-toolchain-pack      pack the recipe's Qt as a prebuilt tarball

WEB_BUILD ?= build-web
WEB_DIR := $(patsubst %/,%,$(dir $(lastword $(MAKEFILE_LIST))))
WEB_CACHE := $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/kansu-envelope
WEB_EMSDK ?= $(WEB_CACHE)/emsdk
WEB_PORT ?= 8040
WEB_JOBS ?= $(shell nproc)

# The Qt for WebAssembly: QT_WASM_PREFIX names one; unset, it is the one
# the recipe (build-qt-wasm.sh) builds into a folder named after its
# configuration (qt-wasm.conf), or else the prebuilt one unpacked by
# web-toolchain-prebuilt, or else the recipe's, built now (about 40 minutes).
QT_WASM_VERSION := $(shell . $(WEB_DIR)/qt-wasm.conf && echo $$QT_WASM_VERSION)
QT_WASM_RECIPE_PREFIX := $(WEB_CACHE)/qt-$(QT_WASM_VERSION)-wasm-$(shell sha256sum $(WEB_DIR)/qt-wasm.conf | cut -c1-10)
QT_WASM_SHARED := $(abspath $(WEB_DIR)/../../shared/toolchains)
QT_WASM_TARBALLS := qt-$(QT_WASM_VERSION)-wasm-lean.tar.gz qt-$(QT_WASM_VERSION)-wasm.tar.gz
QT_WASM_TARBALL ?= $(firstword $(wildcard $(addprefix $(QT_WASM_SHARED)/,$(QT_WASM_TARBALLS))))
# The prebuilt Qt's folder is named after the tarball's contents (the first
# ten hex digits of its SHA-256), as the recipe's is after its
# configuration: a tarball refreshed under the same name is unpacked anew,
# and a folder unpacked from an older one is never taken for it. Expanded
# only where a page's target uses it (the checksum reads the whole tarball).
QT_WASM_PREBUILT_PREFIX = $(if $(wildcard $(QT_WASM_TARBALL)),$(WEB_CACHE)/prebuilt-$(basename $(basename \
                            $(notdir $(QT_WASM_TARBALL))))-$(shell sha256sum $(QT_WASM_TARBALL) | cut -c1-10))
QT_WASM_PREFIX ?= $(patsubst %/bin/qt-cmake,%,$(firstword \
                    $(wildcard $(QT_WASM_RECIPE_PREFIX)/bin/qt-cmake \
                               $(if $(QT_WASM_PREBUILT_PREFIX),$(QT_WASM_PREBUILT_PREFIX)/bin/qt-cmake)) \
                    $(QT_WASM_RECIPE_PREFIX)/bin/qt-cmake))

# Debian's emscripten and node, the host Qt's tools (moc, rcc, uic) and
# CMake files, fonttools for the font's subset, the face itself, the
# browsers for the page's tests and zbarimg, with which they read the share
# panel's QR code; zopfli and brotli compress the program, rsvg-convert
# draws the icons. ninja and dpkg-dev serve only the build of Qt from source.
WEB_PACKAGES := cmake make emscripten nodejs qt6-base-dev qt6-base-dev-tools \
                python3 python3-fonttools fonts-ipafont-gothic chromium \
                firefox-esr webkit2gtk-driver zbar-tools ninja-build dpkg-dev zopfli brotli librsvg2-bin
# The page's QR code library and the page's tests' node modules come with
# npm (npm ci): Debian's npm, unless a node installed otherwise brought its
# own.
WEB_PACKAGES += $(if $(shell command -v npm),,npm)

# emscripten's JavaScript tools find acorn there also under a node that is
# not Debian's.
WEB_ENV := EMSDK=$(WEB_EMSDK) NODE_PATH=/usr/share/nodejs

.PHONY: web web-deps web-emsdk web-toolchain web-toolchain-prebuilt web-toolchain-pack web-serve \
        test-web bench-web web-board-render web-clean

# The Makefile's own installer, for this list of packages.
web-deps:
	@$(MAKE) deps PACKAGES="$(WEB_PACKAGES)" BUILD=$(WEB_BUILD)

web-emsdk: web-deps
	@$(WEB_DIR)/make-emsdk.sh $(WEB_EMSDK)

# A Qt given by QT_WASM_PREFIX is used as it is; the recipe's is built
# when it is not there yet.
web-toolchain: web-emsdk
	@$(TOOLS)/ensure-qt-wasm.sh $(QT_WASM_PREFIX) $(QT_WASM_RECIPE_PREFIX) $(WEB_EMSDK)

web-toolchain-prebuilt:
	@$(WEB_DIR)/unpack-qt-wasm.sh $(QT_WASM_TARBALL) $(QT_WASM_PREBUILT_PREFIX)

# Without a prebuilt tarball there is nothing to unpack: one line says where
# it was looked for and what to do, and make's question mode then ends with
# status 1 and no line of its own (as make run does without a display).
NO_PREBUILT_WHERE = $(or $(QT_WASM_TARBALL),$(firstword $(QT_WASM_TARBALLS)) or $(lastword $(QT_WASM_TARBALLS)) in $(QT_WASM_SHARED)/)
NO_PREBUILT = no prebuilt Qt for WebAssembly: no $(NO_PREBUILT_WHERE); put the shared toolchains there, or run make web, which builds Qt from the recipe (about 40 minutes)
ifneq ($(filter web-toolchain-prebuilt,$(MAKECMDGOALS)),)
ifeq ($(wildcard $(QT_WASM_TARBALL)),)
$(shell printf '%s\n' '$(NO_PREBUILT)' >&2)
MAKEFLAGS += --question
endif
endif

# The recipe's Qt packed as the prebuilt copies are (one top folder), so
# that a prebuilt copy can be refreshed from the recipe:
# $(WEB_BUILD)-toolchain/qt-<version>-wasm-lean.tar.gz.
QT_WASM_PACK := $(WEB_BUILD)-toolchain/qt-$(QT_WASM_VERSION)-wasm-lean.tar.gz
web-toolchain-pack: web-emsdk
	@$(WEB_DIR)/build-qt-wasm.sh $(QT_WASM_RECIPE_PREFIX) $(WEB_EMSDK)
	@$(TOOLS)/pack-qt-wasm.sh $(QT_WASM_RECIPE_PREFIX) $(QT_WASM_PACK)

# A build folder of the page, configured with the Qt above (afresh when it
# was configured with another): $(WEB_CONFIGURE) FOLDER [CMAKE_ARG...].
WEB_CONFIGURE = $(WEB_ENV) $(TOOLS)/configure-web.sh $(QT_WASM_PREFIX)

web: web-toolchain
	$(WEB_CONFIGURE) $(WEB_BUILD)
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j$(WEB_JOBS)

# The page's folder of a build (the page alone, without the build's files).
web_page = $(or $(shell $(TOOLS)/web-page-dir.sh $(1)),$(error $(1) holds no page))

# The page's own files only, on the loopback interface.
web-serve: web
	python3 -m http.server --bind 127.0.0.1 --directory $(call web_page,$(WEB_BUILD)) $(WEB_PORT)

# The desktop's pictures of the board, which the page's must match, and
# the design's facts, which the page tests read, come from small programs
# of the desktop build.
WEB_BOARD_RENDER := $(BUILD)/tests/web/web_board_render
web-board-render: configure
	cmake --build $(BUILD) -j$(JOBS) --target web_board_render design_facts

test-web: web web-board-render
	$(WEB_DIR)/../tests/web/run.sh $(WEB_BUILD) $(WEB_BOARD_RENDER)

# Transfer size, first frame, one 出す: printed, never a failure. Measured
# on a build of its own that also tells the page each 出す's time. The
# floor is built first: building it configures again, which writes the
# toolkit's sample page into the page's folder, and the whole build after
# it takes that away.
WEB_BENCH_BUILD := $(WEB_BUILD)-bench
bench-web: web-toolchain web-board-render
	$(WEB_CONFIGURE) $(WEB_BENCH_BUILD) -DKANSU_WEB_STEP_TIMING=ON
	$(WEB_ENV) cmake --build $(WEB_BENCH_BUILD) --target kansu-floor
	$(WEB_ENV) cmake --build $(WEB_BENCH_BUILD) -j$(WEB_JOBS)
	$(WEB_DIR)/../tests/web/bench.sh $(WEB_BENCH_BUILD) $(BUILD)/tests/design_facts

web-clean:
	rm -rf $(WEB_BUILD) $(WEB_BENCH_BUILD)
