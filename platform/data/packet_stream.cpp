// The one-pass reading of packets (see packet_detail.h).
#include "data/packet_detail.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>

#include <nlohmann/json.hpp>

#include "base/errors.h"
#include "base/text_case.h"
#include "text/date_time.h"

namespace fw::packet_detail {
namespace {

using nlohmann::json;

// Reads a packet text in one pass, each row's values made as the parser
// meets them, with no document of the whole text. Only the usual shape is
// taken this way: an object whose "fields" (valid) come before its "rows",
// every row as wide as the fields and every value one its field takes as
// it is. At anything else it stops (its events answer false) and the
// caller reads the text the ordinary way, which finds and names the fault.
// The other members ("fields", "changes", unknown ones) are small and are
// built as documents.
class TPacketStream {
 public:
  std::optional<TDataPacket> Run(std::string_view text) {
    if (!json::sax_parse(text, this, json::input_format_t::json, true)) return std::nullopt;
    return Finish();
  }
  // Whether the packet's object has ended.
  bool Done() const { return done_; }
  // The packet, once the text has been read (nullopt when it was not the
  // usual shape).
  std::optional<TDataPacket> Finish() {
    if (!done_ || !fields_ || !rowsSeen_) return std::nullopt;
    if (changes_) {
      try {
        ReadChanges(*changes_, packet_);
      } catch (const EDatabaseError&) {
        return std::nullopt;
      }
    }
    return std::move(packet_);
  }

  // The parser's events.
  bool null() {
    if (!InRow()) return Attach(json());
    if (row_.size() >= fields_->size()) return false;
    row_.emplace_back();
    return true;
  }
  bool boolean(bool b) { return InRow() ? false : Attach(json(b)); }
  bool number_integer(json::number_integer_t v) { return InRow() ? Integer(v, false) : Attach(json(v)); }
  bool number_unsigned(json::number_unsigned_t v) {
    if (!InRow()) return Attach(json(v));
    return v <= 0x7fffffffULL && Integer(static_cast<int64_t>(v), true);
  }
  bool number_float(json::number_float_t v, const std::string&) {
    if (!InRow()) return Attach(json(v));
    const TFieldDef& def = Def();
    if (def.DataType == TFieldType::ftFloat) return Put(v);
    return def.DataType == TFieldType::ftDateTime && IsValidDateTime(v) && Put(v);
  }
  bool string(std::string& text) {
    if (!InRow()) return Attach(json(std::move(text)));
    const TFieldDef& def = Def();
    if (def.DataType != TFieldType::ftString && def.DataType != TFieldType::ftMemo) return false;
    if (def.Size > 0 && text.size() > size_t(def.Size) && Utf8Length(text) > size_t(def.Size))
      return false;
    // Copied, not moved: the copy is just as long as the text, and the
    // parser keeps its buffer for the next one instead of growing another.
    return Put(text);
  }
  bool binary(json::binary_t&) { return false; }
  bool start_object(size_t) {
    if (level_ == Level::kTop && stack_.empty() && !started_) return started_ = true;
    if (level_ != Level::kMember) return false;
    stack_.push_back(json::object());
    keys_.emplace_back();
    return true;
  }
  bool key(std::string& name) {
    if (level_ == Level::kTop && stack_.empty()) {
      member_ = name;
      if (name == "rows") {
        if (!fields_ || rowsSeen_) return false;
        level_ = Level::kRows;
        return true;
      }
      level_ = Level::kMember;
      return true;
    }
    if (level_ != Level::kMember || stack_.empty()) return false;
    keys_.back() = name;
    return true;
  }
  bool end_object() {
    if (level_ == Level::kTop && stack_.empty()) return done_ = true;
    if (level_ != Level::kMember || stack_.empty()) return false;
    return Pop();
  }
  bool start_array(size_t) {
    switch (level_) {
      case Level::kRows:
        if (rowsSeen_) {
          level_ = Level::kRow;
          row_.clear();
          row_.reserve(fields_->size());
          return true;
        }
        rowsSeen_ = true;
        return true;
      case Level::kMember:
        stack_.push_back(json::array());
        keys_.emplace_back();
        return true;
      default:
        return false;
    }
  }
  bool end_array() {
    switch (level_) {
      case Level::kRow:
        if (row_.size() != fields_->size()) return false;
        packet_.Rows.push_back(std::move(row_));
        row_ = Row();
        level_ = Level::kRows;
        return true;
      case Level::kRows:
        level_ = Level::kTop;
        return true;
      case Level::kMember:
        return !stack_.empty() && Pop();
      default:
        return false;
    }
  }
  bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

