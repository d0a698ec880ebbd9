# Thin driver over CMake; everything builds into build/ (sanitized: build-san/).
BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 4)
CMAKE    ?= cmake
CTEST    ?= ctest

ifeq ($(SANITIZE),1)
BUILD    := build-san
CMAKE_FLAGS += -DSUITE_SANITIZE=ON
endif

.PHONY: all build demo test bench readers clean

all: build

$(BUILD)/CMakeCache.txt:
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j $(JOBS)

demo: build
	sh examples/run-demo.sh $(BUILD)

test: build
	cd $(BUILD) && $(CTEST) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bin/netfile_bench
	$(BUILD)/bin/hydrosum_bench
	$(BUILD)/bin/surfmesh_bench
	$(BUILD)/bin/appgrid_bench

# Loads the demo's Tecplot, PLOT3D and IGES files in real readers (installs them; not in CI).
readers: demo
	sh tools/readers/run.sh $(BUILD)

clean:
	rm -rf build build-san
