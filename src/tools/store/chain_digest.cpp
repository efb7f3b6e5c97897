#include "store/chain_digest.h"

#include <cstdint>
#include <cstring>

#include "text/format.h"

namespace store {
namespace {

constexpr uint64_t kOffsetBasis = 14695981039346656037ULL;
constexpr uint64_t kPrime = 1099511628211ULL;

class Fnv1a {
 public:
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash_ = (hash_ ^ p[i]) * kPrime;
  }
  // A text and its length, so that no two lists of texts run together alike.
  void Text(std::string_view s) {
    Number(s.size());
    Bytes(s.data(), s.size());
  }
  void Number(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      const unsigned char byte = static_cast<unsigned char>(v >> (8 * i));
      Bytes(&byte, 1);
    }
  }
  void Real(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    Number(bits);
  }
  uint64_t Value() const { return hash_; }

 private:
  uint64_t hash_ = kOffsetBasis;
};

}  // namespace

std::string ChainDigest(std::string_view asOfText, const std::vector<engine::OptionContract>& contracts) {
  Fnv1a h;
  h.Text(asOfText);
  h.Number(contracts.size());
  for (const engine::OptionContract& c : contracts) {
    h.Text(c.expiration);
    h.Number(c.kind == engine::OptionKind::kPut ? 1 : 0);
    h.Real(c.strike);
    h.Real(c.openInterest);
    h.Real(c.impliedVol);
    h.Real(c.volume);
  }
  return text::Format("%016llx", static_cast<unsigned long long>(h.Value()));
}

}  // namespace store
