#pragma once
// A Windows BMP described in place: no pixel is copied.
#include "image/image.h"

// 1 = data starts with "BM".
int32_t IsBmp(const void* data, size_t length);
// 1 = an uncompressed BMP of 8, 16, 24 or 32 bits whose rows lie within the block.
int32_t DescribeBmp(const void* data, size_t length, DecodedImage* image);
