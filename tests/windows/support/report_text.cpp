#include "report_text.h"

namespace orvel::wintest {
namespace {

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

bool Forbidden(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == ':' || c == '"' || c == '/' || c == '\\' || c == '|' ||
         c == '?' || c == '*';
}

}  // namespace

std::string CaptureRunLine(const std::string& name, const std::string& figures) {
  return "capture run " + OneLine(name) + ": " + OneLine(figures);
}

std::string FileSafeName(const std::string& name) {
  std::string safe = name;
  for (char& c : safe) {
    if (Forbidden(static_cast<unsigned char>(c))) c = '_';
  }
  // Windows drops trailing dots and spaces, so "a." and "a" would collide.
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
  // "." and ".." would name a folder.
  if (safe.find_first_not_of('.') == std::string::npos) safe.clear();
  return safe.empty() ? "frame" : safe;
}

}  // namespace orvel::wintest
