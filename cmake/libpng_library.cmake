# libpng as a static library, for the Windows builds (cmake/libpng.cmake) and the
# native checks (tests/native) alike: the same sources and the same options.
set(LIBPNG_SOURCE_NAMES png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset
  pngtrans pngwio pngwrite pngwtran pngwutil)
set(LIBPNG_OPTIONS ${CMAKE_CURRENT_LIST_DIR}/libpng.dfa)
find_program(ZARN_MAKE NAMES make gmake REQUIRED)

# libpng's source at the pinned revision, under ROOT/build/third_party/libpng:
# fetch-libpng.sh fetches it unless its version mark names the pin, and runs again at the
# next build whenever the script, and so the pin, changes.
function(fetch_libpng root)
  execute_process(COMMAND ${root}/scripts/fetch-libpng.sh RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "libpng's source could not be fetched (above): run scripts/setup.sh, then scripts/fetch-libpng.sh")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${root}/scripts/fetch-libpng.sh)
endfunction()

# Builds libpng from SOURCE as the static library NAME. Its pnglibconf.h comes from
# libpng.dfa through libpng's own scripts/pnglibconf.mak, run with this build's C
# preprocessor over ZLIB_INCLUDE, so that the zlib version it records is the one the
# library is compiled against. What the options leave out compiles to nothing.
function(add_libpng_library name source zlib_include)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}_config)
  # A tree fetched again keeps its files' old times: its revision mark, written at the
  # fetch, makes everything compile again.
  set(revision)
  if(EXISTS ${source}/.zarn-revision)
    set(revision ${source}/.zarn-revision)
  endif()
  file(MAKE_DIRECTORY ${generated})
  # Its output, tips on which awk to try among them, stays in a log unless it fails.
  add_custom_command(OUTPUT ${generated}/pnglibconf.h
    COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS
      sh -c "\"$@\" >pnglibconf.log 2>&1 || { cat pnglibconf.log >&2; exit 1; }" sh
      ${ZARN_MAKE} -s -f ${source}/scripts/pnglibconf.mak srcdir=${source}
      DFA_XTRA=${LIBPNG_OPTIONS} "CPP=${CMAKE_C_COMPILER} -E" CPPFLAGS=-I${zlib_include} pnglibconf.h
    WORKING_DIRECTORY ${generated}
    DEPENDS ${LIBPNG_OPTIONS} ${source}/scripts/pnglibconf.dfa ${revision}
    COMMENT "Configuring libpng from cmake/libpng.dfa"
    VERBATIM)
  set(sources ${LIBPNG_SOURCE_NAMES})
  list(TRANSFORM sources PREPEND ${source}/)
  list(TRANSFORM sources APPEND .c)
  set_source_files_properties(${sources} PROPERTIES OBJECT_DEPENDS "${revision}")
  add_library(${name} STATIC ${sources} ${generated}/pnglibconf.h)
  target_include_directories(${name} SYSTEM PUBLIC ${source} ${generated} ${zlib_include})
endfunction()
