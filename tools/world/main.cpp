// quarn-world: makes, checks and draws data folders for the game, and turns
// pictures between PNG and the game's raw files. Exit status 0 on success, 1
// when problems are found or a file cannot be read or written, 2 on bad usage;
// errors go to standard error. It writes only the files and folders it is
// named.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "kit.h"

namespace {

constexpr int kOk = 0, kProblems = 1, kUsage = 2;

const char* const kToolHelp =
    "usage: quarn-world COMMAND ARGUMENTS...\n"
    "Makes, checks and draws worlds (data folders) for the game Quarn.\n"
    "\n"
    "commands:\n"
    "  new DIR                        a small blank world to start from\n"
    "  generate DIR                   the default world, as the build makes it\n"
    "  check DIR                      every problem the game would meet, as FILE:LINE: message\n"
    "  render DIR OUT.png [options]   the whole map as one picture\n"
    "  image IN.png OUT.raw [--mask MASK.raw]\n"
    "                                 a PNG as a raw picture (and a collision mask)\n"
    "  export IN.raw WIDTH HEIGHT OUT.png\n"
    "                                 a raw picture or mask as a PNG\n"
    "\n"
    "'quarn-world COMMAND --help' tells more. Exit status: 0 on success, 1 when\n"
    "problems are found or a file cannot be read or written, 2 on bad usage.\n"
    "The file formats are described in docs/formats.md.\n";

struct Command {
  const char* name;
  const char* help;
  int (*run)(const std::vector<std::string>& args);
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "quarn-world: %s\n", message.c_str());
  return kProblems;
}

int BadUsage(const char* command, const std::string& why) {
  std::fprintf(stderr, "quarn-world %s: %s\n(see quarn-world %s --help)\n", command, why.c_str(),
               command);
  return kUsage;
}

// A whole number from `lo` to `hi`, or false.
bool Number(const std::string& s, int lo, int hi, int& out) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != 0 || v < lo || v > hi) return false;
  out = int(v);
  return true;
}

// The words of a command that takes `n` of them and no option (after a lone
// "--" a word may start with '-'); false with the usage error in `status`.
bool Words(const char* command, const std::vector<std::string>& args, size_t n, const char* want,
           std::vector<std::string>& words, int& status) {
  bool only = false;
  for (const std::string& a : args) {
    if (!only && a == "--") {
      only = true;
    } else if (!only && a.size() > 1 && a[0] == '-') {
      status = BadUsage(command, "unknown option " + a);
      return false;
    } else {
      words.push_back(a);
    }
  }
  if (words.size() == n) return true;
  status = BadUsage(command, want);
  return false;
}

// ---- new, generate ---------------------------------------------------------------------

const char* const kNewHelp =
    "usage: quarn-world new DIR\n"
    "Writes a small blank world into DIR (made if need be): one cave framed in rock\n"
    "round the player's start, tile (92, 53), with a few weapons on its floor; the\n"
    "default tile sets, masks, pictures, sounds and a class file with every class;\n"
    "no triggers. Refuses a folder that already holds a world (map/, gfx/ or sfx/).\n"
    "Play it with: cd DIR && quarn\n";

int RunNew(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  if (int status = 0; !Words("new", args, 1, "one folder, please", words, status)) return status;
  std::string error;
  if (!kit::NewWorld(words[0], error)) return Fail(error);
  std::printf("quarn-world: blank world written to %s\n", words[0].c_str());
  return kOk;
}

const char* const kGenerateHelp =
    "usage: quarn-world generate DIR\n"
    "Writes the default world into DIR (made if need be), the same bytes the build\n"
    "writes into build/data; files of the same names in DIR are replaced.\n";

int RunGenerate(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  if (int status = 0; !Words("generate", args, 1, "one folder, please", words, status)) return status;
  static wg::World world;
  wg::GenerateWorld(words[0], world);
  std::printf("quarn-world: default world written to %s (%zu placements, %zu triggers)\n",
              words[0].c_str(), world.placements.size(), world.triggers.size());
  return kOk;
}

// ---- check ---------------------------------------------------------------------------------

const char* const kCheckHelp =
    "usage: quarn-world check DIR\n"
    "Starts the game's own loaders in DIR, as the game does, and writes every\n"
    "problem they meet to standard output as FILE:LINE: message (FILE: message for\n"
    "a file as a whole): missing files; a map, picture or mask of the wrong size;\n"
    "class records the game refuses or numbers wrongly (a class's kind is its\n"
    "record's place in the file, so a stray line moves every later class on);\n"
    "placement records that do not parse, of kinds without a class, or outside the\n"
    "map; trigger records the game skips; two classes on one sprite; kinds without\n"
    "a class; sounds the game cannot play; a player start in solid rock.\n"
    "Exit status 1 when there is any problem.\n";

