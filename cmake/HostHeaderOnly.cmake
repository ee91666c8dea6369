# The header-only libraries orvbatch uses (CLI11, nlohmann/json, fmt in its header-only form)
# taken from the build machine's Debian packages for a cross-build: their headers are the same
# for every target. Each is reached through a folder of its own holding a link to that one
# library's headers, never through /usr/include, whose C library headers are the host's.
set(orv_host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${orv_host_headers})
foreach(folder CLI nlohmann fmt)
    if(NOT EXISTS /usr/include/${folder})
        message(FATAL_ERROR "/usr/include/${folder} is missing: make deps installs it")
    endif()
    file(CREATE_LINK /usr/include/${folder} ${orv_host_headers}/${folder} SYMBOLIC)
endforeach()

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${orv_host_headers})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${orv_host_headers})
add_library(fmt::fmt INTERFACE IMPORTED)
target_include_directories(fmt::fmt SYSTEM INTERFACE ${orv_host_headers})
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)
