# Newcomer commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
DEMO ?= demo-data

PACKAGES = build-essential cmake qt6-base-dev qt6-qpa-plugins libgl-dev \
           libgtest-dev libgmock-dev fonts-dejavu-core \
           python3 python3-dbfread python3-dbf xvfb xauth poppler-utils locales

.PHONY: deps build test run clean bench

deps:
	$(SUDO) apt-get update
	DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $(PACKAGES)

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: deps build
	@if [ ! -f $(DEMO)/PLM1.dbf ]; then $(BUILD)/tools/pelmark-data/pelmark-data demo $(DEMO); fi
	cd $(DEMO) && ../$(BUILD)/src/app/pelmark

bench: build
	@echo "see bench/README.md"

clean:
	rm -rf $(BUILD)
