# The two commands of the README, and the rest of the house chores.
.PHONY: demo run test test-default test-asan test-tsan bench fuzz build deps sample-card format clean

FUZZ_SECONDS ?= 60

deps:
	scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

demo: build samples/sample-card.img
	scripts/demo

# The desktop program with the sample card attached as if it sat in a card reader.
run: build samples/sample-card.img
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then echo "make run needs a display (DISPLAY or WAYLAND_DISPLAY)"; exit 1; fi
	build/default/bin/pellora --image samples/sample-card.img

samples/sample-card.img: scripts/make-sample-card $(wildcard scripts/sample_card/*.py)
	scripts/make-sample-card $@

# Every test, in the optimised build and under ASan + UBSan; the subsystems that run workers
# (searches, saving, carving, the partition search, the modes) under ThreadSanitizer too.
test: deps
	$(MAKE) test-default test-asan test-tsan

test-default:
	cmake --preset default
	cmake --build --preset default
	ctest --preset default

test-asan:
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

test-tsan:
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

bench:
	scripts/install-deps bench
	cmake --preset bench
	cmake --build --preset bench
	scripts/bench

fuzz:
	scripts/install-deps fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/fuzz $(FUZZ_SECONDS)

sample-card: deps samples/sample-card.img

format:
	git ls-files '*.cpp' '*.hpp' | xargs clang-format -i

clean:
	rm -rf build samples/sample-card.img samples/sample-card.img.files
