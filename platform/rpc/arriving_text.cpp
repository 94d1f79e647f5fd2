#include "rpc/arriving_text.h"

#include <algorithm>
#include <cstring>

namespace fw {

void TArrivingText::Add(const char* data, size_t length) {
  std::lock_guard lock(mutex_);
  while (length > 0) {
    if (blocks_.empty() || blocks_.back().size == kBlockBytes) blocks_.emplace_back();
    TBlock& block = blocks_.back();
    size_t n = std::min(length, kBlockBytes - block.size);
    std::memcpy(block.data.get() + block.size, data, n);
    block.size += n;
    data += n;
    length -= n;
    added_ += n;
  }
  if (waiting_ && added_ - taken_ >= kWakeBytes) arrived_.notify_one();
}

void TArrivingText::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  arrived_.notify_all();
}

std::string TArrivingText::Whole() {
  std::unique_lock lock(mutex_);
  arrived_.wait(lock, [this] { return closed_; });
  std::string text;
  size_t total = 0;
  for (const TBlock& b : blocks_) total += b.size;
  text.reserve(total);
  for (const TBlock& b : blocks_) text.append(b.data.get(), b.size);
  return text;
}

bool TArrivingText::NextPart(std::string_view& part) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (readBlock_ < blocks_.size()) {
      TBlock& block = blocks_[readBlock_];
      if (block.size > readEnd_) {
        part = std::string_view(block.data.get() + readEnd_, block.size - readEnd_);
        readEnd_ = block.size;
        taken_ += part.size();
        return true;
      }
      if (readBlock_ + 1 < blocks_.size()) {  // this block is full and read: the next
        ++readBlock_;
        readEnd_ = 0;
        continue;
      }
    }
    if (closed_) return false;
    waiting_ = true;
    arrived_.wait(lock);
    waiting_ = false;
  }
}

}  // namespace fw
