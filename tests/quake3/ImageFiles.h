// TGA and JPEG files written here for the image tests (libjpeg encodes the JPEGs).
#pragma once

#include <QByteArray>
#include <cstdio>
#include <jpeglib.h>

// An 18-byte TGA header followed by the given body.
inline QByteArray TgaFile(uint8_t type, int width, int height, uint8_t bits, uint8_t descriptor,
                          const QByteArray& body, uint8_t idLength = 0, uint8_t colormap = 0) {
    QByteArray f(18, 0);
    f[0] = char(idLength);
    f[1] = char(colormap);
    f[2] = char(type);
    f[12] = char(width & 0xFF);
    f[13] = char(width >> 8);
    f[14] = char(height & 0xFF);
    f[15] = char(height >> 8);
    f[16] = char(bits);
    f[17] = char(descriptor);
    f.append(QByteArray(idLength, 'i'));
    return f + body;
}

// Encodes rows of 1 (grey) or 3 (RGB) components.
inline QByteArray JpegFile(int width, int height, int components, const QByteArray& pixels,
                           bool progressive) {
    jpeg_compress_struct c;
    jpeg_error_mgr errors;
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<char*>(pixels.constData())) +
                       c.next_scanline * width * components;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray file(reinterpret_cast<const char*>(out), qsizetype(size));
    free(out);
    return file;
}
