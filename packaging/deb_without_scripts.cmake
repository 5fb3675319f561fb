# Run by cpack after it has built the package (CPACK_POST_BUILD_SCRIPTS).
#
# CPack adds postinst and postrm scripts that call ldconfig whenever a shared
# object lies under usr/lib, here the drivers in the private folder, which
# ldconfig never looks at. A package with a postrm stays in dpkg's database
# after dpkg -r (state "rc") until it is purged, so the package is rebuilt
# without the two scripts: dpkg -r then leaves nothing behind.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    if(NOT deb MATCHES "\\.deb$")
        continue()
    endif()
    set(tree "${deb}.tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
    execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${tree}" "${deb}"
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
