# Debian packages the project needs, by purpose. Sourced by ./run and ./test.
BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-noto-core fonts-dejavu-core
    libx11-dev
)
BENCH_PACKAGES=(libbenchmark-dev)
FULL_TEST_PACKAGES=(
    clang libclang-rt-14-dev
    # the Arabic keyboard in a real X session: virtual display, keyboard maps, key codes
    xvfb x11-xkb-utils xkb-data libxtst-dev
)
HEADLESS_RUN_PACKAGES=(xvfb xauth)
