// TStrings: an ordered list of text lines, as SQL texts, message tables
// and list items are kept. Text joins the lines with "\n"; SetText splits
// on "\n" (a "\r" before it is dropped; a final line break adds no empty
// line). OnChange runs after every change. Value semantics apart from the
// handler, which is not copied. Not thread-safe.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class TStrings {
 public:
  TStrings() = default;
  TStrings(std::initializer_list<std::string> lines) : lines_(lines) {}
  TStrings(const TStrings& other) : lines_(other.lines_) {}
  TStrings& operator=(const TStrings& other);

  std::function<void()> OnChange;

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const { return lines_.at(index); }
  const std::vector<std::string>& Lines() const { return lines_; }
  std::string Text() const;
  void SetText(std::string_view text);
  void Add(std::string line);
  void Clear();
  // Index of the first line equal to text, or -1.
  int IndexOf(std::string_view text) const;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::string> lines_;
};

}  // namespace fw
