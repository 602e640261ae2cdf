# The test programs of the Windows build run under Wine (CMAKE_CROSSCOMPILING_EMULATOR). Wine
# hands a program none of the QT_* variables: it passes WINEQT_X on as QT_X instead. Qt Test
# logs to the debugger there unless told to use the standard error.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_dll_folder "${qt_core_dll}" DIRECTORY)
set(wine_path "Z:${qt_dll_folder}")
# The compiler's runtime DLLs, where the compiler keeps them.
foreach(library libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                    OUTPUT_VARIABLE library_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(folder "${library_path}" DIRECTORY)
    # Wine's drive Z: is the root of the Unix file system; the list is Windows's, ";" apart.
    string(APPEND wine_path "\\;Z:${folder}")
endforeach()
# The offscreen platform of Qt for Windows finds fonts only in the one folder it is given:
# Noto's, where the Arabic is.
set(SAISIE_TEST_ENVIRONMENT
    WINEQT_QPA_PLATFORM=offscreen
    WINEQT_FORCE_STDERR_LOGGING=1
    WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/noto
    "WINEPATH=${wine_path}"
    WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
    WINEDEBUG=-all)
