// GL texture upload through the shared resource context.
#include "gamedata/TextureUpload.h"

#include <GL/gl.h>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "gamedata/TextureRecords.h"
#include "kstdlib/kutil.h"
#include "render/GLFormat.h"

namespace {

constexpr int32_t kMaxSide = 512;
constexpr GLenum kGenerateMipmap = 0x8191;     // GL_GENERATE_MIPMAP_SGIS
constexpr GLenum kGenerateMipmapHint = 0x8192; // GL_GENERATE_MIPMAP_HINT_SGIS
constexpr GLenum kCompressionHint = 0x84EF;    // GL_TEXTURE_COMPRESSION_HINT_ARB

QOpenGLContext* s_context = nullptr;
QOffscreenSurface* s_surface = nullptr;
bool s_failed = false;
bool s_firstProbe = true;
// Set by an exit handler registered after Qt's per-thread context storage exists, so it runs
// before that storage is destroyed: managers destroyed later at exit touch no GL.
bool s_exiting = false;
bool s_exitHandlerSet = false;
int32_t s_created = 0;

bool createContext() {
    if (s_context) return true;
    if (s_failed) return false;
    s_failed = true;
    if (!View_CreateSharedContext(&s_context, &s_surface)) {
        Sys_Warning("no OpenGL: textures are kept without GL textures");
        return false;
    }
    s_failed = false;
    return true;
}

// Grow-only scratch sized by what is written into it.
uint8_t* scratch(std::vector<uint8_t>& buffer, size_t size) {
    if (buffer.size() < size) buffer.resize(size);
    return buffer.data();
}
std::vector<uint8_t> s_levelA, s_levelB, s_rows, s_resampled;

GLenum baseFormatOf(int32_t format) {
    switch (format) {
    case GL_RGB:
    case 0x84ED:
        return GL_RGB;
    case GL_LUMINANCE:
    case 0x84EA:
        return GL_LUMINANCE;
    case GL_LUMINANCE_ALPHA:
    case 0x84EB:
        return GL_LUMINANCE_ALPHA;
    default:
        return GL_RGBA;
    }
}

void makeIcon(TextureImage* image, const uint8_t* pixels) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    constexpr int kIcon = 24;
    QImage icon(kIcon, kIcon, QImage::Format_ARGB32);
    icon.fill(0x00FFFFFFu);
    const int bpp = image->bytesPerPixel;
    auto put = [&](int x, int y, const uint8_t* p) {
        const uint8_t r = p[0], g = bpp >= 3 ? p[1] : p[0], b = bpp >= 3 ? p[2] : p[0];
        icon.setPixel(x, y, qRgba(r, g, b, 255));
    };
    const int w = image->width, h = image->height;
    if (w <= 21 && h <= 21) {
        const int ox = (kIcon - w) / 2, oy = (kIcon - h) / 2;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(ox + x, oy + y, pixels + (size_t(y) * w + x) * bpp);
    } else {
        std::vector<uint8_t> sampled(22 * 22 * size_t(bpp));
        Tex_SampleNearest(pixels, bpp, w, h, sampled.data(), 22, 22);
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 22; ++x)
                put(1 + x, 1 + y, sampled.data() + (size_t(y) * 22 + x) * bpp);
    }
    image->icon = new QIcon(QPixmap::fromImage(icon));
}

void texImage(int32_t level, int32_t internalFormat, int32_t w, int32_t h, GLenum base,
              const uint8_t* pixels) {
    glTexImage2D(GL_TEXTURE_2D, level, internalFormat, w, h, 0, base, GL_UNSIGNED_BYTE, pixels);
}

} // namespace

cSharedGLScope::cSharedGLScope() {
    if (s_exiting || !createContext()) return;
    m_previous = QOpenGLContext::currentContext();
    m_previousSurface = m_previous ? m_previous->surface() : nullptr;
    m_ok = m_previous == s_context || s_context->makeCurrent(s_surface);
    if (!s_exitHandlerSet) {
        s_exitHandlerSet = true;
        std::atexit([] { s_exiting = true; });
    }
    if (m_ok) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
    }
}

cSharedGLScope::~cSharedGLScope() {
    if (!m_ok || m_previous == s_context) return;
    if (m_previous)
        m_previous->makeCurrent(static_cast<QSurface*>(m_previousSurface));
    else
        s_context->doneCurrent();
}

