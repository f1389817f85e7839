# libpng as a static library, for the Windows builds (cmake/libpng.cmake) and the
# native checks (tests/native) alike: the same sources and the same options.
set(LIBPNG_SOURCE_NAMES png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset
  pngtrans pngwio pngwrite pngwtran pngwutil)
set(LIBPNG_OPTIONS ${CMAKE_CURRENT_LIST_DIR}/libpng.dfa)
find_program(ZARN_MAKE NAMES make gmake REQUIRED)

# Builds libpng from SOURCE as the static library NAME. Its pnglibconf.h comes from
# libpng.dfa through libpng's own scripts/pnglibconf.mak, run with this build's C
# preprocessor over ZLIB_INCLUDE, so that the zlib version it records is the one the
# library is compiled against. What the options leave out compiles to nothing.
function(add_libpng_library name source zlib_include)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}_config)
  file(MAKE_DIRECTORY ${generated})
  add_custom_command(OUTPUT ${generated}/pnglibconf.h
    COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS ${ZARN_MAKE} -s -f ${source}/scripts/pnglibconf.mak srcdir=${source}
      DFA_XTRA=${LIBPNG_OPTIONS} "CPP=${CMAKE_C_COMPILER} -E" CPPFLAGS=-I${zlib_include} pnglibconf.h
    WORKING_DIRECTORY ${generated}
    DEPENDS ${LIBPNG_OPTIONS} ${source}/scripts/pnglibconf.dfa
    COMMENT "Configuring libpng from cmake/libpng.dfa"
    VERBATIM)
  set(sources ${LIBPNG_SOURCE_NAMES})
  list(TRANSFORM sources PREPEND ${source}/)
  list(TRANSFORM sources APPEND .c)
  add_library(${name} STATIC ${sources} ${generated}/pnglibconf.h)
  target_include_directories(${name} SYSTEM PUBLIC ${source} ${generated} ${zlib_include})
endfunction()
