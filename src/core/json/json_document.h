// A parsed JSON text as one flat tree that keeps its buffers from one parse to the next, so
// that reading the same kind of answer again allocates nothing.
//
// Memory: every value takes one 16-byte slot (a member's key lives in its value's slot);
// strings and keys are views into the parsed text, and only those that hold escapes are
// decoded, into an arena. The children of a container are staged on a stack while it is open
// and copied, side by side, into the slot array when it closes, so that every container is a
// first index and a count. The stack holds the children of the containers open at once: a
// few hundred slots for an answer shaped like tables, but every element of one long flat
// array, which then briefly takes twice its slots.
// The slot array cannot be sized from the text up front: the bound, one value per two bytes,
// would be eight bytes per input byte, and counting the values first would read the text
// twice. It starts at one slot per twelve bytes (a levels answer has about thirteen bytes per
// value: some 1.3 bytes of slots per input byte) and, when a closing container finds it full,
// grows to what the bytes read so far predict for the whole text, plus an eighth; a growth
// holds the old and the new array for the time of the copy. All three buffers stay for the
// next parse. The text itself is not copied: it must outlive the tree, unless ParseOwned took
// it over.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "json/json_node.h"

namespace json {

// What became of a parse.
enum class ParseResult : uint8_t {
  kParsed,       // the tree holds the first value of the text
  kMalformed,    // no JSON: a null or empty text, or a malformed first value
  kOutOfMemory,  // the tree did not fit in memory or in the memory limit; says nothing of the text
};

namespace detail {

// A growable array of trivially copyable items that reports failure instead of throwing.
template <typename T>
class Storage {
 public:
  Storage() = default;
  Storage(Storage&& other) noexcept { *this = std::move(other); }
  Storage& operator=(Storage&& other) noexcept {
    items_ = std::move(other.items_);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
  }

  T* data() const { return items_.get(); }
  size_t capacity() const { return capacity_; }
  size_t bytes() const { return capacity_ * sizeof(T); }
  // Replaces the array by one of `capacity` items holding the first `used` items of this one;
  // false when the memory cannot be had (the old items are kept, unless `used` is 0).
  bool Reallocate(size_t used, size_t capacity);
  void Release() {
    items_.reset();
    capacity_ = 0;
  }

 private:
  std::unique_ptr<T[]> items_;
  size_t capacity_ = 0;
};

// The buffers a document parses into and keeps.
struct TreeBuffers {
  Storage<Slot> nodes;                                // every value but the root
  Storage<Slot> stack;                                // children of the open containers
  Storage<char> arena;                                // strings and keys decoded from escapes
  size_t limit = std::numeric_limits<size_t>::max();  // most heap bytes the three may hold

  size_t HeapBytes() const { return nodes.bytes() + stack.bytes() + arena.bytes(); }
  // Storage::Reallocate within `limit`.
  template <typename T>
  bool Reallocate(Storage<T>* storage, size_t used, size_t capacity) {
    const size_t others = HeapBytes() - storage->bytes();
    if (capacity > (limit - std::min(limit, others)) / sizeof(T)) return false;
    return storage->Reallocate(used, capacity);
  }
};

}  // namespace detail

// An owning parsed document. Not copyable; moving it invalidates the Nodes taken from it.
class Document {
 public:
  Document() = default;
  Document(Document&& other) noexcept;
  Document& operator=(Document&& other) noexcept;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Parses the first complete value of text[0, length); bytes after it are ignored. The tree
  // views the text, which must stay unchanged while the tree is used; a text handed over by an
  // earlier ParseOwned is freed first. Texts of 4 GiB and more report kOutOfMemory. On any
  // result but kParsed the document is empty.
  ParseResult Parse(const char* text, size_t length);
  ParseResult Parse(std::string_view text) { return Parse(text.data(), text.size()); }
  // Parse of a text the document takes over (moved in, not copied) and keeps with the tree.
  ParseResult ParseOwned(std::string text);

  // The first value of the last successful parse; absent when the document is empty.
  Node Root() const { return hasRoot_ ? Node(&root_, &tree_) : Node(); }
  bool empty() const { return !hasRoot_; }

  // Empties the document; the buffers stay for the next parse.
  void Clear();
  // Heap bytes the document holds: its buffers' capacity and a text it took over.
  size_t HeapBytes() const;
  // Empties the document and frees every buffer.
  void ReleaseMemory();
  // ReleaseMemory when the buffers hold more than `bytes`, as after an unusually large text.
  void TrimMemory(size_t bytes) {
    if (buffers_.HeapBytes() > bytes) ReleaseMemory();
  }
  // Later parses report kOutOfMemory rather than let the buffers hold more than `bytes`.
  void SetMemoryLimit(size_t bytes) { buffers_.limit = bytes; }

 private:
  ParseResult ParseText(const char* text, size_t length);

  detail::TreeBuffers buffers_;
  detail::Tree tree_;
  detail::Slot root_{};
  bool hasRoot_ = false;
  std::string owned_;  // the text ParseOwned took over
};

}  // namespace json
