# SANITIZE=address,undefined (or any -fsanitize list) instruments the whole native build.
set(SANITIZE "" CACHE STRING "sanitizers for the native build, as for -fsanitize=")
if(SANITIZE)
    if(WIN32)
        message(FATAL_ERROR "sanitizers are for the native build only")
    endif()
    add_compile_options(-fsanitize=${SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${SANITIZE})
endif()

# FUZZ=ON (with clang) instruments every library for libFuzzer and builds the fuzz targets.
option(FUZZ "build the libFuzzer targets (clang)" OFF)
if(FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
