#include "render/GLStateCache.h"

#include <GL/glext.h>
#include <algorithm>
#include <cstring>

#include "core/System.h"
#include "core/SysHost.h"
#include "core/MainSettings.h"
#include "render/RenderContext.h"

namespace {

const GLStateFuncs kReal = {glEnable,        glDisable,       glBlendFunc,    glAlphaFunc,
                            glCullFace,      glDepthMask,     glDepthFunc,    glBindTexture,
                            glTexParameteri, glTexParameterf, glColorPointer, glTexCoordPointer,
                            glVertexPointer};

const GLenum kSrcBlend[16] = {0,
                              GL_ZERO,
                              GL_ONE,
                              GL_DST_COLOR,
                              GL_ONE_MINUS_DST_COLOR,
                              GL_SRC_ALPHA,
                              GL_ONE_MINUS_SRC_ALPHA,
                              GL_DST_ALPHA,
                              GL_ONE_MINUS_DST_ALPHA,
                              GL_SRC_ALPHA_SATURATE,
                              GL_SRC_COLOR};
const GLenum kDstBlend[16] = {0,
                              GL_ZERO,
                              GL_ONE,
                              GL_SRC_COLOR,
                              GL_ONE_MINUS_SRC_COLOR,
                              GL_SRC_ALPHA,
                              GL_ONE_MINUS_SRC_ALPHA,
                              GL_DST_ALPHA,
                              GL_ONE_MINUS_DST_ALPHA};

void applyBlend(GLStateCache* c, uint32_t word, bool hadBlend) {
    GLStateFuncs& gl = GL_StateFuncs();
    const uint32_t bits = word & GLS::BlendMask;
    if (!bits) {
        gl.disable(GL_BLEND);
        return;
    }
    // GL_ZERO is 0 too: validity goes by the field's value, not by the enum it maps to.
    const uint32_t srcBits = bits & 0xf;
    const uint32_t dstBits = (bits >> 4) & 0xf;
    GLenum src = kSrcBlend[srcBits];
    GLenum dst = kDstBlend[dstBits];
    if (srcBits == 0 || srcBits > 10) {
        Sys_Warning("GL_State: invalid src blend state bits");
        src = GL_ONE;
    }
    if (dstBits == 0 || dstBits > 8) {
        Sys_Warning("GL_State: invalid dst blend state bits");
        dst = GL_ONE;
    }
    if (!hadBlend) gl.enable(GL_BLEND);
    if (src != c->blendSrc || dst != c->blendDst) {
        gl.blendFunc(src, dst);
        c->blendSrc = src;
        c->blendDst = dst;
    }
}

void applyAlphaTest(GLStateCache* c, uint32_t word, bool hadTest) {
    GLStateFuncs& gl = GL_StateFuncs();
    const uint32_t v = (word & GLS::AlphaTestMask) >> 16;
    if (!v) {
        gl.disable(GL_ALPHA_TEST);
        return;
    }
    GLenum func = GL_GEQUAL;
    float ref = 0.5f;
    if (v == 1) {
        func = GL_GREATER;
        ref = 0.0f;
    } else if (v == 2) {
        func = GL_LESS;
    } else if (v >= 4) {
        ref = Sys_Settings().MinAlphaValue;
    }
    if (!hadTest) gl.enable(GL_ALPHA_TEST);
    if (func != c->alphaFunc || ref != c->alphaRef) {
        gl.alphaFunc(func, ref);
        c->alphaFunc = func;
        c->alphaRef = ref;
    }
}

void applyCulling(const GLStateCache* c, uint32_t word) {
    if (c->flags & GLCacheFlag::KeepCulling) return;
    GLStateFuncs& gl = GL_StateFuncs();
    const uint32_t v = (word & GLS::CullMask) >> 20;
    if (v == 1) {
        gl.disable(GL_CULL_FACE);
        return;
    }
    gl.enable(GL_CULL_FACE);
    gl.cullFace(v >= 2 ? GL_FRONT : GL_BACK);
}

// Applies the fields of word that differ from previous (all of them with everything set).
void applyWord(GLStateCache* c, uint32_t word, uint32_t previous, bool everything) {
    const uint32_t changed = everything ? ~0u : word ^ previous;
    if (changed & GLS::BlendMask) applyBlend(c, word, !everything && (previous & GLS::BlendMask));
    if (changed & GLS::AlphaTestMask) applyAlphaTest(c, word, !everything && (previous & GLS::AlphaTestMask));
    if (changed & GLS::CullMask) applyCulling(c, word);
    if (changed & GLS::DepthWrite) GL_StateFuncs().depthMask((word & GLS::DepthWrite) ? GL_TRUE : GL_FALSE);
    if (changed & GLS::DepthEqual) GL_StateFuncs().depthFunc((word & GLS::DepthEqual) ? GL_EQUAL : GL_LEQUAL);
    c->state = word;
}

} // namespace

