/* A stand-in for libswscale with major version 5: the loader must refuse it. */
int sws_getContext(void) { return 0; }
int sws_getCachedContext(void) { return 0; }
int sws_scale(void) { return 0; }
int sws_freeContext(void) { return 0; }
int sws_alloc_context(void) { return 0; }
unsigned swscale_version(void) { return 5u << 16; }
