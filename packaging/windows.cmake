# Windows: one flat folder with the program, the tools, the drivers and both
# driver hosts, Qt and the compiler's runtime, packed as a portable zip and
# as an NSIS installer (cpack in the build folder). The binding finds the
# drivers and hosts beside the executable, and Qt its plugins there.
set(KM207_WIN_DIR .)

foreach(t W_KM207 km207 km207-sim km207-driverhost KSER410 KIB410 KPB4100 KUB4100 KL4100)
    if(TARGET ${t})
        install(TARGETS ${t} RUNTIME DESTINATION ${KM207_WIN_DIR}
            LIBRARY DESTINATION ${KM207_WIN_DIR})
    endif()
endforeach()
# The 32-bit host for the maker's 32-bit libraries, from the cross build.
if(KM207_DRIVERHOST_EXE)
    install(PROGRAMS ${KM207_DRIVERHOST_EXE} DESTINATION ${KM207_WIN_DIR})
endif()

# Qt's libraries and the plugins the program loads (the Windows platform and
# its native style), and the compiler's runtime, which Qt and the programs
# link to.
set(KM207_WIN_RUNTIME $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler does not know ${dll} (found '${path}')")
    endif()
    list(APPEND KM207_WIN_RUNTIME ${path})
endforeach()
set(KM207_WIN_PLATFORMS $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
set(KM207_WIN_STYLES)
if(TARGET Qt6::QWindowsVistaStylePlugin)
    set(KM207_WIN_STYLES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)
endif()
# Qt's Czech texts (file dialogs, standard buttons): the translation files
# are the same on every platform, so Debian's are taken.
find_file(KM207_QTBASE_CS qtbase_cs.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT KM207_QTBASE_CS)
    message(FATAL_ERROR "qtbase_cs.qm not found (Debian package qt6-translations-l10n)")
endif()
install(FILES ${KM207_WIN_RUNTIME} DESTINATION ${KM207_WIN_DIR})
install(FILES ${KM207_QTBASE_CS} DESTINATION translations)
install(FILES ${KM207_WIN_PLATFORMS} DESTINATION platforms)
if(KM207_WIN_STYLES)
    install(FILES ${KM207_WIN_STYLES} DESTINATION styles)
endif()

# The same beside the programs in the build folder, plus what only the tests
# load (QtTest, the offscreen and minimal platforms), so that every program
# there runs under Wine as it is, like an installed one.
set(KM207_WIN_TEST_PLATFORMS)
foreach(p QOffscreenIntegrationPlugin QMinimalIntegrationPlugin)
    if(TARGET Qt6::${p})
        list(APPEND KM207_WIN_TEST_PLATFORMS $<TARGET_FILE:Qt6::${p}>)
    endif()
endforeach()
# The tests that bind the test driver have a folder of their own
# (KM_WIN_TEST_BIN, tests/CMakeLists.txt), which gets the same.
set(KM207_WIN_COPIES)
foreach(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${KM_WIN_TEST_BIN})
    list(APPEND KM207_WIN_COPIES
        COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/platforms ${bin}/styles ${bin}/translations
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KM207_QTBASE_CS} ${bin}/translations
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KM207_WIN_RUNTIME} $<TARGET_FILE:Qt6::Test>
            ${bin}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KM207_WIN_PLATFORMS}
            ${KM207_WIN_TEST_PLATFORMS} ${bin}/platforms
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KM207_WIN_STYLES} ${bin}/styles)
endforeach()
add_custom_target(km_windows_runtime ALL ${KM207_WIN_COPIES} VERBATIM)

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${KM207_GUIDE}
    DESTINATION ${KM207_WIN_DIR})
