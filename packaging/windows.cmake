# The Windows build: what windeployqt would put beside the two programs, and the teacher's
# installer (CPack's NSIS generator). scripts/windows-build drives it:
#   cmake --install build-windows --prefix DIR   -> the programs, ready to run from DIR
#   cpack --config build-windows/CPackConfig.cmake -> saisie-notes-<version>-setup.exe

# Qt's libraries, plugins and the mingw runtime sit beside the programs: Windows finds a DLL
# in the program's own folder, and Qt its plugins in the folders named after their kind.
set(SAISIE_WINDOWS_BIN .)
install(FILES
        $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        $<TARGET_FILE:Qt6::PrintSupport>
        DESTINATION ${SAISIE_WINDOWS_BIN})

# Printing needs no plugin of its own in Qt 6 (it is in Qt6PrintSupport.dll); the program
# draws its artwork itself, and the image formats serve Qt's own dialogs.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
foreach(plugin QGifPlugin QICOPlugin QJpegPlugin)
    if(TARGET Qt6::${plugin})
        install(FILES $<TARGET_FILE:Qt6::${plugin}> DESTINATION imageformats)
    endif()
endforeach()

# mingw's runtime: asked of the compiler itself, so that the DLLs match the build.
if(MINGW)
    foreach(runtime libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${runtime_path}")
            message(FATAL_ERROR "The compiler does not know where ${runtime} is")
        endif()
        install(FILES ${runtime_path} DESTINATION ${SAISIE_WINDOWS_BIN})
    endforeach()
endif()

# Qt's Arabic for its own dialogs and buttons, which the program looks for in "translations"
# beside it. The translations are the same files on every platform; qtbase 6.4 for mingw
# carries none, and the cross-build takes Debian's (qt6-translations-l10n).
find_file(SAISIE_QT_ARABIC qtbase_ar.qm
          PATHS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS} /usr/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT SAISIE_QT_ARABIC)
    message(FATAL_ERROR "qtbase_ar.qm not found: install Qt's translations "
                        "(Debian: qt6-translations-l10n)")
endif()
install(FILES ${SAISIE_QT_ARABIC} DESTINATION translations)
# The same beside the programs built, where the test programs run.
file(COPY ${SAISIE_QT_ARABIC} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations)

# The program's icon, drawn from its artwork by the Linux build's render-icon and gathered into
# one .ico by scripts/windows-build: in the program itself (its windows, its shortcuts) and in
# the installer.
set(SAISIE_WINDOWS_ICON "" CACHE FILEPATH "The program's icon as an .ico file")
if(SAISIE_WINDOWS_ICON)
    set(icon_resource ${CMAKE_CURRENT_BINARY_DIR}/saisie-notes.rc)
    file(TO_CMAKE_PATH "${SAISIE_WINDOWS_ICON}" icon_path)
    file(WRITE ${icon_resource} "IDI_ICON1 ICON \"${icon_path}\"\n")
    target_sources(saisie-notes PRIVATE ${icon_resource})
    install(FILES ${SAISIE_WINDOWS_ICON} DESTINATION ${SAISIE_WINDOWS_BIN} RENAME saisie-notes.ico)
    set(CPACK_NSIS_MUI_ICON ${SAISIE_WINDOWS_ICON})
    set(CPACK_NSIS_MUI_UNIICON ${SAISIE_WINDOWS_ICON})
    set(CPACK_NSIS_INSTALLED_ICON_NAME saisie-notes.ico)
endif()

# The installer: per machine into Program Files, a Start menu entry and a desktop shortcut
# named as the desktop entry names the program in Arabic, an uninstaller that removes what was
# installed and nothing of the teacher's (the data folder lives under the user's AppData,
# outside the installation), and /S for schools that install on many machines.
set(CPACK_GENERATOR NSIS)
unset(CPACK_PACKAGING_INSTALL_PREFIX) # the Debian package's /usr
set(CPACK_PACKAGE_VENDOR saisie-notes)
set(CPACK_PACKAGE_INSTALL_DIRECTORY saisie-notes)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY saisie-notes)
set(CPACK_PACKAGE_FILE_NAME saisie-notes-${PROJECT_VERSION}-setup)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "رقن الأعداد")
set(CPACK_NSIS_DISPLAY_NAME "رقن الأعداد (saisie-notes ${PROJECT_VERSION})")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The team has no licence text yet: no licence page rather than CPack's placeholder.
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
# CPack's own template, changed where the teacher sees it (packaging/NSIS.template.in says
# how): the pages in Arabic, French or English, Arabic chosen first, and CPack's question about
# an older version in the language chosen; no English "Uninstall" entry in the Start menu (the
# entries below name it in Arabic); no empty key of the vendor left in the registry.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
# NSIS takes single quotes as well as double ones; CPack halves the backslashes once more.
set(shortcut "رقن الأعداد.lnk")
set(uninstall_shortcut "إزالة رقن الأعداد.lnk")
set(program "'$INSTDIR\\\\saisie-notes.exe'")
set(uninstaller "'$INSTDIR\\\\Uninstall.exe'")
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\${shortcut}' ${program}
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\${uninstall_shortcut}' ${uninstaller}
  CreateShortCut '$DESKTOP\\\\${shortcut}' ${program}")
set(CPACK_NSIS_DELETE_ICONS_EXTRA
    "Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\${shortcut}'
  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\${uninstall_shortcut}'
  Delete '$DESKTOP\\\\${shortcut}'")
# The program's settings (Qt's, under HKCU\Software\saisie-notes\saisie-notes: the folders
# the teacher chose, the support telephone the school recorded) stay, as the data folder does;
# but Qt makes the key as soon as the program starts, and an empty one goes with the program.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
    "DeleteRegKey /ifempty HKCU 'Software\\\\saisie-notes\\\\saisie-notes'
  DeleteRegKey /ifempty HKCU 'Software\\\\saisie-notes'")
# NSIS's default target makes a 32-bit installer, which cannot put 64-bit programs in the
# 64-bit Program Files. No line naming the installer system under the pages (a space: an
# empty text brings NSIS's own back); CPack's CPACK_NSIS_BRANDING_TEXT always asks for a
# /TRIM that makensis allows only on Windows.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
BrandingText ' '")
