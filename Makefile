# Set-up, build and test in one place: on a fresh Debian 12 machine `make test` installs
# what is missing, builds the normal and the sanitizer configuration and runs every test.

PACKAGES := g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            libcli11-dev libfmt-dev nlohmann-json3-dev \
            libicu-dev libxml2-dev libsodium-dev libzip-dev gettext clang libclang-rt-14-dev locales \
            g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools wine64 libwine-dev \
            dpkg-dev autoconf automake libtool file lintian man-db groff-base zsh
# The parser's locale test reads numbers under a real German locale.
TEST_LOCALE := de_DE.UTF-8
FUZZ_SECONDS ?= 20

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps locale build build-asan windows-deps build-windows test test-default test-asan test-windows fuzz bench demo package test-package lint-package release report-screenshot clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

locale: deps
	@if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$$'; then \
	  echo "Generating locale $(TEST_LOCALE)"; \
	  $(SUDO) sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen; \
	  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $(SUDO) tee -a /etc/locale.gen >/dev/null; \
	  $(SUDO) locale-gen; \
	fi

build: deps
	cmake --preset default
	cmake --build --preset default

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan

test-default: build locale
	ctest --preset default

test-asan: build-asan locale
	ctest --preset asan

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	@for f in build/fuzz/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  echo "== $$f for $(FUZZ_SECONDS) s"; \
	  "$$f" -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -print_final_stats=0 \
	        $$(cat "$$f.args" 2>/dev/null) || exit 1; \
	done

# Windows: the component and its COM server cross-built for x86_64 and tested under Wine
# in a fresh prefix (the core's tests, the server's, the script clients'); i686 is built and
# linked only, as this machine runs no 32-bit programs. The 32-bit type library is completed
# by the 64-bit build's program.
WINDOWS_X86_FLAGS := -DORV_TYPELIB_COMPLETER=$(CURDIR)/build/windows-x64/typelib/CompleteTypeLib.exe

# The engine's libraries (ICU, libxml2, libsodium, libzip, zlib) as static MinGW-w64 archives,
# built from Debian 12's source packages into build/windows-deps/TRIPLET; a later run whose
# scripts and source versions are unchanged returns at once.
WINDOWS_TRIPLETS := x86_64-w64-mingw32 i686-w64-mingw32
windows-deps: deps
	@for triplet in $(WINDOWS_TRIPLETS); do \
	  cmake/windows-deps/build-windows-deps.sh $$triplet || exit 1; \
	done

build-windows: windows-deps
	cmake/wine-session.sh sh -c 'cmake --preset windows-x64 && cmake --build --preset windows-x64'
	cmake --preset windows-x86 $(WINDOWS_X86_FLAGS)
	cmake --build --preset windows-x86

# The i686 check builds what is shipped (the two servers, orvbatch.exe), not the tests.
test-windows: windows-deps
	cmake/wine-session.sh sh -c 'cmake --preset windows-x64 && cmake --build --preset windows-x64 && \
	    ctest --preset windows-x64'
	cmake --preset windows-x86 $(WINDOWS_X86_FLAGS) -DORV_BUILD_TESTS=OFF
	cmake --build --preset windows-x86

test: test-default test-asan fuzz test-windows test-package

# The Debian packages: orvbatch (the program, its man page and completion) and orvbatch-dev
# (headers, static libraries, the CMake package, orvbatch.pc), in build/default/packages.
VERSION := $(shell sed -n 's/^project.OrvBatchAnalyse VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
PACKAGE_DIR := build/default/packages
package: build
	cmake --build --preset default --target package

# Lintian's verdict; what it may say is in cmake/packaging/*.lintian-overrides, with the reason.
lint-package: package
	lintian --fail-on error,warning $(PACKAGE_DIR)/orvbatch_$(VERSION)-*.deb \
	    $(PACKAGE_DIR)/orvbatch-dev_$(VERSION)-*.deb

# The packages unpacked and checked; as root also installed, used (the demo, a CMake and a
# pkg-config client) and purged.
test-package: lint-package
	tests/package/package_test.sh build/default . $(VERSION)

# The source archive of HEAD and, when the Windows builds exist, a zip of the COM server DLLs,
# in build/release.
release:
	cmake/release.sh . build/release

bench: build
	@status=0; for b in build/default/bench/bench_*; do \
	  [ -x "$$b" ] || continue; "$$b" || status=1; \
	done; exit $$status

# The bundled example analysed as a user would: the table with its quote on the terminal, the
# logs, the exports, the quote as CSV and an HTML report in build/demo.
ORVBATCH := build/default/src/cli/orvbatch
DEMO := build/demo
demo: deps
	cmake --preset default
	cmake --build --preset default --target orvbatch
	@mkdir -p $(DEMO)
	$(ORVBATCH) analyse --tm examples/memory.tmx --user demo --target de-DE \
	    --log $(DEMO)/analysis.log --report $(DEMO)/report.html \
	    --export-unknown $(DEMO)/unknown.txt --export-frequent $(DEMO)/frequent.txt \
	    --occurrences 2 --project-tm $(DEMO)/project.tmx \
	    --rates examples/rates.ini --quote $(DEMO)/quote.csv examples/docs
	@echo "Written: $(DEMO)/analysis.log, analysis.csv, report.html, quote.csv, unknown.txt, frequent.txt, project.tmx"

# The picture of the demo's HTML report in the README, taken by headless Chromium.
report-screenshot: demo
	@dpkg-query -W -f='$${Status}' chromium 2>/dev/null | grep -q 'install ok installed' || \
	  { $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends chromium; }
	chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1000,1400 \
	    --screenshot=docs/report-example.png file://$(CURDIR)/$(DEMO)/report.html

clean:
	rm -rf build
