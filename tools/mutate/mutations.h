// The mutation list of tools/mutate: reading it, and checking that every
// mutation still finds its one place in the sources. Shared by the runner and
// by the suite's check of the list.
//
// The list holds blocks of the form
//
//   @ FILE  what the mutant breaks
//   - the snippet, as it stands in FILE
//   + what it becomes
//
// A block may have several '-' and '+' lines: they are joined by line breaks,
// and the lines after the first carry the file's own indentation. Lines that
// start with '#' and blank lines are comments.
#pragma once
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace mutate {

struct Mutation {
  int number = 0;   // from 1, in list order
  int line = 0;     // of its '@' line in the list
  std::string path, what;
  std::vector<std::string> before, after;

  static std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (size_t i = 0; i < lines.size(); ++i) s += (i ? "\n" : "") + lines[i];
    return s;
  }
  std::string Snippet() const { return Join(before); }
  std::string Replacement() const { return Join(after); }
  std::string Name() const {
    return "#" + std::to_string(number) + " " + path + ": " + what + " (list line " + std::to_string(line) + ")";
  }
};

inline bool ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

// The mutations of the list named `name` (as problems call it), with the
// problems of its form added to `problems`.
inline std::vector<Mutation> Parse(const std::string& text, const std::string& name,
                                   std::vector<std::string>* problems) {
  std::vector<Mutation> list;
  std::istringstream in(text);
  std::string s;
  for (int n = 1; std::getline(in, s); ++n) {
    if (s.empty() || s[0] == '#' || s.find_first_not_of(" \t") == std::string::npos) continue;
    const bool body = !list.empty() && (s[0] == '-' || s[0] == '+') && (s.size() == 1 || s[1] == ' ');
    if (s.compare(0, 2, "@ ") == 0) {
      Mutation m;
      m.number = int(list.size()) + 1, m.line = n;
      std::istringstream words(s.substr(2));
      words >> m.path;
      std::getline(words >> std::ws, m.what);
      list.push_back(m);
    } else if (body) {
      (s[0] == '-' ? list.back().before : list.back().after).push_back(s.size() > 2 ? s.substr(2) : "");
    } else {
      problems->push_back(name + ":" + std::to_string(n) + ": not a mutation line: " + s);
    }
  }
  for (const Mutation& m : list) {
    if (m.before.empty())
      problems->push_back(name + ":" + std::to_string(m.line) + ": " + m.path + " has no snippet");
    else if (m.Snippet() == m.Replacement())
      problems->push_back(name + ":" + std::to_string(m.line) + ": the mutant of " + m.path + " changes nothing");
  }
  return list;
}

inline size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Adds a problem for every mutation whose snippet is not found exactly once in
// its file under `root`.
inline void Check(const std::vector<Mutation>& list, const std::string& root, const std::string& name,
                  std::vector<std::string>* problems) {
  for (const Mutation& m : list) {
    std::string text;
    const std::string where = name + ":" + std::to_string(m.line) + ": ";
    if (!ReadFile(root + "/" + m.path, &text)) {
      problems->push_back(where + "no file " + m.path);
      continue;
    }
    size_t n = Count(text, m.Snippet());
    if (n != 1)
      problems->push_back(where + "snippet " + (n ? "found " + std::to_string(n) + " times" : "no longer found") +
                          " in " + m.path + ": " + m.Snippet());
  }
}

}  // namespace mutate