int RunCheck(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  if (int status = 0; !Words("check", args, 1, "one folder, please", words, status)) return status;
  RecordDraw textures;
  std::vector<kit::Problem> problems;
  std::string error;
  if (!kit::LoadDataFolder(words[0], textures, problems, error)) return Fail(error);
  for (const kit::Problem& p : problems) {
    if (p.line > 0)
      std::printf("%s:%d: %s\n", p.file.c_str(), p.line, p.message.c_str());
    else
      std::printf("%s: %s\n", p.file.c_str(), p.message.c_str());
  }
  if (problems.empty()) {
    std::printf("%s: no problems\n", words[0].c_str());
    return kOk;
  }
  std::printf("%s: %zu problem%s\n", words[0].c_str(), problems.size(),
              problems.size() == 1 ? "" : "s");
  return kProblems;
}

// ---- render --------------------------------------------------------------------------------

const char* const kRenderHelp =
    "usage: quarn-world render DIR OUT.png [options]\n"
    "Draws the map of the world in DIR as one PNG: the tiles as the game draws them\n"
    "(at full brightness), with the water line, the wind areas, the trigger areas\n"
    "and the placed entities (their class picture, or a crossed box for a class\n"
    "without one; the player's start is labelled 'start') over it.\n"
    "options:\n"
    "  --scale N          world pixels to a picture pixel: 1, 2, 4, 8 (default), 16,\n"
    "                     32 or 64; the whole map at 8 is 2048 x 2048\n"
    "  --area X,Y,W,H     only W x H tiles from tile (X, Y)\n"
    "  --no-tiles --no-entities --no-triggers --no-wind --no-water --no-labels\n"
    "                     leave out a layer\n";

int RunRender(const std::vector<std::string>& args) {
  kit::RenderOptions o;
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); i++) {
    const std::string& a = args[i];
    bool more = i + 1 < args.size();
    if (a == "--scale" && more) {
      if (!Number(args[++i], 1, 64, o.scale) || (o.scale & (o.scale - 1)) != 0)
        return BadUsage("render", "--scale takes 1, 2, 4, 8, 16, 32 or 64");
    } else if (a == "--area" && more) {
      int v[4];
      std::string s = args[++i];
      size_t at = 0;
      for (int k = 0; k < 4; k++) {
        size_t comma = k < 3 ? s.find(',', at) : s.size();
        if (comma == std::string::npos || !Number(s.substr(at, comma - at), k < 2 ? 0 : 1, 256, v[k]))
          return BadUsage("render", "--area takes X,Y,W,H in tiles, inside the 256 x 256 map");
        at = comma + 1;
      }
      if (v[0] + v[2] > 256 || v[1] + v[3] > 256)
        return BadUsage("render", "--area reaches past the 256 x 256 map");
      o.x = v[0], o.y = v[1], o.w = v[2], o.h = v[3];
    } else if (a == "--no-tiles") o.tiles = false;
    else if (a == "--no-entities") o.entities = false;
    else if (a == "--no-triggers") o.triggers = false;
    else if (a == "--no-wind") o.wind = false;
    else if (a == "--no-water") o.water = false;
    else if (a == "--no-labels") o.labels = false;
    else if (a.size() > 1 && a[0] == '-') return BadUsage("render", "unknown option " + a);
    else words.push_back(a);
  }
  if (words.size() != 2) return BadUsage("render", "a folder and a picture to write, please");
  if (long(o.w) * o.h * 64 * 64 / (o.scale * o.scale) > 8192L * 8192)
    return BadUsage("render", "the picture would pass 8192 x 8192 pixels: use a larger --scale or --area");
  // the picture's path is taken before the world's folder becomes the working one
  std::string out = std::filesystem::absolute(words[1]).string();
  RecordDraw textures;
  std::vector<kit::Problem> problems;
  std::string error;
  if (!kit::LoadDataFolder(words[0], textures, problems, error)) return Fail(error);
  wg::Canvas picture;
  kit::RenderMap(textures, o, picture);
  if (!kit::WritePng(out, picture, error)) return Fail(error);
  std::printf("quarn-world: %s: %d x %d\n", words[1].c_str(), picture.w, picture.h);
  if (!problems.empty())
    std::fprintf(stderr, "quarn-world: %s has %zu problems (quarn-world check %s)\n",
                 words[0].c_str(), problems.size(), words[0].c_str());
  return kOk;
}

