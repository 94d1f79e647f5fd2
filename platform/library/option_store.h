// The option store of the filter dialogs: a list of name=value entries
// kept per operator and per screen in a file under the user's
// configuration folder:
//   $XDG_CONFIG_HOME/velkora/opcoes/<operator>/<screen>.opc
//   (~/.config/... when XDG_CONFIG_HOME is not set)
// One entry per line, "name=value"; in values, "%", line breaks and
// carriage returns are written %25, %0A and %0D, so every value comes back
// exactly. Save writes a new file beside the old one, flushes it to disk
// and renames it over the old one, so a crash leaves either the old or
// the new options, never a mix; a save also removes what an earlier save
// that died before its rename left behind. Load of a missing file gives an
// empty list. Names are the text before the first "=". Operator and
// screen codes are reduced to letters, digits, "_" and "-" for the file
// name. Save raises fw::Exception with the path when the file cannot be
// written; Load raises EOptionsUnreadable when the file cannot be read or
// is not what Save writes (not UTF-8 text, a line without a name and "=",
// over kMaxOptionFileBytes). Not thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/errors.h"

namespace Velkora {

constexpr size_t kMaxOptionFileBytes = 1 << 20;

// "As opções salvas não puderam ser lidas; nada foi carregado."
class EOptionsUnreadable : public fw::Exception {
 public:
  EOptionsUnreadable();
};

class TOptionList {
 public:
  // "" when the name is absent.
  std::string Value(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);
  bool Has(std::string_view name) const;
  const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

  std::string Serialize() const;
  static TOptionList Parse(std::string_view text);

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

// The file of an operator's options for a screen.
std::string OptionFilePath(const std::string& operatorCode, const std::string& screenCode);
void SaveOptions(const std::string& path, const TOptionList& options);
TOptionList LoadOptions(const std::string& path);

}  // namespace Velkora
