#include "forms/rich_text.h"

#include <cctype>
#include <cstdint>
#include <vector>

#include "base/text_case.h"

namespace fw {
namespace {

// Windows-1252 code points of the bytes 0x80..0x9F (0 where undefined).
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendCodePoint(std::string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendCp1252(std::string& out, unsigned char byte) {
  if (byte < 0x80) out += static_cast<char>(byte);
  else if (byte < 0xA0) AppendCodePoint(out, kCp1252High[byte - 0x80] ? kCp1252High[byte - 0x80] : 0xFFFD);
  else AppendCodePoint(out, byte);
}

bool IsSkippedDestination(std::string_view word) {
  static constexpr std::string_view kSkipped[] = {
      "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "headerl",
      "headerr", "headerf", "footerl", "footerr", "footerf", "listtable", "listoverridetable",
      "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping", "datastore",
      "latentstyles", "pgdsctbl", "object", "fldinst", "filetbl", "revtbl", "nonshppict",
      "private", "bkmkstart", "bkmkend"};
  for (std::string_view s : kSkipped)
    if (word == s) return true;
  return false;
}

struct GroupState {
  bool skip = false;
  int ucSkip = 1;  // fallback characters after \uN
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : in_(rtf), utf8_(IsValidUtf8(rtf)) {}
  std::string Read();

 private:
  void ControlWord();
  void Word(std::string_view word, bool hasParam, long param);
  void Hex();
  void Emit(uint32_t cp);
  void EmitText(std::string_view text);

  std::string_view in_;
  bool utf8_;
  size_t pos_ = 0;
  std::string out_;
  GroupState state_;
  std::vector<GroupState> stack_;
  int pendingSkip_ = 0;  // fallback characters still to drop
  uint32_t highSurrogate_ = 0;
};

std::string RtfReader::Read() {
  while (pos_ < in_.size()) {
    char c = in_[pos_];
    if (c == '{') {
      stack_.push_back(state_);
      ++pos_;
    } else if (c == '}') {
      if (!stack_.empty()) {
        state_ = stack_.back();
        stack_.pop_back();
      }
      pendingSkip_ = 0;
      ++pos_;
    } else if (c == '\\') {
      ++pos_;
      ControlWord();
    } else if (c == '\r' || c == '\n') {
      ++pos_;
    } else {
      size_t start = pos_;
      while (pos_ < in_.size() && std::string_view("{}\\\r\n").find(in_[pos_]) == std::string_view::npos)
        ++pos_;
      EmitText(in_.substr(start, pos_ - start));
    }
  }
  return out_;
}

void RtfReader::EmitText(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (pendingSkip_ > 0) {
      --pendingSkip_;
      continue;
    }
    if (state_.skip) continue;
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (utf8_ || byte < 0x80) out_ += static_cast<char>(byte);
    else AppendCp1252(out_, byte);
  }
}

void RtfReader::Emit(uint32_t cp) {
  if (state_.skip) return;
  AppendCodePoint(out_, cp);
}

void RtfReader::Hex() {
  int value = 0;
  for (int i = 0; i < 2; ++i) {
    if (pos_ >= in_.size() || !std::isxdigit(static_cast<unsigned char>(in_[pos_]))) return;
    char h = static_cast<char>(std::tolower(static_cast<unsigned char>(in_[pos_++])));
    value = value * 16 + (h <= '9' ? h - '0' : h - 'a' + 10);
  }
  if (pendingSkip_ > 0) {
    --pendingSkip_;
    return;
  }
  if (!state_.skip) AppendCp1252(out_, static_cast<unsigned char>(value));
}

void RtfReader::ControlWord() {
  if (pos_ >= in_.size()) return;
  char c = in_[pos_];
  if (!std::isalpha(static_cast<unsigned char>(c))) {
    ++pos_;
    switch (c) {
      case '\\': case '{': case '}': EmitText(std::string_view(&in_[pos_ - 1], 1)); break;
      case '\'': Hex(); break;
      case '*': state_.skip = true; break;
      case '~': Emit(0xA0); break;
      case '_': Emit('-'); break;
      case '\r': case '\n': Emit('\n'); break;  // "\" before a line break is a paragraph
      default: break;
    }
    return;
  }
  size_t start = pos_;
  while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_]))) ++pos_;
  std::string_view word = in_.substr(start, pos_ - start);
  bool negative = pos_ < in_.size() && in_[pos_] == '-';
  if (negative) ++pos_;
  long param = 0;
  bool hasParam = false;
  while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
    if (param < 1000000) param = param * 10 + (in_[pos_] - '0');
    hasParam = true;
    ++pos_;
  }
  if (negative) param = -param;
  if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
  Word(word, hasParam, param);
}

void RtfReader::Word(std::string_view word, bool hasParam, long param) {
  if (IsSkippedDestination(word)) {
    state_.skip = true;
  } else if (word == "par" || word == "line" || word == "sect" || word == "page") {
    Emit('\n');
  } else if (word == "tab") {
    Emit('\t');
  } else if (word == "uc" && hasParam) {
    state_.ucSkip = static_cast<int>(std::max(0L, std::min(param, 8L)));
  } else if (word == "u" && hasParam) {
    uint32_t cp = static_cast<uint32_t>(param < 0 ? param + 65536 : param);
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      highSurrogate_ = cp;
    } else if (cp >= 0xDC00 && cp <= 0xDFFF && highSurrogate_) {
      Emit(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00));
      highSurrogate_ = 0;
    } else {
      Emit(cp);
    }
    pendingSkip_ = state_.ucSkip;
  } else if (word == "emdash") {
    Emit(0x2014);
  } else if (word == "endash") {
    Emit(0x2013);
  } else if (word == "bullet") {
    Emit(0x2022);
  } else if (word == "lquote" || word == "rquote") {
    Emit(word == "lquote" ? 0x2018 : 0x2019);
  } else if (word == "ldblquote" || word == "rdblquote") {
    Emit(word == "ldblquote" ? 0x201C : 0x201D);
  }
}

}  // namespace

bool IsRichText(std::string_view text) { return text.starts_with("{\\rtf"); }

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  for (char c : text) AppendCp1252(out, static_cast<unsigned char>(c));
  return out;
}

std::string RtfToPlainText(std::string_view rtf) {
  if (!IsRichText(rtf)) return std::string(rtf);
  return RtfReader(rtf).Read();
}

}  // namespace fw
