#include "platform/worldfolder.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool IsDataFolder(const std::string& dir) {
  std::error_code ec;
  return fs::is_directory(fs::path(dir) / "map", ec) || fs::is_directory(fs::path(dir) / "gfx", ec);
}

std::string PlayersWorldFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && xdgDataHome[0] == '/') return (fs::path(xdgDataHome) / "quarn" / "world").string();
  if (home && home[0] == '/') return (fs::path(home) / ".local/share/quarn/world").string();
  return "";
}

std::string InstalledWorld(const std::string& program, const char* xdgDataDirs) {
  std::error_code ec;
  fs::path beside = fs::path(program).parent_path().parent_path() / "share/quarn/world";
  if (!program.empty() && IsDataFolder(beside.string())) return beside.string();
  std::string dirs = xdgDataDirs && xdgDataDirs[0] ? xdgDataDirs : "/usr/local/share:/usr/share";
  for (size_t at = 0; at <= dirs.size();) {
    size_t colon = dirs.find(':', at);
    if (colon == std::string::npos) colon = dirs.size();
    fs::path d = fs::path(dirs.substr(at, colon - at)) / "quarn/world";
    if (d.is_absolute() && IsDataFolder(d.string())) return d.string();
    at = colon + 1;
  }
  return "";
}

std::string ChooseWorldFolder(const std::string& cwd, const std::string& world,
                              const std::string& installed, std::string& line) {
  line.clear();
  if (IsDataFolder(cwd) || world.empty()) return "";
  if (IsDataFolder(world)) {
    line = "world folder: " + world;
    return world;
  }
  // Nothing installed to copy: the game plays here as it always has, with
  // the console lines of the files it does not find.
  if (installed.empty()) return "";
  // The copy is made beside its place and renamed into it when whole, so a
  // copy cut short never passes for a world.
  std::error_code ec;
  fs::path part = world + ".part-" + std::to_string(getpid());
  fs::remove_all(part, ec);
  fs::create_directories(part.parent_path(), ec);
  if (!ec) fs::copy(installed, part, fs::copy_options::recursive, ec);
  if (!ec) fs::rename(part, world, ec);
  if (ec) {
    fs::remove_all(part, ec);
    line = "cannot copy " + installed + " to " + world + ": playing here";
    return "";
  }
  line = "world folder: " + world + " (copied from " + installed + ")";
  return world;
}
