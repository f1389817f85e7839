# libpng's library sources, read and write side, by name (both the Windows builds and
# the native checks compile them).
set(LIBPNG_SOURCE_NAMES png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset
  pngtrans pngwio pngwrite pngwtran pngwutil)
