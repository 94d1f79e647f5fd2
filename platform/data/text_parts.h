// TTextParts: a text read in parts, as it becomes available (a reply still
// arriving, say). NextPart may block until the next part is there; the
// part stays valid until the next call. One reader at a time; what else
// may be called from other threads is the implementation's to say.
#pragma once

#include <string_view>

namespace fw {

class TTextParts {
 public:
  virtual ~TTextParts() = default;
  // The next part (never empty); false once the text has ended.
  virtual bool NextPart(std::string_view& part) = 0;
};

}  // namespace fw
