#pragma once
// The picture the show uses when there is no "zarn.bmp": a 256 x 256 RGB PNG carried
// in the program as read-only data (made by tools/picture/make_picture.py).
#include <stdint.h>

extern const unsigned char EmbeddedPicture[];
extern const uint32_t EmbeddedPictureSize;