// ---- image, export -----------------------------------------------------------------------------

const char* const kImageHelp =
    "usage: quarn-world image IN.png OUT.raw [--mask MASK.raw]\n"
    "       quarn-world image IN.png --mask MASK.raw\n"
    "Writes a PNG as a raw picture of the game: RGB, rows bottom first, with every\n"
    "pixel of alpha below 128 as the transparent colour (0, 255, 255). With --mask\n"
    "it also writes a collision mask by colour, rows top first: 255 (rock) for an\n"
    "opaque pixel, 128 (water) for pure blue (0, 0, 255), 0 (air) for a transparent\n"
    "one or the colour key. The game reads neither size from the file: a tile set\n"
    "is 1024 x 1024.\n";

int RunImage(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  std::string mask;
  for (size_t i = 0; i < args.size(); i++) {
    if (args[i] == "--mask" && i + 1 < args.size()) mask = args[++i];
    else if (args[i].size() > 1 && args[i][0] == '-') return BadUsage("image", "unknown option " + args[i]);
    else words.push_back(args[i]);
  }
  if (words.empty() || words.size() > 2 || (words.size() == 1 && mask.empty()))
    return BadUsage("image", "a PNG and a raw picture or mask to write, please");
  kit::Picture p;
  std::string error;
  if (!kit::ReadPng(words[0], p, error)) return Fail(error);
  if (words.size() == 2) {
    if (!kit::WriteFileBytes(words[1], kit::RawFromPicture(p), error)) return Fail(error);
    std::printf("quarn-world: %s: a %d x %d picture\n", words[1].c_str(), p.w, p.h);
  }
  if (!mask.empty()) {
    if (!kit::WriteFileBytes(mask, kit::MaskFromPicture(p), error)) return Fail(error);
    std::printf("quarn-world: %s: a %d x %d mask\n", mask.c_str(), p.w, p.h);
  }
  return kOk;
}

const char* const kExportHelp =
    "usage: quarn-world export IN.raw WIDTH HEIGHT OUT.png\n"
    "Writes a raw picture (WIDTH x HEIGHT x 3 bytes) or mask (WIDTH x HEIGHT bytes)\n"
    "of the game as a PNG, upright: a picture's colour key (0, 255, 255) becomes\n"
    "transparent; a mask's rock is white, its water pure blue, the rest\n"
    "transparent. 'quarn-world image' turns the PNG back into the same bytes.\n";

int RunExport(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  if (int status = 0; !Words("export", args, 4, "a raw file, its width and height, and a PNG to write, please",
                         words, status))
    return status;
  int w, h;
  if (!Number(words[1], 1, 16384, w) || !Number(words[2], 1, 16384, h))
    return BadUsage("export", "width and height are whole numbers from 1 to 16384");
  std::vector<uint8_t> raw;
  std::string error;
  if (!kit::ReadFileBytes(words[0], raw, error)) return Fail(error);
  size_t pixels = size_t(w) * size_t(h);
  kit::Picture p;
  if (raw.size() == pixels * 3) p = kit::PictureFromRaw(raw, w, h);
  else if (raw.size() == pixels) p = kit::PictureFromMask(raw, w, h);
  else
    return Fail(words[0] + " holds " + std::to_string(raw.size()) + " bytes: a " + words[1] + " x " +
                words[2] + " picture holds " + std::to_string(pixels * 3) + ", a mask " +
                std::to_string(pixels));
  if (!kit::WritePng(words[3], p, error)) return Fail(error);
  std::printf("quarn-world: %s: a %d x %d %s\n", words[3].c_str(), w, h,
              raw.size() == pixels ? "mask" : "picture");
  return kOk;
}

const Command kCommands[] = {
    {"new", kNewHelp, RunNew},          {"generate", kGenerateHelp, RunGenerate},
    {"check", kCheckHelp, RunCheck},    {"render", kRenderHelp, RunRender},
    {"image", kImageHelp, RunImage},    {"export", kExportHelp, RunExport},
};

bool WantsHelp(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--") return false;
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(kToolHelp, stderr);
    return kUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kToolHelp, stdout);
    return kOk;
  }
  for (const Command& c : kCommands) {
    if (args[0] != c.name) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (WantsHelp(rest)) {
      std::fputs(c.help, stdout);
      return kOk;
    }
    try {
      return c.run(rest);
    } catch (const std::exception& e) {
      return Fail(e.what());
    }
  }
  std::fprintf(stderr, "quarn-world: no command %s\n\n%s", args[0].c_str(), kToolHelp);
  return kUsage;
}
