// TArrivingText: a reply's text read while it is still arriving.
//
// One thread (the receiver) Adds the parts as they come and Closes it at
// the end; another (the reader) takes them with NextPart, which waits for
// more and answers false once it is closed and all taken. A waiting reader
// is woken when a good amount has come (kWakeBytes) or at the close, not
// for every small part. Whole() waits for the close and answers every part
// received, from the start, whatever was read of it. The parts are kept
// until it ends, in blocks of fixed size (no part is ever moved once
// added). Add and Close are thread-safe against the reader; one receiver
// and one reader.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "data/text_parts.h"

namespace fw {

class TArrivingText : public TTextParts {
 public:
  static constexpr size_t kWakeBytes = 32 * 1024;

  TArrivingText() = default;
  TArrivingText(const TArrivingText&) = delete;
  TArrivingText& operator=(const TArrivingText&) = delete;

  // Receiver side.
  void Add(const char* data, size_t length);
  void Close();

  // Reader side.
  bool NextPart(std::string_view& part) override;
  std::string Whole();

 private:
  static constexpr size_t kBlockBytes = 64 * 1024;
  struct TBlock {
    std::unique_ptr<char[]> data{new char[kBlockBytes]};
    size_t size = 0;  // written so far, under mutex_
  };

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<TBlock> blocks_;
  bool closed_ = false, waiting_ = false;
  size_t readBlock_ = 0, readEnd_ = 0;  // where the reader's last part ended
  size_t added_ = 0, taken_ = 0;        // bytes, in all
};

}  // namespace fw
