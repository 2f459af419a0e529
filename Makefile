# Thin wrapper over the CMake presets. `make demo` sets up and runs the main job,
# `make test` builds and runs the whole test suite.
.PHONY: demo test asan-test setup build bench fuzz clean

demo: setup build
	./build/default/apps/kaldor-ss/kaldor-ss demo

setup:
	@./scripts/setup.sh

build:
	cmake --preset default >/dev/null
	cmake --build --preset default

test: setup build
	ctest --preset default

asan-test: setup
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

bench: setup build
	./scripts/run-bench.sh

clean:
	rm -rf build
