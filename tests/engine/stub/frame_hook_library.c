/* A video hook library for the frame hook tests. Configure takes the luma value to paint (argument
   1, "refuse" makes it fail) and an optional file that Release writes "released" into; Process
   paints the top-left 32x32 square of a YUV 4:2:0 picture with that luma and neutral colour.
   Built three times: complete, without Configure (VX_NO_CONFIGURE) and without Process
   (VX_NO_PROCESS). */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    uint8_t* data[4];
    int linesize[4];
} HookPicture;

typedef struct {
    int luma;
    char file[512];
} HookContext;

static int process_count = 0;

int HookProcessCount(void) { return process_count; }

#ifndef VX_NO_CONFIGURE
int Configure(void** ctxp, int argc, char* argv[])
{
    HookContext* ctx;
    if (argc > 1 && strcmp(argv[1], "refuse") == 0) return -1;
    ctx = (HookContext*)calloc(1, sizeof *ctx);
    if (!ctx) return -1;
    ctx->luma = argc > 1 ? atoi(argv[1]) : 235;
    if (argc > 2) snprintf(ctx->file, sizeof ctx->file, "%s", argv[2]);
    *ctxp = ctx;
    return 0;
}
#endif

#ifndef VX_NO_PROCESS
void Process(void* ctx, HookPicture* picture, int pix_fmt, int width, int height, int64_t pts)
{
    HookContext* hook = (HookContext*)ctx;
    int luma = hook ? hook->luma : 235;
    int x, y;
    (void)pts;
    ++process_count;
    if (pix_fmt != 0 || width < 32 || height < 32) /* yuv420p only */
        return;
    for (y = 0; y < 32; ++y)
        for (x = 0; x < 32; ++x) picture->data[0][y * picture->linesize[0] + x] = (uint8_t)luma;
    for (y = 0; y < 16; ++y)
        for (x = 0; x < 16; ++x) {
            picture->data[1][y * picture->linesize[1] + x] = 128;
            picture->data[2][y * picture->linesize[2] + x] = 128;
        }
}
#endif

void Release(void* ctx)
{
    HookContext* hook = (HookContext*)ctx;
    if (hook && hook->file[0]) {
        FILE* f = fopen(hook->file, "a");
        if (f) {
            fputs("released\n", f);
            fclose(f);
        }
    }
    free(hook);
}
