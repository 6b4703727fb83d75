// The world kit behind quarn-world: pictures in and out of PNG, a data folder
// read through the game's own start-up, the checker, the map renderer and the
// blank world.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "../worldgen/gen.h"
#include "platform/testseams.h"

namespace kit {

// ---- pictures ----------------------------------------------------------------------
// RGBA, top row first: what PNG files hold.
struct Picture {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
};
// False with the reason in `error` when the file cannot be read or written.
bool ReadPng(const std::string& path, Picture& out, std::string& error);
bool WritePng(const std::string& path, const Picture& p, std::string& error);
bool WritePng(const std::string& path, const wg::Canvas& c, std::string& error);
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, std::string& error);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// A raw picture: RGB, rows bottom first, the colour key (0, 255, 255) for a
// transparent pixel. A PNG pixel of alpha below 128 becomes the colour key.
Picture PictureFromRaw(const std::vector<uint8_t>& raw, int w, int h);
std::vector<uint8_t> RawFromPicture(const Picture& p);
// A mask: one byte a pixel, rows top first, 255 rock, 128 water, anything
// else air. In a PNG: rock is any opaque colour but pure blue (drawn white),
// water pure blue (0, 0, 255), air transparent.
Picture PictureFromMask(const std::vector<uint8_t>& mask, int w, int h);
std::vector<uint8_t> MaskFromPicture(const Picture& p);

// ---- a data folder, as the game starts in it ----------------------------------------
struct Problem {
  std::string file;   // the path shown: the folder as given, then the data file
  int line;           // 0 for the file as a whole
  std::string message;
};
// Runs the game's start-up in `dir` with the console silenced, no window and
// a sound device that plays nothing, and leaves the game's tables as they
// are after it; every texture made is kept by the drawer `textures`, emptied
// first. Answers the problems met, in the order of the files read, each
// file's by line. False (with the reason in `error`) when `dir` is no folder.
bool LoadDataFolder(const std::string& dir, RecordDraw& textures, std::vector<Problem>& problems,
                    std::string& error);

// The name of an entity kind ("icer"), or "kind N" outside the kinds.
std::string KindName(int kind);

// ---- rendering the map ---------------------------------------------------------------
struct RenderOptions {
  int scale = 8;                       // world pixels per picture pixel: 1, 2, 4, ... 64
  int x = 0, y = 0, w = 256, h = 256;  // the area, in tiles
  bool tiles = true, entities = true, triggers = true, wind = true, water = true, labels = true;
};
// Draws the loaded world (LoadDataFolder) into `out`.
void RenderMap(const RecordDraw& textures, const RenderOptions& o, wg::Canvas& out);
// The colour the game draws for world pixel (px, py) of a tile word's cell,
// at full brightness over black; `px` and `py` are 0..63 from the top left.
wg::Rgb TilePixel(const RecordDraw& textures, uint32_t word, int px, int py);

// ---- a blank world ---------------------------------------------------------------------
// Writes the blank world into `dir`; false with the reason when `dir`
// already holds a world or cannot be made.
bool NewWorld(const std::string& dir, std::string& error);

}  // namespace kit
