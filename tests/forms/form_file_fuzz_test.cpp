// Runs the form file fuzz entry over the committed corpus and a bounded
// number of seeded mutations of it, so that the ordinary test build (and its
// sanitizers) exercises the reader with broken files on every run.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "scratch.h"
#include "session/session_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace olm::testing {
namespace {

int Fuzz(const std::string& input) {
  return LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

std::vector<std::string> Corpus() {
  std::vector<std::string> corpus;
  for (const auto& entry : std::filesystem::directory_iterator(FORM_FUZZ_CORPUS))
    corpus.push_back(ReadFile(entry.path().string()));
  return corpus;
}

// One random change of the kinds that break form files: a byte replaced by a
// separator, digit, quote, apostrophe or line end, an inserted number at a
// limit, a cut, a deleted or a repeated stretch.
void Mutate(std::string& text, std::mt19937& random) {
  static const std::string kBytes = "0123456789,\"'\r\n -|.";
  static const char* const kNumbers[] = {"0", "-1", "32767", "-32768", "40000", "25", "26", "80", "81", "1e9"};
  auto pick = [&](size_t n) { return n == 0 ? size_t(0) : size_t(random() % n); };
  const size_t at = pick(text.size() + 1);
  switch (random() % 6) {
    case 0:
      if (at < text.size()) text[at] = kBytes[pick(kBytes.size())];
      break;
    case 1: text.insert(at, kNumbers[pick(std::size(kNumbers))]); break;
    case 2: text.resize(at); break;
    case 3: text.erase(at, pick(16)); break;
    case 4: text.insert(at, text.substr(at, pick(40))); break;
    default:
      if (at < text.size()) text[at] = char(random());
      break;
  }
}

TEST(FormFileFuzzTest, CorpusAndMutationsNeverCrash) {
  const SessionSettings saved = Session();
  const std::vector<std::string> corpus = Corpus();
  ASSERT_FALSE(corpus.empty());
  for (const std::string& input : corpus) EXPECT_EQ(Fuzz(input), 0);
  std::mt19937 random(20261211);
  for (int i = 0; i < 4000; ++i) {
    std::string input = corpus[random() % corpus.size()];
    for (int changes = 1 + int(random() % 6); changes > 0; --changes) Mutate(input, random);
    Fuzz(input);
  }
  Session() = saved;
}

}  // namespace
}  // namespace olm::testing
