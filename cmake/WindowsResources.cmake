# Windows resources of the project's programs and DLLs: version information
# (product, version, company and copyright from the project), an
# application manifest for programs (asInvoker, the supported systems, per
# monitor DPI awareness where asked), and the program's icon, rendered at
# build time from packaging/cz.km207.W_KM207.svg into a .ico of several
# sizes (rsvg-convert and icotool, scripts/packages.txt).
#
#   km207_windows_resources(TARGET DESCRIPTION [ICON] [DPI_AWARE])
#
# A target this build does not make (Qt missing) is passed over.
# Included by the 64-bit build and by the 32-bit one in cmake/win32.
get_filename_component(KM207_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
enable_language(RC)

# Company and copyright as the licence states them: "Copyright (c) YEAR HOLDER".
file(STRINGS ${KM207_ROOT}/LICENSE KM207_COPYRIGHT_LINE REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT KM207_COPYRIGHT_LINE MATCHES "^Copyright \\(c\\) ([0-9]+) (.+)$")
    message(FATAL_ERROR "LICENSE has no line 'Copyright (c) YEAR HOLDER'")
endif()
set(KM207_COPYRIGHT "Copyright © ${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
set(KM207_VENDOR "${CMAKE_MATCH_2}")
set(KM207_PRODUCT "KM-207")

set(KM207_RESOURCE_DIR ${CMAKE_BINARY_DIR}/windows-resources)
set(KM207_ICON ${KM207_RESOURCE_DIR}/W_KM207.ico)
find_program(KM_RSVG_CONVERT rsvg-convert)
find_program(KM_ICOTOOL icotool)
if(NOT KM_RSVG_CONVERT OR NOT KM_ICOTOOL)
    # A build on Windows itself, say: version information and manifests only.
    message(WARNING "rsvg-convert or icotool missing: the programs get no icon")
endif()
set(KM207_ICON_SIZES 16 20 24 32 40 48 64 256)
set(KM207_ICON_COMMANDS)
set(KM207_ICON_PNGS)
foreach(size ${KM207_ICON_SIZES})
    set(png ${KM207_RESOURCE_DIR}/icon-${size}.png)
    list(APPEND KM207_ICON_COMMANDS COMMAND ${KM_RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
        ${KM207_ROOT}/packaging/cz.km207.W_KM207.svg)
    # The largest kept as PNG inside the .ico, as Windows expects of 256 px.
    if(size EQUAL 256)
        list(APPEND KM207_ICON_PNGS --raw=${png})
    else()
        list(APPEND KM207_ICON_PNGS ${png})
    endif()
endforeach()
if(KM_RSVG_CONVERT AND KM_ICOTOOL)
    add_custom_command(OUTPUT ${KM207_ICON}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${KM207_RESOURCE_DIR}
        ${KM207_ICON_COMMANDS}
        COMMAND ${KM_ICOTOOL} -c -o ${KM207_ICON} ${KM207_ICON_PNGS}
        DEPENDS ${KM207_ROOT}/packaging/cz.km207.W_KM207.svg
        COMMENT "Rendering the program's icon" VERBATIM)
    add_custom_target(km207_icon DEPENDS ${KM207_ICON})
endif()

function(km207_windows_resources target description)
    if(NOT TARGET ${target})
        return()
    endif()
    cmake_parse_arguments(ARG "ICON;DPI_AWARE" "" "" ${ARGN})
    get_target_property(type ${target} TYPE)
    get_target_property(name ${target} OUTPUT_NAME)
    if(NOT name)
        set(name ${target})
    endif()
    get_target_property(suffix ${target} SUFFIX)
    set(KM_RC_NAME ${name})
    set(KM_RC_DESCRIPTION "${description}")
    set(KM_RC_ICON "")
    set(KM_RC_MANIFEST "")
    set(KM_RC_DPI "")
    if(type STREQUAL "EXECUTABLE")
        set(KM_RC_FILETYPE VFT_APP)
        set(KM_RC_FILE ${name}.exe)
        if(ARG_DPI_AWARE)
            string(CONCAT KM_RC_DPI "\n"
                "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
                "    <windowsSettings>\n"
                "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                "true/pm</dpiAware>\n"
                "      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                "PerMonitorV2, PerMonitor</dpiAwareness>\n"
                "    </windowsSettings>\n"
                "  </application>")
        endif()
        set(manifest ${KM207_RESOURCE_DIR}/${target}.manifest)
        configure_file(${KM207_ROOT}/packaging/windows/app.manifest.in ${manifest} @ONLY)
        # CREATEPROCESS_MANIFEST_RESOURCE_ID of type RT_MANIFEST.
        set(KM_RC_MANIFEST "1 24 \"${manifest}\"")
    else()
        set(KM_RC_FILETYPE VFT_DLL)
        set(KM_RC_FILE ${name}${suffix})
    endif()
    set(rc ${KM207_RESOURCE_DIR}/${target}.rc)
    set(depends ${manifest})
    if(ARG_ICON AND TARGET km207_icon)
        # The name Qt's Windows platform loads as the windows' icon; Explorer
        # takes the first icon, which a named one is.
        set(KM_RC_ICON "IDI_ICON1 ICON \"${KM207_ICON}\"")
        list(APPEND depends ${KM207_ICON})
        add_dependencies(${target} km207_icon)
    endif()
    configure_file(${KM207_ROOT}/packaging/windows/resources.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
        OBJECT_DEPENDS "${depends}")
endfunction()
