# Run at the end of a Windows install (cmake --install, cpack): every
# program and DLL this install put down is stripped. What debug information
# and symbols a file had goes first into KM_DEBUG_DIR/<name>.debug, in the
# build folder, and the stripped file names it (.gnu_debuglink), so that a
# crash report from a user's copy can be read against it.
#
# Set by the install rule: KM_OBJCOPY, KM_OBJDUMP, KM_STRIP (mingw-w64 binutils, which
# take 32-bit and 64-bit PE files alike), KM_DEBUG_DIR.
file(MAKE_DIRECTORY ${KM_DEBUG_DIR})
set(km_before 0)
set(km_after 0)
foreach(file ${CMAKE_INSTALL_MANIFEST_FILES})
    if(NOT file MATCHES "\\.([eE][xX][eE]|[dD][lL][lL])$" OR NOT EXISTS "${file}")
        continue()
    endif()
    get_filename_component(name "${file}" NAME)
    file(SIZE "${file}" size)
    math(EXPR km_before "${km_before} + ${size}")
    # Left up to date by an earlier install: stripped already, its debug
    # file made then.
    execute_process(COMMAND ${KM_OBJDUMP} -h "${file}" OUTPUT_VARIABLE sections ERROR_QUIET)
    if(sections MATCHES "\\.gnu_debuglink")
        math(EXPR km_after "${km_after} + ${size}")
        continue()
    endif()
    set(debug ${KM_DEBUG_DIR}/${name}.debug)
    execute_process(COMMAND ${KM_OBJCOPY} --only-keep-debug "${file}" "${debug}"
        RESULT_VARIABLE rc)
    if(rc EQUAL 0)
        execute_process(COMMAND ${KM_STRIP} --strip-unneeded "${file}" RESULT_VARIABLE rc)
    endif()
    if(rc EQUAL 0)
        # The link is made from the debug file's own folder: it records the
        # name alone, and the file's checksum.
        execute_process(COMMAND ${KM_OBJCOPY} --add-gnu-debuglink=${name}.debug "${file}"
            WORKING_DIRECTORY ${KM_DEBUG_DIR} RESULT_VARIABLE rc)
    endif()
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "could not strip ${file}")
    endif()
    file(SIZE "${file}" size)
    math(EXPR km_after "${km_after} + ${size}")
endforeach()
message(STATUS "Stripped programs and DLLs: ${km_before} -> ${km_after} bytes "
    "(debug information in ${KM_DEBUG_DIR})")
