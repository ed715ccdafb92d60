// GL texture upload: size rules, the 16.16 fixed-point resamplers, the software mipmap chain, the
// browser icon, and the shared resource context every upload and deletion makes current. Without
// GL (headless tools) images keep their sizes and GL names stay 0.
#pragma once

#include <cstdint>

struct TextureImage;
class QOpenGLContext;

// GL extensions that change the upload, probed once per context.
struct TextureExtensions {
    bool compression = false;
    bool nonPowerOfTwo = false;
    bool generateMipmap = false;
    bool edgeClamp = false;
    // A rasterizer on the CPU (Mesa's llvmpipe, softpipe): it makes each generated mipmap level
    // with a draw of its own, handed between its threads, several times slower than the
    // editor's own chain.
    bool softwareRenderer = false;
};

// Makes the resource context current (sharing with the global share context when there is one)
// and restores the context that was current before when it ends, so an upload inside a paint
// leaves the view bound. ok() is false without GL.
class cSharedGLScope {
public:
    cSharedGLScope();
    ~cSharedGLScope();
    cSharedGLScope(const cSharedGLScope&) = delete;
    cSharedGLScope& operator=(const cSharedGLScope&) = delete;
    bool ok() const { return m_ok; }

private:
    QOpenGLContext* m_previous = nullptr;
    void* m_previousSurface = nullptr;
    bool m_ok = false;
};

// The extensions of the resource context (probed on first use; "Using extension: " lines on the
// first probe of the run).
const TextureExtensions& Tex_ProbeExtensions();
// Bytes per pixel and base format of a GL pixel format.
int32_t Tex_BytesPerPixel(int32_t format);
// The size an image of w x h uploads at under the current settings and extensions.
void Tex_UploadSize(int32_t width, int32_t height, const TextureExtensions& ext, int32_t* outWidth,
                    int32_t* outHeight);
// Makes the icon and the GL texture of the image from its pixels (width x height x bytes per
// pixel, rows top first). False (a warning) without GL or for a size of 0 or less.
bool Tex_UploadImageData(TextureImage* image, const void* pixels);
// Deletes the image's GL texture and icon.
void Tex_DeleteImageData(TextureImage* image);
// Count of textures created in this run.
int32_t Tex_CreatedTextureCount();

void Tex_UploadScaled(int32_t internalFormat, int32_t baseFormat, int32_t bpp, bool mipmaps, int32_t srcW,
                      int32_t srcH, int32_t dstW, int32_t dstH, const uint8_t* pixels);
void Tex_UploadMipmaps(int32_t internalFormat, int32_t baseFormat, int32_t bpp, int32_t w, int32_t h,
                       const uint8_t* pixels);
void Tex_ResampleRow(const uint8_t* src, uint8_t* dst, int32_t bpp, int32_t srcW, int32_t dstW);
// rows: scratch of 2 x dstW x bpp bytes.
void Tex_ResampleBilinear(const uint8_t* src, int32_t bpp, int32_t srcW, int32_t srcH, uint8_t* dst,
                          int32_t dstW, int32_t dstH, uint8_t* rows);
void Tex_SampleNearest(const uint8_t* src, int32_t bpp, int32_t srcW, int32_t srcH, uint8_t* dst,
                       int32_t dstW, int32_t dstH);
void Tex_HalveImage(const uint8_t* src, int32_t bpp, int32_t w, int32_t h, uint8_t* dst, int32_t newW,
                    int32_t newH);
