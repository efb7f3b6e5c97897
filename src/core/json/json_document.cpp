// The document's buffers: growth that reports failure, and keeping them between parses.
#include "json/json_document.h"

#include <cstring>
#include <new>
#include <utility>

#include "json/json_reader.h"

namespace json {
namespace detail {

template <typename T>
bool Storage<T>::Reallocate(size_t used, size_t capacity) {
  if (used == 0) Release();  // nothing to keep: never hold both blocks at once
  std::unique_ptr<T[]> items(new (std::nothrow) T[capacity]);
  if (items == nullptr) return false;
  if (used > 0) std::memcpy(items.get(), items_.get(), used * sizeof(T));
  items_ = std::move(items);
  capacity_ = capacity;
  return true;
}

template class Storage<Slot>;
template class Storage<char>;

}  // namespace detail

Document::Document(Document&& other) noexcept { *this = std::move(other); }

Document& Document::operator=(Document&& other) noexcept {
  if (this == &other) return *this;
  const bool ownsText = other.hasRoot_ && other.tree_.input == other.owned_.data();
  buffers_ = std::move(other.buffers_);
  tree_ = other.tree_;
  root_ = other.root_;
  hasRoot_ = other.hasRoot_;
  owned_ = std::move(other.owned_);
  if (ownsText) tree_.input = owned_.data();  // a short text moves with the string object
  std::string().swap(other.owned_);
  other.Clear();
  return *this;
}

ParseResult Document::Parse(const char* text, size_t length) {
  std::string().swap(owned_);  // assigning an empty string would keep the block
  return ParseText(text, length);
}

ParseResult Document::ParseOwned(std::string text) {
  owned_ = std::move(text);
  const ParseResult result = ParseText(owned_.data(), owned_.size());
  if (result != ParseResult::kParsed) std::string().swap(owned_);
  return result;
}

ParseResult Document::ParseText(const char* text, size_t length) {
  hasRoot_ = false;
  tree_ = {};
  if (text == nullptr || length == 0) return ParseResult::kMalformed;
  if (length > std::numeric_limits<uint32_t>::max()) return ParseResult::kOutOfMemory;
  const ParseResult result = detail::ReadTree({text, length}, &buffers_, &root_);
  if (result == ParseResult::kParsed) {
    tree_ = {buffers_.nodes.data(), text, buffers_.arena.data()};
    hasRoot_ = true;
  }
  return result;
}

size_t Document::HeapBytes() const {
  const bool textOnHeap = owned_.capacity() > std::string().capacity();  // not kept inline
  return buffers_.HeapBytes() + (textOnHeap ? owned_.capacity() + 1 : 0);
}

void Document::Clear() {
  hasRoot_ = false;
  tree_ = {};
  std::string().swap(owned_);
}

void Document::ReleaseMemory() {
  Clear();
  buffers_.nodes.Release();
  buffers_.stack.Release();
  buffers_.arena.Release();
}

}  // namespace json
