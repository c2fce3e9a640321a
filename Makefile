# Newcomer commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
DEMO ?= demo-data

PACKAGES = build-essential cmake qt6-base-dev qt6-qpa-plugins libgl-dev \
           libgtest-dev libgmock-dev fonts-dejavu-core \
           python3 python3-dbfread python3-dbf xvfb xauth poppler-utils locales \
           file desktop-file-utils dbus at-spi2-core python3-pyatspi xdotool xdg-utils

.PHONY: deps build test run clean bench package package-test

deps:
	$(SUDO) apt-get update
	DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $(PACKAGES)

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory package-test

# The Debian package, in $(BUILD)/package.
package: build
	rm -rf $(BUILD)/package
	cd $(BUILD) && cpack -G DEB -B package
	@ls -l $(BUILD)/package/*.deb

# The package unpacked into a scratch root: its menu entry and the files it names.
package-test: package
	packaging/check-package.sh $(BUILD)/package/pelmark_*.deb

run: deps build
	@if [ ! -f $(DEMO)/PLM1.dbf ]; then $(BUILD)/tools/pelmark-data/pelmark-data demo $(DEMO); fi
	cd $(DEMO) && ../$(BUILD)/src/app/pelmark

bench: build
	@echo "see bench/README.md"

clean:
	rm -rf $(BUILD)