const TextureExtensions& Tex_ProbeExtensions() {
    static TextureExtensions ext;
    static bool probed = false;
    if (probed) return ext;
    cSharedGLScope scope;
    if (!scope.ok()) return ext;
    probed = true;
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    QByteArray all = list ? QByteArray(list) : QByteArray();
    if (all.isEmpty()) {
        // Core-style drivers list their extensions one by one.
        for (const QByteArray& name : s_context->extensions())
            all += name + ' ';
    }
    struct Probe {
        const char* name;
        bool* flag;
    };
    bool sgisClamp = false;
    const Probe probes[] = {{"GL_ARB_texture_compression", &ext.compression},
                            {"GL_ARB_texture_non_power_of_two", &ext.nonPowerOfTwo},
                            {"GL_SGIS_generate_mipmap", &ext.generateMipmap},
                            {"GL_EXT_texture_edge_clamp", &ext.edgeClamp},
                            {"GL_SGIS_texture_edge_clamp", &sgisClamp}};
    for (const Probe& p : probes) {
        *p.flag = all.contains(p.name);
        if (*p.flag && s_firstProbe) Sys_Printf("Using extension: %s", p.name);
    }
    ext.edgeClamp = ext.edgeClamp || sgisClamp;
    const QByteArray renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    ext.softwareRenderer = renderer.contains("llvmpipe") || renderer.contains("softpipe");
    s_firstProbe = false;
    if (ext.compression) glHint(kCompressionHint, GL_NICEST);
    if (ext.generateMipmap) glHint(kGenerateMipmapHint, GL_NICEST);
    return ext;
}

int32_t Tex_BytesPerPixel(int32_t format) {
    switch (baseFormatOf(format)) {
    case GL_RGB:
        return 3;
    case GL_LUMINANCE:
        return 1;
    case GL_LUMINANCE_ALPHA:
        return 2;
    default:
        return 4;
    }
}

void Tex_UploadSize(int32_t width, int32_t height, const TextureExtensions& ext, int32_t* outWidth,
                    int32_t* outHeight) {
    const MainSettings& s = Sys_Settings();
    int32_t w, h;
    if (ext.nonPowerOfTwo && s.TextureNPOT) {
        w = std::min(width, kMaxSide);
        h = std::min(height, kMaxSide);
    } else {
        w = std::min(int32_t(K_NextPowerOf2(unsigned(width))), kMaxSide);
        h = std::min(int32_t(K_NextPowerOf2(unsigned(height))), kMaxSide);
    }
    if (s.HalfSizeTextures) {
        if (w > s.MinHalfSizeTextureDims) w /= 2;
        if (h > s.MinHalfSizeTextureDims) h /= 2;
    }
    *outWidth = std::max(w, 1);
    *outHeight = std::max(h, 1);
}

