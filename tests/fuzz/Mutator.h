#pragma once
// Damaged copies of a valid picture file: bit flips, truncation, huge widths
// and heights, wrong offsets and zero sizes. The fields that hold sizes,
// dimensions and offsets are found by walking the file's own structure, so
// the mutations hit what a loader must check and not only random bytes.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace fuzz {

using Bytes = std::vector<uint8_t>;

enum class Format { Bmp, Ico, Wmf, Emf, Jpeg, Gif, Tiff, Png };

// A number stored in the file: where, how many bytes, in which byte order.
struct Field {
    size_t at;
    unsigned bytes;
    bool bigEndian;
};

struct Fields {
    std::vector<Field> dimensions;
    std::vector<Field> offsets;
    std::vector<Field> sizes;
};

Fields FindFields(Format format, const Bytes& file);

class Mutator {
  public:
    Mutator(Format format, Bytes original);
    // One to three mutations picked by the generator; `applied` names them.
    Bytes Mutate(std::mt19937& random, std::string& applied) const;

  private:
    Format format_;
    Bytes original_;
    Fields fields_;
};

// The generator of case `index` of a format under `seed`: each case can be
// replayed on its own.
std::mt19937 CaseRandom(uint32_t seed, Format format, uint32_t index);

} // namespace fuzz
