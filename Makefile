# Thin wrapper over the CMake presets. `make demo` sets up and runs the main job,
# `make test` builds and runs the whole test suite.
.PHONY: demo gui screenshots test asan-test setup build bench fuzz clean

# The main job: the sample end plate and fin plate evaluated on their sample connections.
KALDOR_SS := ./build/default/apps/kaldor-ss/kaldor-ss
demo: setup build
	@echo "== End plate (sheet EndPlate, module group Plate) on samples/macros/EndPlate-IPE300.json"
	@$(KALDOR_SS) evaluate EndPlate --macro samples/macros/EndPlate-IPE300.json
	@echo "== Fin plate (sheet FinPlate, mapping target BeamWeb) on samples/macros/FinPlate-IPE240.json"
	@$(KALDOR_SS) evaluate FinPlate --macro samples/macros/FinPlate-IPE240.json

# The dialogs on the screen: the sample fin plate sheet in a grid (F3, F5 find and replace).
KALDOR_SS_GUI := ./build/default/apps/kaldor-ss-gui/kaldor-ss-gui
gui: setup build
	$(KALDOR_SS_GUI) sheet "samples/library/Connection Standards/FinPlate.zxs"

# Pictures of the dialogs for docs/, made without a display.
screenshots: setup build
	$(KALDOR_SS_GUI) --screenshot docs/screenshots/stock.png stock
	$(KALDOR_SS_GUI) --screenshot docs/screenshots/mapping.png mapping FinPlate --macro samples/macros/FinPlate-IPE240.json
	$(KALDOR_SS_GUI) --screenshot docs/screenshots/sheet.png sheet "samples/library/Connection Standards/FinPlate.zxs"
	$(KALDOR_SS_GUI) --screenshot docs/screenshots/formulas.png formulas
	$(KALDOR_SS_GUI) --screenshot docs/screenshots/designer.png designer "samples/library/Dialog Templates/Dialog Design/End plate.txt"
	$(KALDOR_SS_GUI) --screenshot docs/screenshots/macro.png macro samples/macros/EndPlate-IPE300.json

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

# Fuzzes every parser for FUZZ_SECONDS each (clang and libFuzzer; see fuzz/README.md).
FUZZ_SECONDS ?= 60
fuzz: setup
	./fuzz/scripts/run_fuzzers.sh $(FUZZ_SECONDS)

clean:
	rm -rf build
