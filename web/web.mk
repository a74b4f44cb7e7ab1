# The lesson for the browser, built with Qt for WebAssembly into
# $(WEB_BUILD)/: index.html, kansu-envelope.js and .wasm, qtloader.js.
#
#   make web                     build it (installs packages, makes the toolchain)
#   make web-serve               serve it on http://127.0.0.1:8040/
#   make test-web                drive the page in headless Chromium
#   make bench-web               the page's figures (a benchmark, never fails)
#   make web-toolchain-prebuilt  unpack a prebuilt Qt for WebAssembly
#
# QT_WASM_PREFIX names the Qt for WebAssembly to build with. Unset, it is a
# Qt in the cache folder below, built once per machine from Debian's source
# package (about 40 minutes), or unpacked by web-toolchain-prebuilt.

WEB_BUILD ?= build-web
WEB_DIR := $(patsubst %/,%,$(dir $(lastword $(MAKEFILE_LIST))))
WEB_CACHE := $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/kansu-envelope
QT_WASM_PREFIX ?= $(WEB_CACHE)/qt-6.4.2-wasm
WEB_EMSDK ?= $(WEB_CACHE)/emsdk
QT_WASM_TARBALL ?= $(abspath $(WEB_DIR)/../../shared/toolchains/qt-6.4.2-wasm.tar.gz)
WEB_PORT ?= 8040
WEB_JOBS ?= $(shell nproc)

# Debian's emscripten and node, the host Qt's tools (moc, rcc, uic) and
# CMake files, fonttools for the font's subset, the face itself, a browser
# for the page's tests and zbarimg, with which they read the share panel's
# QR code. ninja and dpkg-dev serve only the build of Qt from source.
WEB_PACKAGES := cmake make emscripten nodejs qt6-base-dev qt6-base-dev-tools \
                python3 python3-fonttools fonts-ipafont-gothic chromium \
                zbar-tools ninja-build dpkg-dev
# The page's QR code library and the page's tests' node modules come with
# npm (npm ci): Debian's npm, unless a node installed otherwise brought its
# own.
WEB_PACKAGES += $(if $(shell command -v npm),,npm)

# emscripten's JavaScript tools find acorn there also under a node that is
# not Debian's.
WEB_ENV := EMSDK=$(WEB_EMSDK) NODE_PATH=/usr/share/nodejs

.PHONY: web web-deps web-emsdk web-toolchain web-toolchain-prebuilt web-serve test-web bench-web \
        web-board-render web-clean

# The Makefile's own installer, for this list of packages.
web-deps:
	@$(MAKE) deps PACKAGES="$(WEB_PACKAGES)" BUILD=$(WEB_BUILD)

web-emsdk: web-deps
	@$(WEB_DIR)/make-emsdk.sh $(WEB_EMSDK)

# A Qt given by QT_WASM_PREFIX is used as it is; the one in the cache is
# built when it is not there yet.
web-toolchain: web-emsdk
	@if [ ! -x "$(QT_WASM_PREFIX)/bin/qt-cmake" ]; then \
	  if [ "$(QT_WASM_PREFIX)" != "$(WEB_CACHE)/qt-6.4.2-wasm" ]; then \
	    echo "QT_WASM_PREFIX=$(QT_WASM_PREFIX) holds no Qt for WebAssembly (no bin/qt-cmake)"; exit 1; \
	  fi; \
	  echo "Building Qt for WebAssembly into $(QT_WASM_PREFIX) (once per machine, about 40 minutes)"; \
	  $(WEB_DIR)/build-qt-wasm.sh $(QT_WASM_PREFIX) $(WEB_EMSDK); \
	fi

web-toolchain-prebuilt:
	@$(WEB_DIR)/unpack-qt-wasm.sh $(QT_WASM_TARBALL) $(QT_WASM_PREFIX)

web: web-toolchain
	$(WEB_ENV) $(QT_WASM_PREFIX)/bin/qt-cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j$(WEB_JOBS)

# The page's own files only, on the loopback interface.
web-serve: web
	python3 -m http.server --bind 127.0.0.1 --directory $(WEB_BUILD) $(WEB_PORT)

# The desktop's pictures of the board, which the page's must match, come
# from a small program of the desktop build.
WEB_BOARD_RENDER := $(BUILD)/tests/web/web_board_render
web-board-render: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target web_board_render

test-web: web web-board-render
	$(WEB_DIR)/../tests/web/run.sh $(WEB_BUILD) $(WEB_BOARD_RENDER)

# Transfer size, first frame, one 出す: printed, never a failure.
bench-web: web
	$(WEB_DIR)/../tests/web/bench.sh $(WEB_BUILD)

web-clean:
	rm -rf $(WEB_BUILD)
