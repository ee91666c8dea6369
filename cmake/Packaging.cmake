# `make package` (the build's `package` target): two Debian packages from the install
# components of cmake/Install.cmake.
#   orvbatch      the program, its man page and completion; its Depends come from
#                 dpkg-shlibdeps, so they name exactly the shared libraries it links
#   orvbatch-dev  headers, static libraries, the CMake package and orvbatch.pc; it depends on
#                 the -dev packages whose libraries a client's link of those archives needs
set(ORV_MAINTAINER "OrvBatchAnalyse maintainers <maintainers@orvbatchanalyse.example>")
set(ORV_DEB_REVISION 1)

# What Debian expects in each package's documentation folder: the copyright and a changelog.
string(TIMESTAMP ORV_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/cmake/packaging/changelog.Debian.in
               ${PROJECT_BINARY_DIR}/packaging/changelog.Debian @ONLY)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
    COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2.tmp\" && mv \"$2.tmp\" \"$2\"" sh
            ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
            ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
    VERBATIM)
add_custom_target(orv_package_changelog ALL
                  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
foreach(pair IN ITEMS "runtime:orvbatch" "development:orvbatch-dev")
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 component)
    list(GET pair 1 package)
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/packaging/copyright
                  ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/packaging/${package}.lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${package}
            COMPONENT ${component} OPTIONAL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvbatch)
set(CPACK_PACKAGE_VENDOR "OrvBatchAnalyse")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORV_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_COMPONENTS_GROUPING IGNORE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ORV_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORV_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME orvbatch)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION text)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "batch analysis of documents against a translation memory
orvbatch analyses a batch of documents (plain text, HTML, XML, XLIFF, gettext
PO, Word, Excel, PowerPoint and OpenDocument files) against a translation
memory in TMX and prints, per document and in total, the segments, words and
placeables in each match band. It keeps logs, exports unknown and frequent
segments, writes project memories, HTML reports and quotes from a rate grid.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME orvbatch-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "libicu-dev, libxml2-dev, libsodium-dev, libzip-dev")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "batch analysis of documents against a translation memory - development files
The OrvBatchAnalyse component as static libraries for C++20 programs: the
BatchAnalyse class, its records and settings, with the embedded analysis
engine as the default translation memory application. It has a CMake package
(find_package(OrvBatchAnalyse CONFIG), target OrvBatchAnalyse::core) and a
pkg-config file (orvbatch).")

include(CPack)
