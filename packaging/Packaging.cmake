# The Debian package: cpack -G DEB in the build folder (or scripts/package) makes
# quimb_VERSION_amd64.deb with its library dependencies found by dpkg-shlibdeps.

# Compressed as Debian wants them: man pages and the changelog.
set(QUIMB_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
set(QUIMB_GZIPPED)
foreach(source docs/man/quimb.1 docs/man/quimb-cli.1 docs/man/quimb-devnet.1
        packaging/changelog)
    get_filename_component(name ${source} NAME)
    set(output ${QUIMB_PACKAGING_OUT}/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUIMB_PACKAGING_OUT}
        COMMAND sh -c "gzip -9n -c '${PROJECT_SOURCE_DIR}/${source}' > '${output}'"
        DEPENDS ${PROJECT_SOURCE_DIR}/${source}
        VERBATIM)
    list(APPEND QUIMB_GZIPPED ${output})
endforeach()
add_custom_target(quimb_packaging_files ALL DEPENDS ${QUIMB_GZIPPED})

install(FILES ${QUIMB_PACKAGING_OUT}/quimb.1.gz ${QUIMB_PACKAGING_OUT}/quimb-cli.1.gz
              ${QUIMB_PACKAGING_OUT}/quimb-devnet.1.gz
        DESTINATION share/man/man1)
install(FILES ${QUIMB_PACKAGING_OUT}/changelog.gz packaging/copyright
        DESTINATION share/doc/quimb)
install(FILES packaging/io.quimb.Quimb.metainfo.xml DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quimb)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quimb developers")
set(CPACK_PACKAGE_CONTACT "The Quimb developers <q@quimb.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "search magnet-link sites and eD2k servers for media")
# The synopsis is the summary above; this is the extended description, one line per line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quimb searches a magnet-link search site page by page, or every eD2k server\nof a server list at once, and shows every hit in one list: file name, size,\nsources and link. A row can be copied, sent to a Baidu Netdisk offline\ndownload, or handed to a media player. quimb-cli runs the same searches from\na terminal.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quimb.io")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
