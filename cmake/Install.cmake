# Where `cmake --install` puts the programs and their desktop files, and the Debian package made of
# them (scripts/package). The program finds its help pages at ../share/zadanix/Pomoc from bin/.
include(GNUInstallDirs)
# Debian's place for a package's copyright and change log, named after the package.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/zadanix-edytor)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(app_id pl.tevrix.zadanix.edytor)
set(install_sources ${PROJECT_SOURCE_DIR}/resources/install)

install(TARGETS zadanix-edytor zadanix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/Pomoc/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zadanix/Pomoc)
install(FILES ${install_sources}/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${install_sources}/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${install_sources}/zadanix.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${install_sources}/copyright DESTINATION ${doc_dir})

# Manual pages and the change log are installed compressed, as Debian wants them.
set(compressed)
foreach(source IN ITEMS resources/man/zadanix.1 resources/man/zadanix-edytor.1 resources/install/changelog)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/${source} ${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND compressed ${output})
endforeach()
add_custom_target(zadanix_compressed ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/compressed/zadanix.1.gz ${CMAKE_BINARY_DIR}/compressed/zadanix-edytor.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/compressed/changelog.gz DESTINATION ${doc_dir})

# The Debian package. Its dependencies come from the libraries the programs link against
# (dpkg-shlibdeps), plus Qt's window-system plugins, which are loaded at run time. The desktop, MIME and
# icon databases are refreshed by the triggers of the packages that own them, so the package has no
# maintainer scripts of its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zadanix-edytor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tevrix)
set(ZADANIX_MAINTAINER "Tevrix <zadanix@tevrix.pl>" CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGE_CONTACT ${ZADANIX_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "school test editor for teachers (Polish interface)")
# The summary above is the synopsis; CPack indents these lines and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zadanix Edytor is the authoring program of the Zadanix school testing
package. A teacher writes multiple-choice questions, assembles them into
tests with a time limit and a grading scale, keeps lists of tests, of
question sets and of classes with their students, and writes the settings
of the student-side modules.

The package also holds zadanix, a command-line tool that inspects, exports
and imports the same documents without a display.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