 private:
  enum class Level { kTop, kMember, kRows, kRow };

  bool InRow() const { return level_ == Level::kRow; }
  const TFieldDef& Def() const { return (*fields_)[std::min(row_.size(), fields_->size() - 1)]; }
  template <typename T>
  bool Put(T&& value) {
    if (row_.size() >= fields_->size()) return false;
    row_.emplace_back(std::in_place_type<std::decay_t<T>>, std::forward<T>(value));
    return true;
  }
  bool Integer(int64_t v, bool isUnsigned) {
    const TFieldDef& def = Def();
    switch (def.DataType) {
      case TFieldType::ftFloat: return Put(static_cast<double>(v));
      case TFieldType::ftDateTime:
        return IsValidDateTime(static_cast<double>(v)) && Put(static_cast<double>(v));
      case TFieldType::ftInteger:
        if (!isUnsigned && (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()))
          return false;
        return Put(static_cast<int32_t>(v));
      default: return false;
    }
  }
  // A value of a member outside the rows: into the document being built,
  // or, when it is the member itself, taken as a whole.
  bool Attach(json value) {
    if (level_ == Level::kRows) return false;  // a value in "rows" that is not a row
    if (level_ != Level::kMember) return false;
    if (stack_.empty()) return Complete(std::move(value));
    json& top = stack_.back();
    if (top.is_array()) top.push_back(std::move(value));
    else top[keys_.back()] = std::move(value);
    return true;
  }
  bool Pop() {
    json value = std::move(stack_.back());
    stack_.pop_back();
    keys_.pop_back();
    return Attach(std::move(value));
  }
  bool Complete(json value) {
    level_ = Level::kTop;
    if (member_ == "fields") {
      if (fields_ || !value.is_array()) return false;
      try {
        fields_ = ReadFieldDefs(value);
      } catch (const EDatabaseError&) {
        return false;
      }
      if (fields_->empty()) return false;
      packet_.Fields = *fields_;
    } else if (member_ == "changes") {
      changes_ = std::move(value);
    }
    return true;
  }

  Level level_ = Level::kTop;
  bool started_ = false, done_ = false, rowsSeen_ = false;
  std::string member_;
  std::vector<json> stack_;
  std::vector<std::string> keys_;
  std::optional<TFieldDefs> fields_;
  std::optional<json> changes_;
  Row row_;
  TDataPacket packet_;
};

// The characters of a text in parts, for the JSON reader, which takes
// them one at a time: only the step to the next part is a call. Equal to
// the end (a default one) once the parts have ended.
class TPartsIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TPartsIterator() = default;
  explicit TPartsIterator(TTextParts& parts) : parts_(&parts) {}
  reference operator*() const { return *at_; }
  TPartsIterator& operator++() {
    ++at_;
    return *this;
  }
  // Only ever compared with the end, which it reaches when its parts do.
  bool operator==(const TPartsIterator&) const { return at_ == end_ && !Refill(); }

 private:
  bool Refill() const {
    std::string_view part;
    if (!parts_ || !parts_->NextPart(part)) {
      parts_ = nullptr;
      return false;
    }
    at_ = part.data();
    end_ = part.data() + part.size();
    return at_ != end_;
  }