install(FILES ${KM207_GUIDE_PICTURES} DESTINATION ${KM207_WIN_DIR}/pictures)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${KM207_WIN_DIR} RENAME LICENSE.txt)
# Qt is LGPL: its licence texts travel with its libraries.
get_filename_component(KM207_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
if(EXISTS ${KM207_QT_PREFIX}/share/km207/qt-licenses)
    install(DIRECTORY ${KM207_QT_PREFIX}/share/km207/qt-licenses/ DESTINATION licenses/qt)
endif()

# Last of the install rules: what is packaged is stripped, the debug
# information kept in the build folder (windows-debug/) for crash reports.
if(MINGW)
    foreach(tool OBJCOPY OBJDUMP STRIP)
        if(NOT CMAKE_${tool})
            message(FATAL_ERROR "No ${tool} of the Windows toolchain")
        endif()
    endforeach()
    install(CODE "set(KM_OBJCOPY \"${CMAKE_OBJCOPY}\")
        set(KM_OBJDUMP \"${CMAKE_OBJDUMP}\")
        set(KM_STRIP \"${CMAKE_STRIP}\")
        set(KM_DEBUG_DIR \"${CMAKE_BINARY_DIR}/windows-debug\")
        include(\"${CMAKE_CURRENT_SOURCE_DIR}/windows-strip.cmake\")")
endif()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME km207)
set(CPACK_PACKAGE_VENDOR ${KM207_VENDOR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration and diagnostic tool for the KM-207 I/O module")
set(CPACK_PACKAGE_FILE_NAME km207-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY KM207)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY KM207)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# Stripped by the install rule above, the compiler's runtime and Qt too.
set(CPACK_STRIP_FILES OFF)
# Start menu: the program under its Czech title, in a folder named without
# the version (the installer's name), so an upgrade keeps one entry. The
# programs lie in the installation folder itself, not in bin/.
set(CPACK_PACKAGE_EXECUTABLES W_KM207 "KM-207 konfigurace")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_DISPLAY_NAME "KM-207 ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "KM-207")
set(CPACK_NSIS_INSTALLED_ICON_NAME W_KM207.exe)
if(TARGET km207_icon)
    set(CPACK_NSIS_MUI_ICON ${KM207_ICON})
    set(CPACK_NSIS_MUI_UNIICON ${KM207_ICON})
endif()
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer: the stock template, built for the amd64 stub, so that
# it installs into the 64-bit Program Files and writes the 64-bit registry
# (and runs where the system refuses 32-bit programs).
# The directives go after the template's byte-order mark, which makes
# makensis read it as UTF-8.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in KM207_NSIS_TEMPLATE)
string(SUBSTRING "${KM207_NSIS_TEMPLATE}" 0 3 KM207_NSIS_BOM)
string(HEX "${KM207_NSIS_BOM}" KM207_NSIS_BOM_HEX)
if(KM207_NSIS_BOM_HEX STREQUAL "efbbbf")
    string(SUBSTRING "${KM207_NSIS_TEMPLATE}" 3 -1 KM207_NSIS_TEMPLATE)
else()
    set(KM207_NSIS_BOM "")
endif()
# The stock uninstaller removes the key of the installation under the
# vendor's key, but leaves the vendor's key itself, empty.
set(KM207_NSIS_VENDOR_KEY
    "DeleteRegKey /ifempty SHCTX \"Software\\@CPACK_PACKAGE_VENDOR@\\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@\"")
string(FIND "${KM207_NSIS_TEMPLATE}" "${KM207_NSIS_VENDOR_KEY}" KM207_AT REVERSE)
if(KM207_AT LESS 0)
    message(FATAL_ERROR "CMake's NSIS template no longer removes the installation's key as expected")
endif()
string(REPLACE "${KM207_NSIS_VENDOR_KEY}"
    "${KM207_NSIS_VENDOR_KEY}\n  DeleteRegKey /ifempty SHCTX \"Software\\@CPACK_PACKAGE_VENDOR@\""
    KM207_NSIS_TEMPLATE "${KM207_NSIS_TEMPLATE}")
file(WRITE ${CMAKE_BINARY_DIR}/cpack-nsis/NSIS.template.in
    "${KM207_NSIS_BOM}Unicode true\nTarget amd64-unicode\n${KM207_NSIS_TEMPLATE}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/cpack-nsis)
# The installer asks which language the program speaks, before its first
# page; a silent installation takes /JAZYK=cs|en (before /D=). The choice
# goes into the settings file beside the program, only when none is there:
# it sets the language of a new installation, and the user's own choice in
# the program (their settings file) overrides it. Czech stays the default.
# Written into CPack's configuration as they stand (NSIS's ${...} and quotes).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_NSIS_DEFINES [=[
  !include FileFunc.nsh
  Var KmJazyk
  !define MUI_CUSTOMFUNCTION_GUIINIT KmZvolJazyk
  Function KmZvolJazyk
    LangDLL::LangDialog "KM-207" "Jazyk programu / Program language" A "Čeština" cs "English" en ""
    Pop $KmJazyk
    StrCmp $KmJazyk "cancel" 0 +2
      Quit
  FunctionEnd]=])
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/JAZYK=" $R1
  IfErrors +2 0
    StrCpy $KmJazyk $R1
  StrCmp $KmJazyk "en" kmJazykZapis
  StrCmp $KmJazyk "cs" kmJazykZapis kmJazykHotovo
  kmJazykZapis:
  IfFileExists "$INSTDIR\W_km207.ini" kmJazykHotovo
  WriteINIStr "$INSTDIR\W_km207.ini" "Program" "Jazyk" "$KmJazyk"
  kmJazykHotovo:]=])
include(CPack)

# The installer of an earlier release as the ones before this one were
# made (its version in the Start menu folder's name), from the same files:
# the Windows stage installs it, then this one over it, and finds one entry
# and one uninstall key (cpack --config CPackConfig-previous.cmake).
file(WRITE ${CMAKE_BINARY_DIR}/CPackConfig-previous.cmake
    "include(\"${CMAKE_BINARY_DIR}/CPackConfig.cmake\")\n"
    "set(CPACK_PACKAGE_VERSION 1.1.0)\n"
    "set(CPACK_PACKAGE_FILE_NAME km207-1.1.0-win64)\n"
    "set(CPACK_PACKAGE_DIRECTORY \"${CMAKE_BINARY_DIR}/previous-installer\")\n"
    "set(CPACK_NSIS_PACKAGE_NAME \"KM-207 1.1.0\")\n"
    "set(CPACK_NSIS_DISPLAY_NAME \"KM-207 1.1.0\")\n")
