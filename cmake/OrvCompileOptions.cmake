# Warnings and sanitizers shared by every target of the project.
add_library(orv_options INTERFACE)
target_compile_options(orv_options INTERFACE -Wall -Wextra)
target_compile_definitions(orv_options INTERFACE
  QT_NO_KEYWORDS
  ORV_VERSION="${PROJECT_VERSION}")
if(ORV_SANITIZE)
  target_compile_options(orv_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(orv_options INTERFACE -fsanitize=address,undefined)
endif()

# orv_add_library(name SOURCES ... DEPENDS ...)
function(orv_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC orv_options ${ARG_DEPENDS})
endfunction()

# libFuzzer builds instrument all code for coverage; only the fuzz targets
# link the fuzzer's main.
if(ORV_FUZZ)
  target_compile_options(orv_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(orv_options INTERFACE -fsanitize=address,undefined)
endif()