GLStateFuncs& GL_StateFuncs() {
    static GLStateFuncs funcs = kReal;
    return funcs;
}

const GLStateFuncs& GL_RealStateFuncs() {
    return kReal;
}

float& Render_MaxAnisotropy() {
    static float maximum = 1.0f;
    return maximum;
}

void GL_InitStateCache(GLStateCache* c) {
    std::memset(c, 0, sizeof *c);
    c->state = GLS::Opaque;
    c->blendSrc = GL_SRC_ALPHA;
    c->blendDst = GL_ONE_MINUS_SRC_ALPHA;
    c->depthFunc = GL_LEQUAL;
    c->alphaFunc = GL_GEQUAL;
    c->alphaRef = 0.2f;
}

void GL_SetStartFunctions() {
    GLStateCache start;
    GL_InitStateCache(&start);
    glAlphaFunc(start.alphaFunc, start.alphaRef);
    glBlendFunc(start.blendSrc, start.blendDst);
    glDepthFunc(start.depthFunc);
}

void GL_State(GLStateCache* c, uint32_t word) {
    if (word == c->state) return;
    applyWord(c, word, c->state, false);
}

void GL_ResyncStateCache(GLStateCache* c) {
    c->colorPointer = c->texCoordPointer = c->vertexPointer = nullptr;
    c->colorStride = c->texCoordStride = c->vertexStride = 0;
    c->boundTexture = 0;
    c->boundFilter = -1;
    // GL may hold any blend pair or alpha function now: set them again.
    c->blendSrc = c->blendDst = 0;
    c->alphaFunc = 0;
    c->alphaRef = -1.0f;
    applyWord(c, c->state, c->state, true);
    GLStateFuncs& gl = GL_StateFuncs();
    gl.bindTexture(GL_TEXTURE_2D, 0);
}

void Render_SetTextureFilter(GLStateCache* c, int32_t filter) {
    if (filter == c->boundFilter) return;
    GLStateFuncs& gl = GL_StateFuncs();
    const GLint mag = (filter & 1) ? GL_LINEAR : GL_NEAREST;
    GLint min = mag;
    if (filter & 4) min = (filter & 1) ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
    const float maximum = Render_MaxAnisotropy();
    if (maximum > 1.0f)
        gl.texParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, (filter & 2) ? maximum : 1.0f);
    c->boundFilter = filter;
}

void Render_BindTexture(GLStateCache* c, uint32_t glName, int32_t filter, bool hasMipmaps) {
    if (!glName) return;
    if (!hasMipmaps) filter &= ~4;
    if (c->boundTexture == int32_t(glName)) {
        if (filter != c->boundFilter) Render_SetTextureFilter(c, filter);
        return;
    }
    GL_StateFuncs().bindTexture(GL_TEXTURE_2D, glName);
    c->boundTexture = int32_t(glName);
    // What the new name holds is unknown: its filters are set whatever the word (a word of 0 must
    // still replace GL's mipmapped default, or a texture without mipmaps stays incomplete).
    c->boundFilter = -1;
    Render_SetTextureFilter(c, filter);
}

// The stride is compared as well as the pointer: the same array read with another stride is a
// different array to GL.
#define ZARV_POINTER_SETTER(Name, field, strideField, call, size, type)                                      \
    void Name(GLStateCache* c, int32_t stride, const void* pointer) {                                        \
        if (pointer == c->field && stride == c->strideField) return;                                         \
        GL_StateFuncs().call(size, type, stride, pointer);                                                   \
        c->field = pointer;                                                                                  \
        c->strideField = stride;                                                                             \
    }
ZARV_POINTER_SETTER(Render_ColorPointer, colorPointer, colorStride, colorPointer, 4, GL_UNSIGNED_BYTE)
ZARV_POINTER_SETTER(Render_TexCoordPointer, texCoordPointer, texCoordStride, texCoordPointer, 2, GL_FLOAT)
ZARV_POINTER_SETTER(Render_VertexPointer, vertexPointer, vertexStride, vertexPointer, 3, GL_FLOAT)
#undef ZARV_POINTER_SETTER

void Render_InitAnisotropy() {
    static bool probed = false;
    if (probed) return;
    probed = true;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!extensions || !std::strstr(extensions, "GL_EXT_texture_filter_anisotropic")) return;
    Sys_Printf("Using extension: GL_EXT_texture_filter_anisotropic");
    GLfloat maximum = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    Render_MaxAnisotropy() = std::min(maximum, 4.0f);
}

uint32_t Draw_SolidState(const RenderContext* context) {
    return context->backFaceCull ? GLS::Opaque : (GLS::Opaque | 0x100000);
}
