# Thin driver over CMake; everything builds into build/ (sanitized: build-san/).
BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 4)
CMAKE    ?= cmake
CTEST    ?= ctest

# CMake's build runs make again under this one: without this, every level
# of it prints its "Entering/Leaving directory" lines.
MAKEFLAGS += --no-print-directory

ifeq ($(SANITIZE),1)
BUILD    := build-san
CMAKE_FLAGS += -DSUITE_SANITIZE=ON
endif

.PHONY: all build programs demo test bench readers clean

all: build

$(BUILD)/CMakeCache.txt:
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

# Everything: the programs, and the tests and benchmarks where their libraries are installed.
build: $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j $(JOBS)

# The nine programs alone, into $(BUILD)/bin.
programs: $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j $(JOBS) --target programs

demo: programs
	sh examples/run-demo.sh $(BUILD)

# off <part>,<target>: a part that was configured off (its library missing)
# stops its target with the reason; the folder is configured again first,
# so that a library installed since is found.
off = if [ -f $(BUILD)/$(1).off ]; then $(CMAKE) $(BUILD) >/dev/null 2>&1 || true; fi; \
	if [ -f $(BUILD)/$(1).off ]; then echo "make $(2) cannot run: $$(cat $(BUILD)/$(1).off)"; exit 1; fi

test: $(BUILD)/CMakeCache.txt
	@$(call off,tests,test)
	$(CMAKE) --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && $(CTEST) --output-on-failure -j $(JOBS)

bench: $(BUILD)/CMakeCache.txt
	@$(call off,benchmarks,bench)
	$(CMAKE) --build $(BUILD) -j $(JOBS) --target benchmarks
	$(BUILD)/bin/netfile_bench
	$(BUILD)/bin/hydrosum_bench
	$(BUILD)/bin/surfmesh_bench
	$(BUILD)/bin/appgrid_bench

# Loads the demo's Tecplot, PLOT3D and IGES files in real readers (installs them; not in CI),
# from the demo's folders as they stand: the demo runs only for those that are missing.
readers: programs
	sh tools/readers/prepare.sh $(BUILD)
	sh tools/readers/run.sh $(BUILD)

clean:
	rm -rf build build-san build-bare
