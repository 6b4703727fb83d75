// Where the game plays when it is started outside a data folder: the player's
// own world folder, made on first use as a copy of the installed default
// world. Decided once at program start; the game itself only ever opens files
// in the folder it is started in.
#pragma once
#include <string>

// A data folder holds a map/ or a gfx/ folder.
bool IsDataFolder(const std::string& dir);
// $XDG_DATA_HOME/quarn/world, or ~/.local/share/quarn/world when XDG_DATA_HOME
// is unset, empty or relative; "" when neither names a folder.
std::string PlayersWorldFolder(const char* xdgDataHome, const char* home);
// The installed default world: share/quarn/world beside the program's bin/
// folder, else quarn/world in a folder of XDG_DATA_DIRS (/usr/local/share and
// /usr/share when unset); "" when there is none.
std::string InstalledWorld(const std::string& program, const char* xdgDataDirs);
// Started in `cwd`: answers the folder to play in ("" to stay in `cwd`) and
// the one console line to print about it ("" for none), copying `installed`
// to `world` when `world` holds no world yet.
std::string ChooseWorldFolder(const std::string& cwd, const std::string& world,
                              const std::string& installed, std::string& line);
