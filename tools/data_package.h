// The program's data files, built into tplpack at build time from data/.
#pragma once

#include <cstddef>

namespace nimbalo {

struct PackedFile {
  const char* Path;  // relative, "/"-separated, e.g. "templates/nb_html.htm"
  const unsigned char* Bytes;
  std::size_t Size;
};

extern const PackedFile kPackedFiles[];
extern const std::size_t kPackedFileCount;

}  // namespace nimbalo
