// A read-only view of one value in a parsed JSON document, and the lookups every payload
// reader uses on it. Objects keep every pair in document order, duplicates included; lookups
// take the first key, byte for byte. A Node is two pointers: pass it by value.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

#include "json/json_kind.h"

namespace json {

namespace detail {

// One value of the flat tree in 16 bytes. A member of an object carries its own key, so an
// object of n pairs takes n slots; the children of a container sit side by side.
//   tag:       kind (bits 0-2), the flags below, the key's length (bits 16-31)
//   keyOffset: where the key's bytes start (in the input, or in the arena when flagged)
//   payload:   number: the double's bits; boolean: 0 or 1;
//              string: offset (low 32 bits) and length (high 32 bits) of the text;
//              array, object: index of the first child (low) and the child count (high).
struct Slot {
  uint32_t tag;
  uint32_t keyOffset;
  uint64_t payload;
};
static_assert(sizeof(Slot) == 16);

inline constexpr uint32_t kKindMask = 0x7;
inline constexpr uint32_t kTextInArena = 1u << 3;  // the decoded text is in the arena
inline constexpr uint32_t kKeyInArena = 1u << 4;   // the decoded key is in the arena
inline constexpr uint32_t kLongKey = 1u << 5;      // the arena holds a 4-byte length, then the key
inline constexpr int kKeyLengthShift = 16;
inline constexpr uint32_t kMaxInlineKeyLength = 0xFFFF;

// The memory a document's slots point into.
struct Tree {
  const Slot* nodes = nullptr;  // every value but the root
  const char* input = nullptr;  // the parsed text
  const char* arena = nullptr;  // decoded strings and keys that held escapes
};

inline uint32_t Low(uint64_t payload) { return static_cast<uint32_t>(payload); }
inline uint32_t High(uint64_t payload) { return static_cast<uint32_t>(payload >> 32); }

// The key of a member slot; empty for array elements and the root.
std::string_view LongKey(const Slot& slot, const Tree& tree);
inline std::string_view KeyOf(const Slot& slot, const Tree& tree) {
  if (slot.tag & kLongKey) return LongKey(slot, tree);
  const char* base = (slot.tag & kKeyInArena) ? tree.arena : tree.input;
  return {base + slot.keyOffset, slot.tag >> kKeyLengthShift};
}

}  // namespace detail

class Node;
struct Pair;
template <typename Item>
class ChildRange;
using ElementRange = ChildRange<Node>;  // the elements of an array
using PairRange = ChildRange<Pair>;     // the pairs of an object

// A value of a parsed document, or no value at all (an absent member, the root of an empty
// document): absent reads as null, false, empty and zero everywhere. A Node stays valid until
// its document is parsed again, cleared, moved or destroyed.
class Node {
 public:
  Node() = default;
  Node(const detail::Slot* slot, const detail::Tree* tree) : slot_(slot), tree_(tree) {}

  // True for a value, false for an absent one.
  explicit operator bool() const { return slot_ != nullptr; }
  // The value's kind; kNull when absent.
  Kind kind() const { return slot_ ? static_cast<Kind>(slot_->tag & detail::kKindMask) : kNull; }
  bool IsNull() const { return kind() == kNull; }  // absent values too
  bool IsBoolean() const { return kind() == kBoolean; }
  bool IsNumber() const { return kind() == kNumber; }
  bool IsString() const { return kind() == kString; }
  bool IsArray() const { return kind() == kArray; }
  bool IsObject() const { return kind() == kObject; }

  // True only for the boolean true.
  bool boolean() const { return IsBoolean() && slot_->payload != 0; }
  // The number of a number value (possibly infinite); 0 for every other kind.
  double number() const { return IsNumber() ? std::bit_cast<double>(slot_->payload) : 0.0; }
  // The decoded UTF-8 bytes of a string value; empty for every other kind.
  std::string_view text() const;
  // The count of elements of an array or of pairs of an object; 0 for every other kind.
  size_t size() const { return IsArray() || IsObject() ? detail::High(slot_->payload) : 0; }

  // Element `index` of an array; absent when out of range or not an array.
  Node ElementAt(size_t index) const;
  // Pair `index` of an object in document order; an empty key and an absent value when out of
  // range or not an object.
  Pair PairAt(size_t index) const;
  // The elements of an array in order; empty for every other kind.
  ElementRange Elements() const;
  // The pairs of an object in document order, duplicates included; empty for every other kind.
  PairRange Pairs() const;

