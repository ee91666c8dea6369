# The imported targets of the engine's libraries in the static Windows prefix that the
# MinGW toolchain found (ORV_WINDOWS_DEPS_PREFIX). Included once at the top, so every folder
# that asks for them again gets these same, completed targets:
#   ICU::uc, ICU::i18n, ICU::data  (FindICU)
#   LibXml2::LibXml2               (FindLibXml2)
#   PkgConfig::SODIUM, PkgConfig::LIBZIP
# A static archive brings none of its own dependencies and a linker reads archives once, in
# order: each target names what it needs after it, and the headers are told that nothing is
# imported from a DLL. The definitions and Windows libraries are the ones the prefix's
# pkg-config files give (cmake/windows-deps/finish-pkgconfig.sh writes them).

find_package(PkgConfig REQUIRED)

# Whatever a pkg-config module adds beyond its own library: definitions, and the libraries of
# other modules and of Windows.
function(orv_static_extras module own_library out_definitions out_libraries)
    pkg_check_modules(orv_static_${module} QUIET REQUIRED ${module})
    set(definitions)
    foreach(flag IN LISTS orv_static_${module}_CFLAGS_OTHER)
        if(flag MATCHES "^-D(.+)")
            list(APPEND definitions "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    # The prefix's archives by path; Windows' and the compiler's libraries by name, for the
    # linker to choose the static one (a path found by CMake would be an import library
    # such as libpthread.dll.a, which clashes with the static runtime).
    set(libraries)
    foreach(name IN LISTS orv_static_${module}_LIBRARIES)
        if(name STREQUAL own_library)
            continue()
        elseif(EXISTS "${ORV_WINDOWS_DEPS_PREFIX}/lib/lib${name}.a")
            list(APPEND libraries "${ORV_WINDOWS_DEPS_PREFIX}/lib/lib${name}.a")
        else()
            list(APPEND libraries "${name}")
        endif()
    endforeach()
    set(${out_definitions} "${definitions}" PARENT_SCOPE)
    set(${out_libraries} "${libraries}" PARENT_SCOPE)
endfunction()

find_package(ICU 72 REQUIRED COMPONENTS uc i18n data)
orv_static_extras(icu-uc icuuc icu_definitions icu_libraries)
list(FILTER icu_libraries EXCLUDE REGEX "/libicudt\\.a$")
set_property(TARGET ICU::i18n APPEND PROPERTY INTERFACE_LINK_LIBRARIES ICU::uc)
set_property(TARGET ICU::uc APPEND PROPERTY INTERFACE_LINK_LIBRARIES ICU::data ${icu_libraries})
set_property(TARGET ICU::uc ICU::i18n APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS
             ${icu_definitions})

# libxml2 decodes through ICU: its ICU libraries are the targets above, the rest comes from
# its pkg-config file. FindLibXml2 takes the definitions from there only when the library's
# path starts with pkg-config's libdir, which names the prefix relative to the .pc file.
find_package(LibXml2 REQUIRED)
orv_static_extras(libxml-2.0 xml2 xml2_definitions xml2_libraries)
list(FILTER xml2_libraries EXCLUDE REGEX "/libicu(uc|in|dt)\\.a$")
set_property(TARGET LibXml2::LibXml2 APPEND PROPERTY INTERFACE_LINK_LIBRARIES ICU::i18n
             ${xml2_libraries})
set_property(TARGET LibXml2::LibXml2 APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS
             ${xml2_definitions})

# The pkg-config files already say everything here; the targets take the engine's names.
pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET GLOBAL libsodium)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET GLOBAL libzip)
