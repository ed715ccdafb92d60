// Realizing waiting images in groups: the files are read here (archive readers are not shared
// across threads), decoded on the pool while this thread waits, then uploaded here in the order
// asked. Workers touch only their own job record and the file bytes they were handed.
#include "gamedata/TextureDecoding.h"

#include <QByteArray>
#include <algorithm>
#include <vector>

#include "core/Platform.h"
#include "core/System.h"
#include "gamedata/DecodePool.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"

namespace {

struct Decode {
    TextureImage* image = nullptr;
    TextureManager::PendingDecode decoder{};
    QByteArray name;
    char* file = nullptr;
    uint32_t size = 0;
    TextureDecodeJob job{};
};

// Files and pixels in flight at once, per worker: enough to keep every worker busy, few enough
// that a map of large textures does not hold them all.
constexpr int kInFlightPerThread = 4;

cDecodePool& poolOf(TextureManager* m) {
    if (!m->decodePool) m->decodePool = std::make_unique<cDecodePool>();
    return *m->decodePool;
}

// The pixels into the image (the GL texture, or without GL a copy); false for a size the
// decoder should not have given.
bool store(TextureManager* m, TextureImage* image, const uint8_t* pixels, int32_t width, int32_t height,
           int32_t components) {
    if (!pixels || width <= 0 || height <= 0 || components < 1 || components > 4) return false;
    // The decoder has the last word on what the header promised.
    image->width = width;
    image->height = height;
    image->bytesPerPixel = uint16_t(components);
    image->format = components == 4 ? 0x1908 : components == 3 ? 0x1907 : 0x1909;
    image->compressedFormat = components == 4 ? 0x84EE : components == 3 ? 0x84ED : 0x84EA;
    if (!Tex_UploadImageData(image, pixels)) {
        const qsizetype bytes = qsizetype(width) * height * components;
        m->pixels.insert(image, QByteArray(reinterpret_cast<const char*>(pixels), bytes));
    }
    return true;
}

// A file that gave no pixels shows the "notexture" checker, as a file refused at load does.
void showPlaceholder(TextureManager* m, TextureImage* image) {
    const QByteArray& checker = Tex_NoTexturePixels();
    store(m, image, reinterpret_cast<const uint8_t*>(checker.constData()), kNoTextureSize, kNoTextureSize, 4);
}

// Decodes on this thread through whichever entry the format has; prints the refusal.
bool decodeHere(TextureManager* m, Decode& d) {
    int32_t width = 0, height = 0, components = 0;
    uint8_t* pixels =
        d.decoder.decode(d.decoder.formatId, d.name.constData(), reinterpret_cast<const uint8_t*>(d.file),
                         d.size, &width, &height, &components);
    if (!pixels) return false;
    ++m->decodedCount;
    const bool stored = store(m, d.image, pixels, width, height, components);
    Sys_Free(pixels);
    return stored;
}

// Takes the job's pixels; prints its refusal, naming the file.
bool finishJob(TextureManager* m, Decode& d, bool onPool) {
    TextureDecodeJob& job = d.job;
    if (!job.pixels) {
        job.message[sizeof job.message - 1] = 0;
        Sys_Warning("%s: %s", d.name.constData(), job.message[0] ? job.message : "not decoded");
        return false;
    }
    ++m->decodedCount;
    if (onPool) ++m->pooledCount;
    const bool stored = store(m, d.image, job.pixels, job.width, job.height, job.components);
    Sys_Free(job.pixels);
    job.pixels = nullptr;
    return stored;
}

// One group: read, decode (on the pool where the format allows), upload. Failures counted.
int32_t realizeGroup(TextureManager* m, Decode* group, int count) {
    std::vector<Decode*> pooled;
    for (int i = 0; i < count; ++i) {
        Decode& d = group[i];
        d.file = d.name.isEmpty() ? nullptr : Sys_LoadFile(d.name.constData(), &d.size);
        if (!d.file || !d.decoder.decodeJob) continue;
        d.job.size = int32_t(sizeof d.job);
        d.job.formatId = d.decoder.formatId;
        d.job.path = d.name.constData();
        d.job.data = reinterpret_cast<const uint8_t*>(d.file);
        d.job.dataSize = d.size;
        pooled.push_back(&d);
    }
    // A single job runs on this thread: waking a worker for it would only add the hand-over.
    const bool onPool = pooled.size() > 1;
    if (!pooled.empty()) {
        Decode* const* jobs = pooled.data();
        poolOf(m).run(int(pooled.size()), [jobs](int i) { jobs[i]->decoder.decodeJob(&jobs[i]->job); });
    }
    int32_t failed = 0;
    for (int i = 0; i < count; ++i) {
        Decode& d = group[i];
        bool ok = false;
        if (d.file) ok = d.decoder.decodeJob ? finishJob(m, d, onPool) : decodeHere(m, d);
        Sys_Free(d.file);
        d.file = nullptr;
        if (!ok) {
            showPlaceholder(m, d.image);
            ++failed;
        }
    }
    return failed;
}

void collectImage(const TextureManager* m, TextureImage* image, QList<TextureImage*>* images) {
    if (image && m->pending.contains(image)) images->append(image);
}

} // namespace

int32_t Tex_RealizeImages(TextureManager* m, const QList<TextureImage*>& images) {
    if (!m || m->pending.isEmpty() || images.isEmpty()) return 0;
    std::vector<Decode> work;
    for (TextureImage* image : images) {
        const auto found = m->pending.find(image);
        if (found == m->pending.end()) continue;
        Decode d;
        d.image = image;
        d.decoder = found.value();
        d.name = m->imageNames.value(image);
        m->pending.erase(found);
        work.push_back(std::move(d));
    }
    if (work.empty()) return 0;
    const bool anyPooled =
        std::any_of(work.begin(), work.end(), [](const Decode& d) { return d.decoder.decodeJob; });
    const int step = work.size() > 1 && anyPooled ? poolOf(m).threadCount() * kInFlightPerThread : 1;
    int32_t failed = 0;
    // One look-up pass for them all: each folder on the way is listed once, not once per file.
    Plat_BeginLookupPass();
    for (size_t at = 0; at < work.size(); at += size_t(step))
        failed += realizeGroup(m, work.data() + at, int(std::min(work.size() - at, size_t(step))));
    Plat_EndLookupPass();
    return failed;
}

bool Tex_RealizeImage(TextureManager* m, TextureImage* image) {
    return Tex_RealizeImages(m, {image}) == 0;
}

void Tex_CollectPending(const TextureManager* m, const ShaderRecord* shader, QList<TextureImage*>* images) {
    if (!m || !shader || m->pending.isEmpty()) return;
    collectImage(m, shader->image, images);
    for (TextureImage* face : shader->box)
        collectImage(m, face, images);
    for (const ShaderStage* stage = shader->stages; stage; stage = stage->next) {
        for (TextureImage* frame : stage->frames)
            collectImage(m, frame, images);
        if (TextureImage* head = stage->frameChain) {
            collectImage(m, head, images);
            for (TextureImage* frame = head->next; frame && frame != head; frame = frame->next)
                collectImage(m, frame, images);
        }
    }
}

void Tex_RealizeShader(TextureManager* m, ShaderRecord* shader) {
    if (!m || m->pending.isEmpty()) return;
    QList<TextureImage*> images;
    Tex_CollectPending(m, shader, &images);
    Tex_RealizeImages(m, images);
}
