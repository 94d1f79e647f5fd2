// TArrivingText: a reply's text read while it is still arriving.
//
// One thread (the receiver) Adds the parts as they come and Closes it at
// the end; another (the reader) reads Stream(), whose reads wait for the
// next part and see the end of the stream once it is closed and all read.
// Whole() waits for the close and answers every part received, from the
// start, whatever was read of it. The parts are kept until it ends, in
// blocks of fixed size (no part is ever moved once added). Add and Close
// are thread-safe against the reader; one receiver and one reader.
#pragma once

#include <condition_variable>
#include <deque>
#include <istream>
#include <memory>
#include <mutex>
#include <streambuf>
#include <string>

namespace fw {

class TArrivingText : private std::streambuf {
 public:
  TArrivingText() : stream_(this) {}
  TArrivingText(const TArrivingText&) = delete;
  TArrivingText& operator=(const TArrivingText&) = delete;

  // Receiver side.
  void Add(const char* data, size_t length);
  void Close();

  // Reader side.
  std::istream& Stream() { return stream_; }
  std::string Whole();

 private:
  static constexpr size_t kBlockBytes = 64 * 1024;
  struct TBlock {
    std::unique_ptr<char[]> data{new char[kBlockBytes]};
    size_t size = 0;  // written so far, under mutex_
  };

  int_type underflow() override;

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<TBlock> blocks_;
  bool closed_ = false;
  size_t readBlock_ = 0, readEnd_ = 0;  // where the reader's last part ended
  std::istream stream_;
};

}  // namespace fw