bool Tex_UploadImageData(TextureImage* image, const void* data) {
    if (!image || !data) return false;
    if (image->width <= 0 || image->height <= 0) {
        Sys_Warning("texture of %i x %i pixels refused", image->width, image->height);
        return false;
    }
    const auto* pixels = static_cast<const uint8_t*>(data);
    const int32_t bpp = Tex_BytesPerPixel(image->format);
    if (!image->icon) makeIcon(image, pixels);
    const TextureExtensions& ext = Tex_ProbeExtensions();
    cSharedGLScope scope;
    if (!scope.ok()) return false;
    const MainSettings& s = Sys_Settings();
    const bool compress = ext.compression && s.TextureCompression;
    const bool noMipmaps = image->flags & IMAGE_NO_MIPMAPS;
    const bool glMipmaps = ext.generateMipmap && !ext.softwareRenderer && s.AutoMipmaps && !noMipmaps;
    int32_t w, h;
    Tex_UploadSize(image->width, image->height, ext, &w, &h);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    if (glMipmaps) glTexParameteri(GL_TEXTURE_2D, kGenerateMipmap, 1);
    const bool chain = !glMipmaps && !noMipmaps;
    Tex_UploadScaled(compress ? image->compressedFormat : image->format, int32_t(baseFormatOf(image->format)),
                     bpp, chain, image->width, image->height, w, h, pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    image->glName = name;
    ++s_created;
    return true;
}

void Tex_DeleteImageData(TextureImage* image) {
    if (!image) return;
    delete static_cast<QIcon*>(image->icon);
    image->icon = nullptr;
    if (image->glName) {
        cSharedGLScope scope;
        if (scope.ok()) {
            const GLuint name = image->glName;
            glDeleteTextures(1, &name);
        }
        image->glName = 0;
    }
}

int32_t Tex_CreatedTextureCount() {
    return s_created;
}

void Tex_UploadScaled(int32_t internalFormat, int32_t baseFormat, int32_t bpp, bool mipmaps, int32_t srcW,
                      int32_t srcH, int32_t dstW, int32_t dstH, const uint8_t* pixels) {
    const uint8_t* source = pixels;
    if (srcW != dstW || srcH != dstH) {
        uint8_t* rows = scratch(s_rows, size_t(dstW) * bpp * 2);
        uint8_t* out = scratch(s_resampled, size_t(dstW) * dstH * bpp);
        Tex_ResampleBilinear(pixels, bpp, srcW, srcH, out, dstW, dstH, rows);
        source = out;
    }
    if (mipmaps)
        Tex_UploadMipmaps(internalFormat, baseFormat, bpp, dstW, dstH, source);
    else
        texImage(0, internalFormat, dstW, dstH, GLenum(baseFormat), source);
}

void Tex_UploadMipmaps(int32_t internalFormat, int32_t baseFormat, int32_t bpp, int32_t w, int32_t h,
                       const uint8_t* pixels) {
    // Each level is at most half the one before in one side; both buffers hold level 1 in full
    // (a level with one side 1 is half, not a quarter, of the one above).
    const size_t size = size_t(std::max(w / 2, 1)) * std::max(h / 2, 1) * bpp;
    uint8_t* a = scratch(s_levelA, size);
    uint8_t* b = scratch(s_levelB, size);
    texImage(0, internalFormat, w, h, GLenum(baseFormat), pixels);
    const uint8_t* source = pixels;
    for (int32_t level = 1; w > 1 || h > 1; ++level) {
        const int32_t nw = w > 1 ? w / 2 : 1;
        const int32_t nh = h > 1 ? h / 2 : 1;
        uint8_t* dst = (level & 1) ? a : b;
        Tex_HalveImage(source, bpp, w, h, dst, nw, nh);
        texImage(level, internalFormat, nw, nh, GLenum(baseFormat), dst);
        source = dst;
        w = nw;
        h = nh;
    }
}

void Tex_ResampleRow(const uint8_t* src, uint8_t* dst, int32_t bpp, int32_t srcW, int32_t dstW) {
    const int32_t step = int32_t(srcW * 65536.0 / dstW);
    int32_t position = 0;
    for (int32_t x = 0; x < dstW; ++x, position += step, dst += bpp) {
        const int32_t p = std::min(position >> 16, srcW - 1);
        const uint8_t* a = src + size_t(p) * bpp;
        if (p < srcW - 1) {
            const int32_t frac = position & 0xFFFF;
            for (int32_t c = 0; c < bpp; ++c)
                dst[c] = uint8_t(a[c] + (((a[bpp + c] - a[c]) * frac) >> 16));
        } else {
            std::memcpy(dst, a, size_t(bpp));
        }
    }
}

void Tex_ResampleBilinear(const uint8_t* src, int32_t bpp, int32_t srcW, int32_t srcH, uint8_t* dst,
                          int32_t dstW, int32_t dstH, uint8_t* rows) {
    const size_t rowBytes = size_t(dstW) * bpp;
    const size_t srcRow = size_t(srcW) * bpp;
    uint8_t* upper = rows;
    uint8_t* lower = rows + rowBytes;
    // The row below is clamped to the last one: a one-row image or the last row reads no further.
    auto resample = [&](int32_t row, uint8_t* out) {
        Tex_ResampleRow(src + size_t(std::min(row, srcH - 1)) * srcRow, out, bpp, srcW, dstW);
    };
    resample(0, upper);
    resample(1, lower);
    const int32_t step = int32_t(srcH * 65536.0 / dstH);
    int32_t position = 0;
    int32_t current = 0;
    for (int32_t y = 0; y < dstH; ++y, position += step, dst += rowBytes) {
        const int32_t r = std::min(position >> 16, srcH - 1);
        if (r != current) {
            if (r == current + 1)
                std::swap(upper, lower);
            else
                resample(r, upper);
            resample(r + 1, lower);
            current = r;
        }
        if (r < srcH - 1) {
            const int32_t frac = position & 0xFFFF;
            for (size_t i = 0; i < rowBytes; ++i)
                dst[i] = uint8_t(upper[i] + (((lower[i] - upper[i]) * frac) >> 16));
        } else {
            std::memcpy(dst, upper, rowBytes);
        }
    }
}

void Tex_SampleNearest(const uint8_t* src, int32_t bpp, int32_t srcW, int32_t srcH, uint8_t* dst,
                       int32_t dstW, int32_t dstH) {
    const int32_t step = int32_t(int64_t(srcW) * 65536 / dstW);
    for (int32_t i = 0; i < dstH; ++i) {
        const uint8_t* row = src + size_t(int64_t(i) * srcH / dstH) * srcW * bpp;
        int32_t position = step / 2;
        for (int32_t j = 0; j < dstW; ++j, position += step, dst += bpp)
            std::memcpy(dst, row + size_t(std::min(position >> 16, srcW - 1)) * bpp, size_t(bpp));
    }
}

void Tex_HalveImage(const uint8_t* src, int32_t bpp, int32_t w, int32_t h, uint8_t* dst, int32_t newW,
                    int32_t newH) {
    const size_t row = size_t(w) * bpp;
    for (int32_t y = 0; y < newH; ++y) {
        for (int32_t x = 0; x < newW; ++x) {
            for (int32_t c = 0; c < bpp; ++c, ++dst) {
                if (newW < w && newH < h) {
                    const uint8_t* p = src + 2 * y * row + size_t(2 * x) * bpp + c;
                    *dst = uint8_t((p[0] + p[bpp] + p[row] + p[row + bpp]) >> 2);
                } else if (newW < w) {
                    const uint8_t* p = src + y * row + size_t(2 * x) * bpp + c;
                    *dst = uint8_t((p[0] + p[bpp]) >> 1);
                } else {
                    const uint8_t* p = src + 2 * y * row + size_t(x) * bpp + c;
                    *dst = uint8_t((p[0] + p[row]) >> 1);
                }
            }
        }
    }
}
