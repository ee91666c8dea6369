# What `cmake --install` puts in place, in two components that CPack turns into two packages:
#   runtime      orvbatch, its man page and its bash and zsh completion
#   development  the component's static libraries, the headers a client includes, the CMake
#                package (find_package(OrvBatchAnalyse CONFIG), target OrvBatchAnalyse::core)
#                and the pkg-config file orvbatch.pc
# The headers keep the tree's layout under include/orvbatch: a client includes
# <orvbatch/front/BatchAnalyse.h>, and the headers' own "front/..." includes resolve through
# include/orvbatch, which the target and the .pc file add.
# On Debian the libraries, the CMake package and the .pc file go to the multiarch folder
# (lib/x86_64-linux-gnu), where the compilers, CMake and pkg-config of each architecture look,
# whatever the prefix; GNUInstallDirs picks it only for a prefix of /usr, and the prefix of
# the packages is chosen after configuration.
if(NOT DEFINED CMAKE_INSTALL_LIBDIR AND CMAKE_LIBRARY_ARCHITECTURE AND EXISTS /etc/debian_version)
    set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries")
endif()
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ORV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrvBatchAnalyse)
set(ORV_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/orvbatch)

# Static archives named for the product, not for the build's targets.
set_target_properties(orv_platform PROPERTIES OUTPUT_NAME orvbatch_platform)
set_target_properties(orv_core PROPERTIES OUTPUT_NAME orvbatch_core)
set_target_properties(orv_engine PROPERTIES OUTPUT_NAME orvbatch_engine)
set_target_properties(orv_default_services PROPERTIES OUTPUT_NAME orvbatch_default_services)

# The client's one target: the core, the wiring of the defaults, the engine and the platform,
# in the order a static link needs (each before what it uses).
add_library(orv_installed_component INTERFACE)
set_target_properties(orv_installed_component PROPERTIES EXPORT_NAME core)
target_link_libraries(orv_installed_component INTERFACE
    orv_core orv_default_services orv_engine orv_platform)
target_compile_features(orv_installed_component INTERFACE cxx_std_20)
target_include_directories(orv_installed_component INTERFACE
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS orvbatch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES ${PROJECT_BINARY_DIR}/src/cli/orvbatch.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/src/cli/completion/orvbatch.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME orvbatch
        COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/src/cli/completion/_orvbatch
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions COMPONENT runtime)

install(TARGETS orv_installed_component orv_core orv_default_services orv_engine orv_platform
        EXPORT OrvBatchAnalyseTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
# A stripped install (CPack's) strips the program; the archives keep their symbols, which a
# client links against, and lose their debug sections only, as Debian's -dev packages do.
foreach(library IN ITEMS core default_services engine platform)
    install(CODE "
        set(archive \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/liborvbatch_${library}.a\")
        if(CMAKE_INSTALL_DO_STRIP AND EXISTS \"\${archive}\")
            execute_process(COMMAND ${CMAKE_STRIP} --strip-debug --enable-deterministic-archives
                                    \"\${archive}\" COMMAND_ERROR_IS_FATAL ANY)
        endif()
    " COMPONENT development)
endforeach()

# Exactly what the public classes include, transitively: BatchAnalyse, Files, clsBAFileInfo,
# clsBATessera, clsBATesseraSettings, the error numbers and AutomationError. The package test
# compiles each one alone against the installed tree, so a missing one is found there.
set(ORV_PUBLIC_HEADERS
    front/BatchAnalyse.h
    front/OrvBatchAnalyseErrors.h
    front/TsExportFileType.h
    jobfile/JobFileProperties.h
    platform/AutomationError.h
    platform/FileSystem.h
    platform/PathSyntax.h
    platform/Platform.h
    platform/StoredProperty.h
    results/Files.h
    results/StatisticsFields.h
    results/clsBAFileInfo.h
    tessera/EventSource.h
    tessera/ObjectServices.h
    tessera/ServiceSet.h
    tessera/SessionProperties.h
    tessera/TessappApplication.h
    tessera/TessappOptions.h
    tessera/TessappTM.h
    tessera/clsBATessera.h
    tessera/clsBATesseraSettings.h)
foreach(header IN LISTS ORV_PUBLIC_HEADERS)
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/src/${header}
            DESTINATION ${ORV_INSTALL_INCLUDEDIR}/${folder} COMPONENT development)
endforeach()

install(EXPORT OrvBatchAnalyseTargets NAMESPACE OrvBatchAnalyse::
        DESTINATION ${ORV_INSTALL_CMAKEDIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/OrvBatchAnalyseConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/OrvBatchAnalyseConfig.cmake
                              INSTALL_DESTINATION ${ORV_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrvBatchAnalyseConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OrvBatchAnalyseConfig.cmake
              ${PROJECT_BINARY_DIR}/OrvBatchAnalyseConfigVersion.cmake
        DESTINATION ${ORV_INSTALL_CMAKEDIR} COMPONENT development)

# The .pc file names the prefix it is installed under, which CPack chooses at packaging time:
# it is written when the install runs.
set(ORV_INSTALL_PREFIX "@ORV_INSTALL_PREFIX@")  # kept for the install step to fill
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvbatch.pc.in ${PROJECT_BINARY_DIR}/orvbatch.pc.in @ONLY)
install(CODE "
    file(READ \"${PROJECT_BINARY_DIR}/orvbatch.pc.in\" text)
    string(REPLACE \"@ORV_INSTALL_PREFIX@\" \"\${CMAKE_INSTALL_PREFIX}\" text \"\${text}\")
    file(WRITE \"${PROJECT_BINARY_DIR}/orvbatch.pc\" \"\${text}\")
" COMPONENT development)
install(FILES ${PROJECT_BINARY_DIR}/orvbatch.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
