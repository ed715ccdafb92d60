// Per-view record of the GL state that drawing changes often (blending, alpha test, culling,
// depth writes and comparison, the bound texture and its filter, the client-array pointers): a
// GL call is issued only for what differs from the record.
#pragma once

#include <GL/gl.h>
#include <cstdint>

struct RenderContext;

// The GL entry points the cache calls; tests swap in counting ones.
struct GLStateFuncs {
    void (*enable)(GLenum);
    void (*disable)(GLenum);
    void (*blendFunc)(GLenum, GLenum);
    void (*alphaFunc)(GLenum, GLclampf);
    void (*cullFace)(GLenum);
    void (*depthMask)(GLboolean);
    void (*depthFunc)(GLenum);
    void (*bindTexture)(GLenum, GLuint);
    void (*texParameteri)(GLenum, GLenum, GLint);
    void (*texParameterf)(GLenum, GLenum, GLfloat);
    void (*colorPointer)(GLint, GLenum, GLsizei, const void*);
    void (*texCoordPointer)(GLint, GLenum, GLsizei, const void*);
    void (*vertexPointer)(GLint, GLenum, GLsizei, const void*);
};
// The table in use (the real GL functions unless a test replaced them).
GLStateFuncs& GL_StateFuncs();
// The real GL functions.
const GLStateFuncs& GL_RealStateFuncs();

// Bits of GLStateCache::flags.
namespace GLCacheFlag {
constexpr uint8_t KeepCulling = 0x1; // leave face culling alone
}

// Fields of the state word.
namespace GLS {
constexpr uint32_t SrcBlendMask = 0xf;
constexpr uint32_t DstBlendMask = 0xf0;
constexpr uint32_t BlendMask = 0xff;
constexpr uint32_t DepthWrite = 0x100;
constexpr uint32_t DepthEqual = 0x1000;
constexpr uint32_t AlphaTestMask = 0x70000;
constexpr uint32_t AlphaTestIcon = 0x40000;
constexpr uint32_t CullMask = 0x300000;
constexpr uint32_t Opaque = 0x100;     // depth write only
constexpr uint32_t Translucent = 0x65; // SRC_ALPHA, ONE_MINUS_SRC_ALPHA, no depth write
} // namespace GLS

struct GLStateCache {
    uint32_t state;
    uint8_t flags; // GLCacheFlag
    int32_t boundTexture;
    int32_t boundFilter;
    GLenum blendSrc;
    GLenum blendDst;
    GLenum depthFunc;
    GLenum alphaFunc;
    float alphaRef;
    const void* colorPointer;
    const void* texCoordPointer;
    const void* vertexPointer;
    int32_t colorStride;
    int32_t texCoordStride;
    int32_t vertexStride;
};

// The start values: word 256, SRC_ALPHA/ONE_MINUS_SRC_ALPHA, LEQUAL, GEQUAL 0.2, nothing bound.
void GL_InitStateCache(GLStateCache* cache);
// Sets GL's blend, alpha-test and depth functions to a new cache's start values (a resynced cache
// holds "unknown" for the first two).
void GL_SetStartFunctions();
// Applies a state word, calling GL only for the fields that change.
void GL_State(GLStateCache* cache, uint32_t word);
// The state word the solid surfaces of a view draw with (culling by the back-face switch).
uint32_t Draw_SolidState(const RenderContext* context);
// Forgets pointers, bound texture and filter and re-applies the word to GL in full: for after
// drawing outside the cache, at the start of every paint and when a texture name was deleted.
void GL_ResyncStateCache(GLStateCache* cache);
// Binds a texture name (0 does nothing); textures without mipmaps drop filter bit 2.
void Render_BindTexture(GLStateCache* cache, uint32_t glName, int32_t filterWord, bool hasMipmaps = true);
// Sets the bound texture's filters from the word unless it is the one already applied.
void Render_SetTextureFilter(GLStateCache* cache, int32_t filterWord);
void Render_ColorPointer(GLStateCache* cache, int32_t stride, const void* pointer);
void Render_TexCoordPointer(GLStateCache* cache, int32_t stride, const void* pointer);
void Render_VertexPointer(GLStateCache* cache, int32_t stride, const void* pointer);
// Probes the anisotropy extension once per run (needs a current context).
void Render_InitAnisotropy();
// The probed maximum anisotropy (1 without the extension); tests may set it.
float& Render_MaxAnisotropy();
