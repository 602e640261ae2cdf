# Debian packages the project needs, by purpose. Sourced by ./run and ./test.
BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # the Excel copy of a grade sheet
    libxlsxwriter-dev
    # the Excel workbooks a class's grades are imported from
    libminizip-dev
    fonts-noto-core fonts-dejavu-core
    # Qt's own windows (file dialogs, standard buttons, context menus) in Arabic
    qt6-translations-l10n
    libx11-dev
)
BENCH_PACKAGES=(libbenchmark-dev openbox)
FULL_TEST_PACKAGES=(
    clang libclang-rt-14-dev
    # the Arabic keyboard in a real X session: virtual display, keyboard maps, key codes
    xvfb x11-xkb-utils xkb-data libxtst-dev
    # the Debian package: CPack reads the dependencies with dpkg-shlibdeps and file, the
    # check validates the menu entry
    dpkg-dev file desktop-file-utils lintian
    # a screen reader's walk through the program: the accessibility bus, a D-Bus session of
    # its own, Debian's Python client of the bus, and keys typed on the virtual display
    at-spi2-core dbus-daemon python3-pyatspi xdotool
    # the order in which a save writes, flushes and renames, traced
    strace
    # the Excel copy's chart read by LibreOffice too, as teachers open it
    libreoffice-calc-nogui
)
HEADLESS_RUN_PACKAGES=(xvfb xauth)
# The renderer's tests read the card's PDF back with pdftotext; the Excel copy's test reads
# the workbook back with openpyxl.
TEST_PACKAGES=(poppler-utils python3-openpyxl)
# The Windows build (scripts/windows-build): the mingw-w64 cross compiler, Wine to run what it
# builds (the tests, the installer), NSIS for the installer, a virtual display for the window
# check, ImageMagick for its screenshot, Python to read the texts the installer shows, and
# Ghostscript and poppler to set the card printed through Wine's printer driver beside its PDF.
WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix mingw-w64-tools qt6-base-dev-tools cmake ninja-build
    wine wine64 nsis xvfb xauth xdotool imagemagick fonts-noto-core python3 ghostscript
    poppler-utils
)
# Qt for mingw-w64 built from Debian's source of qt6-base (scripts/windows-qt): apt-get source
# unpacks it with dpkg-source.
WINDOWS_QT_PACKAGES=(
    g++-mingw-w64-x86-64-posix mingw-w64-tools qt6-base-dev-tools cmake ninja-build dpkg-dev
    xz-utils bzip2
)
# ./test --full prints a card through a real CUPS queue (scripts/cups-test-queue).
CUPS_TEST_PACKAGES=(cups cups-client)
