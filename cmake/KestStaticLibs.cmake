# KEST_STATIC_LIBS links SQLite, libsodium, utf8proc, libblkid, libxxhash and
# libarchive from their static archives (every program), and makes kest-cli one static executable
# with its C++ and C run-time libraries (kest_static_runtime): binding shared
# libraries was a fifth of a short kest-cli command's processor time. The
# shared-library layer check cannot take the archives (their code is not
# position-independent for a library).
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
  _kest_use_archive(PkgConfig::XXHASH xxhash)
  # Only the 7z, TAR and ISO 9660 readers and the gzip, bzip2, xz and zstd
  # filters are called, so only their compression libraries are needed.
  _kest_use_archive(PkgConfig::LIBARCHIVE archive lzma zstd bz2 z)
endif()

# The program is one static, position-independent executable: no dynamic
# loader runs at its start (a sixth of a short command's time). A sanitizer's
# run-time library expects the shared libraries. The linker's notes that
# getpwuid (the home folder when HOME is unset) and SQLite's extension loader
# need the same C library at run time are silenced: the package is built for
# the system's own.
function(kest_static_runtime target)
  if(KEST_STATIC_LIBS AND NOT KEST_SANITIZE)
    target_link_options(${target} PRIVATE -static-pie -Wl,--no-warnings)
  endif()
endfunction()