  // The same value of the same document (identity, not equal content).
  friend bool operator==(const Node& a, const Node& b) { return a.slot_ == b.slot_; }

 private:
  const detail::Slot* FirstChild() const { return tree_->nodes + detail::Low(slot_->payload); }

  const detail::Slot* slot_ = nullptr;
  const detail::Tree* tree_ = nullptr;
};

// One pair of an object: its key and its value.
struct Pair {
  std::string_view key;
  Node value;
};

// A range over the children of a container, yielding `Item` (Node or Pair) by value.
template <typename Item>
class ChildRange {
 public:
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Item;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Item;

    iterator() = default;
    iterator(const detail::Slot* slot, const detail::Tree* tree) : slot_(slot), tree_(tree) {}
    Item operator*() const {
      if constexpr (std::is_same_v<Item, Node>) {
        return Node(slot_, tree_);
      } else {
        return Pair{detail::KeyOf(*slot_, *tree_), Node(slot_, tree_)};
      }
    }
    iterator& operator++() {
      ++slot_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++slot_;
      return before;
    }
    friend bool operator==(const iterator& a, const iterator& b) { return a.slot_ == b.slot_; }

   private:
    const detail::Slot* slot_ = nullptr;
    const detail::Tree* tree_ = nullptr;
  };

  ChildRange() = default;
  ChildRange(const detail::Slot* first, size_t count, const detail::Tree* tree)
      : first_(first), count_(count), tree_(tree) {}
  iterator begin() const { return {first_, tree_}; }
  iterator end() const { return {first_ + count_, tree_}; }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

 private:
  const detail::Slot* first_ = nullptr;
  size_t count_ = 0;
  const detail::Tree* tree_ = nullptr;
};

inline std::string_view Node::text() const {
  if (!IsString()) return {};
  const char* base = (slot_->tag & detail::kTextInArena) ? tree_->arena : tree_->input;
  return {base + detail::Low(slot_->payload), detail::High(slot_->payload)};
}

inline Node Node::ElementAt(size_t index) const {
  if (!IsArray() || index >= size()) return {};
  return Node(FirstChild() + index, tree_);
}

inline Pair Node::PairAt(size_t index) const {
  if (!IsObject() || index >= size()) return {};
  const detail::Slot* slot = FirstChild() + index;
  return {detail::KeyOf(*slot, *tree_), Node(slot, tree_)};
}

inline ElementRange Node::Elements() const {
  if (!IsArray()) return {};
  return {FirstChild(), size(), tree_};
}

inline PairRange Node::Pairs() const {
  if (!IsObject()) return {};
  return {FirstChild(), size(), tree_};
}

// The value of the first pair whose key equals `key`; absent when there is none or `object`
// is not an object.
Node Member(Node object, std::string_view key);
// True only when the member exists and is the boolean true.
bool MemberIsTrue(Node object, std::string_view key);
// A string member's text, a number member as "%g", an empty text otherwise.
std::string MemberAsText(Node object, std::string_view key);

// The number a value stands for: a finite number; a string starting with a digit, '+', '-'
// or '.' read as its longest numeric prefix ("12abc" is 12; "-" or "." alone have none); an
// object unwrapped through its first non-null "price", "value", "strike" or "level" member.
// False for everything else (absent included); *out is written only on true.
bool NumberOfValue(Node value, double* out);
// NumberOfValue of the member `key`.
bool MemberNumber(Node object, std::string_view key, double* out);
// The first of `keys` (in order; null entries skipped) whose member has a number.
bool FirstMemberNumber(Node object, const char* const* keys, int count, double* out);
inline bool FirstMemberNumber(Node object, std::initializer_list<const char*> keys, double* out) {
  return FirstMemberNumber(object, keys.begin(), static_cast<int>(keys.size()), out);
}
// The first of `keys` whose member exists and is not null; absent otherwise.
Node FirstPresentMember(Node object, const char* const* keys, int count);
inline Node FirstPresentMember(Node object, std::initializer_list<const char*> keys) {
  return FirstPresentMember(object, keys.begin(), static_cast<int>(keys.size()));
}

}  // namespace json