  mutable TTextParts* parts_ = nullptr;
  mutable const char* at_ = nullptr;
  mutable const char* end_ = nullptr;
};

// An object in which a path of members leads to a packet, read in one
// pass: the packet through TPacketStream, the other members of each object
// on the path (which must be plain values) kept aside, one object per
// level. Stops at anything else.
class TMemberStream {
 public:
  TMemberStream(const std::vector<std::string_view>& path, std::vector<json>& others)
      : path_(path), others_(others) {}

  template <typename... Text>
  std::optional<TDataPacket> Run(Text&&... text) {
    others_.assign(path_.size(), json::object());
    if (!json::sax_parse(std::forward<Text>(text)..., this, json::input_format_t::json, true) || !ended_)
      return std::nullopt;
    return packet_ ? packet_->Finish() : std::nullopt;
  }

  bool null() { return Forward([](auto& p) { return p.null(); }, json()); }
  bool boolean(bool b) { return Forward([&](auto& p) { return p.boolean(b); }, json(b)); }
  bool number_integer(json::number_integer_t v) {
    return Forward([&](auto& p) { return p.number_integer(v); }, json(v));
  }
  bool number_unsigned(json::number_unsigned_t v) {
    return Forward([&](auto& p) { return p.number_unsigned(v); }, json(v));
  }
  bool number_float(json::number_float_t v, const std::string& s) {
    return Forward([&](auto& p) { return p.number_float(v, s); }, json(v));
  }
  bool string(std::string& v) {
    if (Inside()) return packet_->string(v);
    return Forward([](auto&) { return false; }, json(std::move(v)));
  }
  bool binary(json::binary_t&) { return false; }
  bool start_object(size_t n) {
    if (Inside()) return packet_->start_object(n);
    if (depth_ == 0) {
      depth_ = 1;
      return true;
    }
    // Only the path's next member may hold an object, once.
    if (packet_ || keys_.size() != depth_ || keys_.back() != path_[depth_ - 1]) return false;
    if (depth_ == path_.size()) {
      packet_.emplace();
      return packet_->start_object(n);
    }
    ++depth_;
    return true;
  }
  bool key(std::string& k) {
    if (Inside()) return packet_->key(k);
    keys_.resize(depth_);
    keys_.back() = k;
    return true;
  }
  bool end_object() {
    if (Inside()) return packet_->end_object();
    if (depth_ == 0) return false;
    --depth_;
    keys_.resize(depth_);
    ended_ = depth_ == 0;
    return true;
  }
  bool start_array(size_t n) { return Inside() && packet_->start_array(n); }
  bool end_array() { return Inside() && packet_->end_array(); }
  bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

 private:
  bool Inside() const { return packet_ && !packet_->Done(); }
  template <typename Event>
  bool Forward(Event event, json value) {
    if (Inside()) return event(*packet_);
    if (depth_ == 0 || ended_ || keys_.size() != depth_ || keys_.back() == path_[depth_ - 1]) return false;
    others_[depth_ - 1][keys_.back()] = std::move(value);
    return true;
  }

  const std::vector<std::string_view>& path_;
  std::vector<json>& others_;
  std::vector<std::string> keys_;  // the member being read at each depth
  size_t depth_ = 0;
  bool ended_ = false;
  std::optional<TPacketStream> packet_;
};

}  // namespace

std::optional<TDataPacket> StreamPacket(std::string_view text) { return TPacketStream().Run(text); }

std::optional<TDataPacket> StreamMember(std::string_view text, const std::vector<std::string_view>& path,
                                        std::vector<json>& others) {
  return TMemberStream(path, others).Run(text);
}

std::optional<TDataPacket> StreamMember(TTextParts& text, const std::vector<std::string_view>& path,
                                        std::vector<json>& others) {
  return TMemberStream(path, others).Run(TPartsIterator(text), TPartsIterator());
}

}  // namespace fw::packet_detail
