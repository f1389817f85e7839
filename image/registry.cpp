#include "image/image.h"

static const ImageDecoder* Decoders[IMAGE_DECODER_ROOM];
static int32_t DecoderCount;
static const ImageDecoder* ChosenDecoder;
static FILE* ProbeFile;

static void CloseProbeFile(void)
{
    if (ProbeFile)
        fclose(ProbeFile);
    ProbeFile = NULL;
}

void ResetImageDecoders(void)
{
    for (int32_t i = 0; i < IMAGE_DECODER_ROOM; i++)
        Decoders[i] = NULL;
    DecoderCount = 0;
    ChosenDecoder = NULL;
    ProbeFile = NULL;
}

void RegisterImageDecoder(const ImageDecoder* decoder)
{
    if (!decoder || DecoderCount >= IMAGE_DECODER_ROOM)
        return;
    Decoders[DecoderCount++] = decoder;
}

int32_t IsImageDecoderRegistered(const ImageDecoder* decoder)
{
    for (int32_t i = 0; i < DecoderCount; i++)
        if (Decoders[i] == decoder)
            return 1;
    return 0;
}

int32_t FindImageDecoder(const char* fileName, const void* data, size_t length)
{
    CloseProbeFile();
    if (fileName) {
        FILE* file = fopen(fileName, "rb");
        if (!file)
            return 0;
        for (int32_t i = 0; i < DecoderCount; i++) {
            fseek(file, 0, SEEK_SET);
            if (Decoders[i]->probe(file, NULL, 0, fileName)) {
                ChosenDecoder = Decoders[i];
                ProbeFile = file;
                return 1;
            }
        }
        fclose(file);
        return 0;
    }
    if (!data)
        return 0;
    for (int32_t i = 0; i < DecoderCount; i++) {
        if (Decoders[i]->probe(NULL, data, length, NULL)) {
            ChosenDecoder = Decoders[i];
            return 1;
        }
    }
    return 0;
}

int32_t ImageDecoderWidth(void)
{
    return ChosenDecoder ? ChosenDecoder->width() : 0;
}

int32_t ImageDecoderHeight(void)
{
    return ChosenDecoder ? ChosenDecoder->height() : 0;
}

int32_t RunImageDecoder(uint8_t* buffer, int32_t pitch, int32_t flags)
{
    int32_t result = ChosenDecoder ? ChosenDecoder->decode(buffer, pitch, flags) : 0;
    CloseProbeFile();
    return result;
}

void AbandonImageDecoder(void)
{
    if (ChosenDecoder && ChosenDecoder->discard)
        ChosenDecoder->discard();
    CloseProbeFile();
}
