#pragma once
// PNG files for the image tests, written here with zlib (the program's libpng only
// reads): one small picture in any colour type, bit depth and interlacing, with the
// 24-bit rows (blue, green, red) that it must decode to.
#include <png.h>
#include <stdint.h>
#include <zlib.h>

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

inline int PngChannels(int colorType)
{
    return colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
        : colorType == PNG_COLOR_TYPE_RGB         ? 3
        : colorType == PNG_COLOR_TYPE_RGB_ALPHA   ? 4
                                                  : 1;
}

inline void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back((uint8_t)(value >> shift));
}

inline void AppendChunk(std::vector<uint8_t>& file, const char* kind, const std::vector<uint8_t>& data)
{
    PutBigEndian(file, (uint32_t)data.size(), 4);
    size_t start = file.size();
    file.insert(file.end(), kind, kind + 4);
    file.insert(file.end(), data.begin(), data.end());
    PutBigEndian(file, (uint32_t)crc32(0, &file[start], (uInt)(file.size() - start)), 4);
}

// Writes rows already in the file's sample layout (packed, 16-bit big-endian), every
// row unfiltered, the Adam7 passes one after the other when interlaced.
inline std::vector<uint8_t> WritePng(int width, int height, const PngFormat& format,
    const std::vector<std::vector<uint8_t>>& rows, const std::vector<png_color>& palette,
    const std::vector<png_byte>& paletteAlpha, const png_color_16* transparentColor)
{
    // First column, first row, column step, row step of each pass.
    static const int Adam7[7][4] = {
        {0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    static const int Whole[4] = {0, 0, 1, 1};
    int pixelBits = PngChannels(format.colorType) * format.bitDepth;
    std::vector<uint8_t> raw;
    for (int p = 0; p < (format.interlaced ? 7 : 1); p++) {
        const int* pass = format.interlaced ? Adam7[p] : Whole;
        int columns = width > pass[0] ? (width - pass[0] + pass[2] - 1) / pass[2] : 0;
        for (int y = pass[1]; columns > 0 && y < height; y += pass[3]) {
            std::vector<uint8_t> row(((size_t)columns * pixelBits + 7) / 8, 0);
            for (int i = 0; i < columns; i++) {
                for (int bit = 0; bit < pixelBits; bit++) {
                    size_t from = (size_t)(pass[0] + i * pass[2]) * pixelBits + bit;
                    size_t to = (size_t)i * pixelBits + bit;
                    if ((rows[y][from / 8] >> (7 - from % 8)) & 1)
                        row[to / 8] |= (uint8_t)(0x80 >> (to % 8));
                }
            }
            raw.push_back(0); // filter type None
            raw.insert(raw.end(), row.begin(), row.end());
        }
    }
    std::vector<uint8_t> compressed(compressBound((uLong)raw.size()));
    uLongf packed = (uLongf)compressed.size();
    compress2(compressed.data(), &packed, raw.data(), (uLong)raw.size(), Z_BEST_COMPRESSION);
    compressed.resize(packed);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, (uint32_t)width, 4);
    PutBigEndian(header, (uint32_t)height, 4);
    header.insert(header.end(), {(uint8_t)format.bitDepth, (uint8_t)format.colorType, 0, 0,
        (uint8_t)(format.interlaced ? 1 : 0)});
    AppendChunk(file, "IHDR", header);
    if (!palette.empty()) {
        std::vector<uint8_t> entries;
        for (const png_color& colour : palette)
            entries.insert(entries.end(), {colour.red, colour.green, colour.blue});
        AppendChunk(file, "PLTE", entries);
    }
    if (!paletteAlpha.empty())
        AppendChunk(file, "tRNS", paletteAlpha);
    if (transparentColor) {
        std::vector<uint8_t> key;
        if (format.colorType == PNG_COLOR_TYPE_GRAY)
            PutBigEndian(key, transparentColor->gray, 2);
        else
            for (png_uint_16 sample : {transparentColor->red, transparentColor->green, transparentColor->blue})
                PutBigEndian(key, sample, 2);
        AppendChunk(file, "tRNS", key);
    }
    AppendChunk(file, "IDAT", compressed);
    AppendChunk(file, "IEND", {});
    return file;
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
    int channels = PngChannels(format.colorType);
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
