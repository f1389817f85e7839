#pragma once
// PNG files written with libpng for the image tests: one small picture in any colour
// type, bit depth and interlacing, with the 24-bit rows (blue, green, red) that it
// must decode to.
#include <png.h>
#include <stdint.h>

#include <vector>

struct PngFormat {
    int colorType;
    int bitDepth;
    bool interlaced;
    bool transparency; // a tRNS chunk (palette, gray and RGB only)
};

struct PngSample {
    std::vector<uint8_t> file;
    std::vector<uint8_t> expected; // width x 3 bytes per row, no padding
};

inline void AppendToVector(png_structp writer, png_bytep data, size_t length)
{
    auto* out = (std::vector<uint8_t>*)png_get_io_ptr(writer);
    out->insert(out->end(), data, data + length);
}

inline void FlushNothing(png_structp) {}

// Writes rows already in the file's sample layout (packed, 16-bit big-endian).
inline std::vector<uint8_t> WritePng(int width, int height, const PngFormat& format,
    std::vector<std::vector<uint8_t>>& rows, const std::vector<png_color>& palette,
    const std::vector<png_byte>& paletteAlpha, const png_color_16* transparentColor)
{
    std::vector<uint8_t> out;
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(writer);
    png_set_write_fn(writer, &out, AppendToVector, FlushNothing);
    png_set_IHDR(writer, info, (png_uint_32)width, (png_uint_32)height, format.bitDepth, format.colorType,
        format.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(writer, info, palette.data(), (int)palette.size());
    if (!paletteAlpha.empty())
        png_set_tRNS(writer, info, paletteAlpha.data(), (int)paletteAlpha.size(), NULL);
    if (transparentColor)
        png_set_tRNS(writer, info, NULL, 0, transparentColor);
    png_write_info(writer, info);
    std::vector<png_bytep> pointers;
    for (auto& row : rows)
        pointers.push_back(row.data());
    png_write_image(writer, pointers.data());
    png_write_end(writer, NULL);
    png_destroy_write_struct(&writer, &info);
    return out;
}

inline void PutSample(std::vector<uint8_t>& row, int index, int bitDepth, unsigned value)
{
    if (bitDepth == 16) {
        row[index * 2] = (uint8_t)(value >> 8);
        row[index * 2 + 1] = (uint8_t)value;
    } else if (bitDepth == 8) {
        row[index] = (uint8_t)value;
    } else {
        int perByte = 8 / bitDepth;
        int shift = 8 - bitDepth * (index % perByte + 1);
        row[index / perByte] |= (uint8_t)(value << shift);
    }
}

// Sample values differ from pixel to pixel and channel to channel and reach both ends
// of their range; at 16 bits the low byte differs from the high one.
inline unsigned SampleAt(int x, int y, int channel, int bitDepth)
{
    unsigned top = (1u << bitDepth) - 1;
    unsigned value = (unsigned)(x * 37 + y * 101 + channel * 59 + x * y * 13) * 2654435761u >> 7;
    if ((x + y + channel) % 9 == 0)
        return top;
    if ((x + 2 * y + channel) % 11 == 0)
        return 0;
    return value & top;
}

inline PngSample MakePngSample(int width, int height, const PngFormat& format)
{
    int channels = format.colorType == PNG_COLOR_TYPE_GRAY ? 1
        : format.colorType == PNG_COLOR_TYPE_GRAY_ALPHA    ? 2
        : format.colorType == PNG_COLOR_TYPE_RGB           ? 3
        : format.colorType == PNG_COLOR_TYPE_RGB_ALPHA     ? 4
                                                           : 1;
    int depth = format.bitDepth;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;
    if (format.colorType == PNG_COLOR_TYPE_PALETTE) {
        int entries = 1 << depth;
        for (int i = 0; i < entries; i++)
            palette.push_back({(png_byte)(i * 53 + 7), (png_byte)(255 - i * 29), (png_byte)(i * i * 3)});
        if (format.transparency)
            for (int i = 0; i < entries && i < 5; i++)
                paletteAlpha.push_back((png_byte)(i * 60));
    }
    // Converts a sample to the 8 bits libpng gives: 16 bits keep the high byte, low
    // gray depths repeat their bits.
    auto toEight = [depth](unsigned v) -> uint8_t {
        if (depth == 16)
            return (uint8_t)(v >> 8);
        return (uint8_t)(v * 255 / ((1u << depth) - 1));
    };

    PngSample sample;
    std::vector<std::vector<uint8_t>> rows;
    size_t rowBytes = ((size_t)width * channels * depth + 7) / 8;
    for (int y = 0; y < height; y++) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < width; x++) {
            uint8_t red = 0, green = 0, blue = 0;
            if (format.colorType == PNG_COLOR_TYPE_PALETTE) {
                unsigned index = SampleAt(x, y, 0, depth);
                PutSample(row, x, depth, index);
                red = palette[index].red;
                green = palette[index].green;
                blue = palette[index].blue;
            } else {
                for (int c = 0; c < channels; c++)
                    PutSample(row, x * channels + c, depth, SampleAt(x, y, c, depth));
                red = toEight(SampleAt(x, y, 0, depth));
                bool gray = channels < 3;
                green = gray ? red : toEight(SampleAt(x, y, 1, depth));
                blue = gray ? red : toEight(SampleAt(x, y, 2, depth));
            }
            sample.expected.push_back(blue);
            sample.expected.push_back(green);
            sample.expected.push_back(red);
        }
        rows.push_back(row);
    }
    png_color_16 transparent = {0, 0, 0, 0, 0};
    bool keyed = format.transparency && format.colorType != PNG_COLOR_TYPE_PALETTE;
    if (keyed) {
        transparent.gray = (png_uint_16)SampleAt(1, 1, 0, depth);
        transparent.red = (png_uint_16)SampleAt(1, 1, 0, depth);
        transparent.green = (png_uint_16)SampleAt(1, 1, 1, depth);
        transparent.blue = (png_uint_16)SampleAt(1, 1, 2, depth);
    }
    sample.file = WritePng(width, height, format, rows, palette, paletteAlpha, keyed ? &transparent : NULL);
    return sample;
}
