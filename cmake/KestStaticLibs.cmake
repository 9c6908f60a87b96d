# KEST_STATIC_LIBS links SQLite, libsodium, utf8proc and libblkid from their
# static archives (every program), and the C++ runtime statically into
# kest-cli (kest_static_runtime): binding five shared libraries and
# libstdc++ was a fifth of a short kest-cli command's processor time. Only
# the C library stays shared. The shared-library layer check cannot take
# the archives (their code is not position-independent for a library).
include(CMakeDependentOption)
cmake_dependent_option(KEST_STATIC_LIBS "Link the C libraries and kest-cli's C++ runtime statically"
  ON "NOT KEST_LAYER_CHECK" OFF)

# Points the imported target at lib<name>.a, keeping extra libraries it needs.
function(_kest_use_archive target name)
  find_library(_archive NAMES lib${name}.a NO_CACHE)
  if(NOT _archive)
    message(FATAL_ERROR "lib${name}.a not found: install its -dev package (scripts/setup-deps)")
  endif()
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "INTERFACE_LIBRARY")
    set_property(TARGET ${target} PROPERTY INTERFACE_LINK_LIBRARIES ${_archive} ${ARGN})
  else()
    set_property(TARGET ${target} PROPERTY IMPORTED_LOCATION ${_archive})
    set_property(TARGET ${target} APPEND PROPERTY INTERFACE_LINK_LIBRARIES ${ARGN})
  endif()
endfunction()

if(KEST_STATIC_LIBS)
  _kest_use_archive(SQLite::SQLite3 sqlite3 m Threads::Threads ${CMAKE_DL_LIBS})
  _kest_use_archive(PkgConfig::SODIUM sodium Threads::Threads)
  _kest_use_archive(PkgConfig::UTF8PROC utf8proc)
  _kest_use_archive(PkgConfig::BLKID blkid)
endif()

# The program links libstdc++ and libgcc into itself. A sanitizer's run-time
# library expects the shared ones.
function(kest_static_runtime target)
  if(KEST_STATIC_LIBS AND NOT KEST_SANITIZE)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()
