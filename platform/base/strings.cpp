#include "base/strings.h"

namespace fw {

TStrings& TStrings::operator=(const TStrings& other) {
  if (this != &other) {
    lines_ = other.lines_;
    Changed();
  }
  return *this;
}

std::string TStrings::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i) text += '\n';
    text += lines_[i];
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  lines_.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    start = end + 1;
  }
  Changed();
}

void TStrings::Add(std::string line) {
  lines_.push_back(std::move(line));
  Changed();
}

void TStrings::Clear() {
  lines_.clear();
  Changed();
}

int TStrings::IndexOf(std::string_view text) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i] == text) return static_cast<int>(i);
  return -1;
}

}  // namespace fw
