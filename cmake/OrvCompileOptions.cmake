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

# orv_add_dialog(name SOURCES ... DEPENDS ...): a dialog's library, linked by
# the main window through ORV_DIALOG_LIBRARIES.
function(orv_add_dialog name)
  orv_add_library(${name} ${ARGN})
  set_property(GLOBAL APPEND PROPERTY ORV_DIALOG_LIBRARIES ${name})
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt, in
# name order, so a new folder needs no line elsewhere.
function(orv_add_subfolders)
  file(GLOB dirs LIST_DIRECTORIES true "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT dirs)
  foreach(dir IN LISTS dirs)
    if(IS_DIRECTORY "${dir}" AND EXISTS "${dir}/CMakeLists.txt")
      add_subdirectory("${dir}")
    endif()
  endforeach()
endfunction()

# libFuzzer builds instrument all code for coverage; only the fuzz targets
# link the fuzzer's main.
if(ORV_FUZZ)
  target_compile_options(orv_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(orv_options INTERFACE -fsanitize=address,undefined)
endif()
