// JPEG decoding through libjpeg with a memory source and an error manager of our own. libjpeg
// reports fatal errors by longjmp: the decoding function holds only plain C data, so nothing
// with a destructor is skipped by the jump.
#include <csetjmp>
#include <cstdio>
#include <cstring>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "EngineServices.h"
#include "Images.h"

namespace {

constexpr uint64_t kMaxImageBytes = 0x7FFFFFFF;
// Larger sides are no texture any card takes; a tiny damaged file could claim one.
constexpr JDIMENSION kMaxSide = 16384;
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    longjmp(errors->jump, 1);
}

// libjpeg's warnings and traces, in its own words, on standard output.
void outputMessage(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::printf("%s\n", text);
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// The source with a note that the file ended early.
struct Source {
    jpeg_source_mgr pub;
    bool ended;
};

// The whole file is the buffer: asking for more means the file ended early.
boolean fillInput(j_decompress_ptr cinfo) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    reinterpret_cast<Source*>(cinfo->src)->ended = true;
    cinfo->src->next_input_byte = kEndOfImage;
    cinfo->src->bytes_in_buffer = 2;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) {
        fillInput(cinfo);
        return;
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

// Whether the file can hold the picture its header claims. Every block of every component costs
// at least two bits in a sequential scan (a DC difference and an end of block) and one in the DC
// scan a progressive file must have; an arithmetic coder has no such floor, and the game's decoder
// does not read it.
bool claimFits(j_decompress_ptr cinfo, uint32_t size, DecodedImage* out) {
    if (cinfo->arith_code) return Image_Refuse(out, "JPGImageLoader: arithmetic coding not supported");
    uint64_t blocks = 0;
    for (int i = 0; i < cinfo->num_components; ++i)
        blocks +=
            static_cast<uint64_t>(cinfo->comp_info[i].width_in_blocks) * cinfo->comp_info[i].height_in_blocks;
    const uint64_t bits = blocks * (cinfo->progressive_mode ? 1 : 2);
    if (bits <= static_cast<uint64_t>(size) * 8) return true;
    return Image_Refuse(out, "JPGImageLoader: image of %ux%u cannot be in a file of %u bytes",
                        cinfo->image_width, cinfo->image_height, size);
}

// Plain C from here on: a longjmp lands in this frame. The pixel block is reached through out,
// which the jump leaves as it was, so a fatal error in the middle of the rows frees it.
bool decodeFile(const uint8_t* data, uint32_t size, DecodedImage* out) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    Source source;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.output_message = outputMessage;
    errors.message[0] = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return Image_Refuse(out, "JPGImageLoader: %s", errors.message);
    }
    jpeg_create_decompress(&cinfo);
    source.pub.next_input_byte = data;
    source.pub.bytes_in_buffer = size;
    source.pub.init_source = initSource;
    source.pub.fill_input_buffer = fillInput;
    source.pub.skip_input_data = skipInput;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = termSource;
    source.ended = false;
    cinfo.src = &source.pub;

    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width > kMaxSide || cinfo.image_height > kMaxSide) {
        jpeg_destroy_decompress(&cinfo);
        return Image_Refuse(out, "JPGImageLoader: image of %ux%u too large", cinfo.image_width,
                            cinfo.image_height);
    }
    // Before libjpeg or we allocate anything the size of the picture.
    if (!claimFits(&cinfo, size, out)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const uint64_t w = cinfo.output_width, h = cinfo.output_height;
    const uint64_t components = static_cast<uint64_t>(cinfo.output_components);
    const uint64_t rowBytes = w * components;
    const uint64_t bytes = rowBytes * h;
    out->pixels = bytes <= kMaxImageBytes ? static_cast<uint8_t*>(Eng_Alloc(bytes)) : nullptr;
    if (!out->pixels) {
        jpeg_destroy_decompress(&cinfo);
        return Image_Refuse(out, "JPGImageLoader: memory allocation failure on %i bytes",
                            bytes <= kMaxImageBytes ? static_cast<int32_t>(bytes) : -1);
    }
    // A one-scan file cut short keeps the rows decoded before the cut; the rest is black, not
    // decoded from nothing. Files of several scans were read whole by the start above.
    const bool stopAtEnd = !jpeg_has_multiple_scans(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height && !(stopAtEnd && source.ended)) {
        JSAMPROW row = out->pixels + static_cast<uint64_t>(cinfo.output_scanline) * rowBytes;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    const uint64_t done = cinfo.output_scanline;
    if (done < h) {
        std::memset(out->pixels + done * rowBytes, 0, (h - done) * rowBytes);
        jpeg_abort_decompress(&cinfo);
    } else {
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    out->width = static_cast<int32_t>(w);
    out->height = static_cast<int32_t>(h);
    out->components = static_cast<int32_t>(components);
    return true;
}

} // namespace

bool JPGImageLoader::decode(const uint8_t* data, uint32_t size, DecodedImage* out) const {
    if (!data || size == 0) return Image_Refuse(out, "JPGImageLoader: empty file");
    return decodeFile(data, size, out);
}
