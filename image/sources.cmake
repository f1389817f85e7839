# Image loading: every file is free of the platform but the buffers decoders fill.
set(IMAGE_PORTABLE bmp.cpp open.cpp png_decoder.cpp registry.cpp)
set(IMAGE_WINDOWS image_buffer.cpp)
