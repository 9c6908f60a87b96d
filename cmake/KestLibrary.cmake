# kest_library(NAME [EXCLUDE REGEX]): a static library of every .cpp file under
# the calling folder (new files join without a CMake edit). Its caller states
# with target_link_libraries which other libraries it may use: PUBLIC when its
# headers include theirs, PRIVATE when only its sources do.
# KEST_LAYER_CHECK builds them as shared libraries that must resolve every
# symbol they use from what they state: a use left unstated fails to link
# (static libraries would let it pass when the program links the other one).
option(KEST_LAYER_CHECK "Build the libraries shared to check their stated uses" OFF)
set(KEST_LIBRARY_TYPE STATIC)
if(KEST_LAYER_CHECK)
  set(KEST_LIBRARY_TYPE SHARED)
  add_link_options(LINKER:--no-undefined)
endif()
function(kest_library name)
  cmake_parse_arguments(arg "" "EXCLUDE" "" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(arg_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${arg_EXCLUDE}")
  endif()
  add_library(${name} ${KEST_LIBRARY_TYPE} ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set_property(GLOBAL APPEND PROPERTY KEST_CORE_LIBRARIES ${name})
endfunction()

# Refuses Qt in any library kest_library made: core and platform stay widget-free.
function(kest_refuse_qt)
  get_property(libraries GLOBAL PROPERTY KEST_CORE_LIBRARIES)
  foreach(library IN LISTS libraries)
    get_target_property(used ${library} LINK_LIBRARIES)
    foreach(lib IN LISTS used)
      if(lib MATCHES "Qt")
        message(FATAL_ERROR "${library} must not link Qt (found ${lib})")
      endif()
    endforeach()
  endforeach()
endfunction()
