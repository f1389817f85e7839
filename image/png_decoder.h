#pragma once
// The PNG decoder of the image registry, over libpng: every colour type, bit depth
// and interlacing into 24-bit rows of blue, green, red.

// Registers the decoder unless it is registered already.
void EnablePngDecoder(void);
