#include "game.h"

// Not built yet: an empty entry point with its final signature.
uint8_t* ImageAddAlpha(const uint8_t* src, int imgsize) { (void)src; (void)imgsize; return nullptr; }
void ImageUpload(const uint8_t* image, int texId, int imgx) { (void)image; (void)texId; (void)imgx; }
void ImageUploadXY(const uint8_t* image, int texId, int imgx, int imgy) { (void)image; (void)texId; (void)imgx; (void)imgy; }
void LoadRaw(const char* name, int texidx, int imgx) { (void)name; (void)texidx; (void)imgx; }
void LoadRawXY(const char* name, int texidx, int imgx, int imgy) { (void)name; (void)texidx; (void)imgx; (void)imgy; }
void LoadMask(const char* name, int idx) { (void)name; (void)idx; }
void LoadEntityFrameXY(const char* fn, int i, int xsiz, int ysiz) { (void)fn; (void)i; (void)xsiz; (void)ysiz; }
void LoadMultiEntityFrameXY(const char* fn, int i, int xsiz, int ysiz) { (void)fn; (void)i; (void)xsiz; (void)ysiz; }
void LoadMapTiles() { }
int loadTGA(const char* name, int id) { (void)name; (void)id; return 0; }
