// libjpeg's error handling for our own reading and writing of JPEG data (the packing tool, the
// thumbnails): a fatal error jumps back to the caller's setjmp (libjpeg's default ends the
// program) with its message kept; warnings are counted, never printed. One per decoder: no
// state is shared between threads.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace cvx {

struct JpegErrors {
    jpeg_error_mgr base{}; // first, so that libjpeg's pointer to it is one to the whole
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};

    // Sets the handlers up; the result goes into the `err` field of libjpeg's structures.
    jpeg_error_mgr* install() {
        jpeg_std_error(&base);
        base.error_exit = [](j_common_ptr info) {
            auto* self = reinterpret_cast<JpegErrors*>(info->err);
            (*info->err->format_message)(info, self->message);
            std::longjmp(self->jump, 1);
        };
        base.output_message = [](j_common_ptr) {};
        return &base;
    }
};

} // namespace cvx
