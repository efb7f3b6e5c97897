// Test support shared by the differential test and the fuzz target: compares the owning value
// tree with the document tree of the same text, value for value and lookup for lookup.
#pragma once

#include <bit>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "json/json_document.h"
#include "json/json_node.h"
#include "json/json_value.h"
#include "text/format.h"

namespace json::testing {

// Keys every object is also probed with: the wrapper keys, keys that are rarely present, an
// empty key and a skipped null entry.
inline constexpr const char* kProbeKeys[] = {"price", "value", "strike", "level", "", nullptr,
                                             "spot",  "ok",    "a",      "v"};
inline constexpr int kProbeCount = static_cast<int>(std::size(kProbeKeys));

inline std::string NumberBits(double value) {
  return text::RoundTripDouble(value) + text::Format(" (0x%016llx)",
                                                     std::bit_cast<unsigned long long>(value));
}

// The position of `member` among the pairs of `object`, or -1 when absent.
inline long PairIndex(Node object, Node member) {
  long index = 0;
  for (const Pair pair : object.Pairs()) {
    if (pair.value == member) return index;
    ++index;
  }
  return -1;
}
inline long PairIndex(const Value& object, const Value* member) {
  return member == nullptr ? -1 : static_cast<long>(member - object.members.data());
}

// What the number-of-a-value rule gives: no number, or a number's bits.
struct RuleNumber {
  bool found = false;
  uint64_t bits = 0;
  bool operator==(const RuleNumber&) const = default;
  std::string Describe() const { return found ? NumberBits(std::bit_cast<double>(bits)) : "none"; }
};
inline RuleNumber Found(bool found, double number) {
  return found ? RuleNumber{true, std::bit_cast<uint64_t>(number)} : RuleNumber{};
}
template <typename Tree>
RuleNumber NumberRule(Tree value) {
  double out = 0;
  const bool found = NumberOfValue(value, &out);
  return Found(found, out);
}

// A difference below the value being compared; callers put the path in front on the way back.
inline std::string Differs(const std::string& what, const std::string& before,
                           const std::string& after) {
  return ": " + what + " is " + before + " in the value tree, " + after + " in the document";
}

// Every lookup of `key` on both sides of an object.
inline std::string LookupDifference(const Value& before, Node after, std::string_view key) {
  const auto where = [&] { return "[\"" + std::string(key) + "\"]"; };
  const long beforeIndex = PairIndex(before, Member(before, key));
  const long afterIndex = PairIndex(after, Member(after, key));
  if (beforeIndex != afterIndex) {
    return where() + Differs("Member", std::to_string(beforeIndex), std::to_string(afterIndex));
  }
  if (MemberIsTrue(before, key) != MemberIsTrue(after, key)) {
    return where() + Differs("MemberIsTrue", std::to_string(MemberIsTrue(before, key)),
                   std::to_string(MemberIsTrue(after, key)));
  }
  if (MemberAsText(before, key) != MemberAsText(after, key)) {
    return where() + Differs("MemberAsText", MemberAsText(before, key), MemberAsText(after, key));
  }
  const RuleNumber beforeNumber = NumberRule(Member(before, key));
  const RuleNumber afterNumber = NumberRule(Member(after, key));
  if (beforeNumber != afterNumber) {
    return where() + Differs("MemberNumber", beforeNumber.Describe(), afterNumber.Describe());
  }
  return {};
}

// The lookups that take lists of keys, with the probe keys.
inline std::string ListLookupDifference(const Value& before, Node after) {
  double beforeOut = 0;
  double afterOut = 0;
  for (int count = 0; count <= kProbeCount; ++count) {
    const RuleNumber beforeNumber =
        Found(FirstMemberNumber(before, kProbeKeys, count, &beforeOut), beforeOut);
    const RuleNumber afterNumber =
        Found(FirstMemberNumber(after, kProbeKeys, count, &afterOut), afterOut);
    if (beforeNumber != afterNumber) {
      return Differs("FirstMemberNumber", beforeNumber.Describe(), afterNumber.Describe());
    }
    const long beforeIndex = PairIndex(before, FirstPresentMember(before, kProbeKeys, count));
    const long afterIndex = PairIndex(after, FirstPresentMember(after, kProbeKeys, count));
    if (beforeIndex != afterIndex) {
      return Differs("FirstPresentMember", std::to_string(beforeIndex), std::to_string(afterIndex));
    }
  }
  return {};
}

inline std::string TreeDifference(const Value& before, Node after);

inline std::string ObjectDifference(const Value& before, Node after) {
  if (before.keys.size() != after.size()) {
    return Differs("the pair count", std::to_string(before.keys.size()),
                   std::to_string(after.size()));
  }
  for (size_t i = 0; i < before.keys.size(); ++i) {
    const Pair pair = after.PairAt(i);
    const auto where = [i] { return "{" + std::to_string(i) + "}"; };
    if (before.keys[i] != pair.key) {
      return where() + Differs("the key", before.keys[i], std::string(pair.key));
    }
    std::string difference = TreeDifference(before.members[i], pair.value);
    if (!difference.empty()) return where() + difference;
    if (std::string difference = LookupDifference(before, after, pair.key); !difference.empty()) {
      return difference;
    }
  }
  for (const char* key : kProbeKeys) {
    if (key == nullptr) continue;
    if (std::string difference = LookupDifference(before, after, key); !difference.empty()) {
      return difference;
    }
  }
  return ListLookupDifference(before, after);
}

// The first difference between the trees, its path relative to them first ("[2]{0}: ..."),
// or an empty text when they agree.
inline std::string TreeDifference(const Value& before, Node after) {
  if (before.kind != after.kind()) {
    return Differs("the kind", std::to_string(before.kind), std::to_string(after.kind()));
  }
  if (NumberRule(&before) != NumberRule(after)) {
    return Differs("NumberOfValue", NumberRule(&before).Describe(), NumberRule(after).Describe());
  }
  switch (before.kind) {
    case kBoolean:
      if ((before.boolean != 0) != after.boolean()) {
        return Differs("the boolean", std::to_string(before.boolean),
                       std::to_string(after.boolean()));
      }
      return {};
    case kNumber:
      if (std::bit_cast<uint64_t>(before.number) != std::bit_cast<uint64_t>(after.number())) {
        return Differs("the number", NumberBits(before.number), NumberBits(after.number()));
      }
      return {};
    case kString:
      if (before.text != after.text()) {
        return Differs("the text", before.text, std::string(after.text()));
      }
      return {};
    case kArray:
      if (before.elements.size() != after.size()) {
        return Differs("the element count", std::to_string(before.elements.size()),
                       std::to_string(after.size()));
      }
      for (size_t i = 0; i < before.elements.size(); ++i) {
        if (std::string difference = TreeDifference(before.elements[i], after.ElementAt(i));
            !difference.empty()) {
          return "[" + std::to_string(i) + "]" + difference;
        }
      }
      return {};
    case kObject: return ObjectDifference(before, after);
    default: return {};
  }
}

// The first disagreement between two parses of one text: in the outcome, in any value or in
// any lookup. Empty when they agree.
inline std::string ParsesDisagree(bool parsed, const Value& before, ParseResult result,
                                  const Document& document) {
  if (result == ParseResult::kOutOfMemory) return "the document ran out of memory";
  if (parsed != (result == ParseResult::kParsed)) {
    return "the text" + Differs("parsed", parsed ? "yes" : "no", parsed ? "no" : "yes");
  }
  if (!parsed) return document.empty() ? "" : "a failed parse left a tree behind";
  const std::string difference = TreeDifference(before, document.Root());
  return difference.empty() ? "" : "root" + difference;
}

// Parses `text` with both readers and compares the parses.
inline std::string ReadersDisagree(std::string_view text, Document* document) {
  Value before;
  const bool parsed = ParseJson(text, &before);
  const ParseResult result = document->Parse(text);
  return ParsesDisagree(parsed, before, result, *document);
}

}  // namespace json::testing
