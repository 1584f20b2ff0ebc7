// Unpacks the program's data (templates, pictures, station catalogue, cookies, manual)
// into the current folder. Files that already exist are kept, so a user's edited
// templates survive a reinstallation.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

#include "tools/data_package.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc > 1) {
    const std::string_view arg = argv[1];
    if (arg == "--help" || arg == "-h") {
      std::cout << "Usage: tplpack\nUnpacks Nimbalo's templates, pictures, station catalogue, "
                   "cookie file and manual into the current folder; existing files are kept.\n";
      return 0;
    }
    std::cerr << "tplpack: unexpected argument '" << arg << "' (see --help)\n";
    return 2;
  }
  int failures = 0;
  for (std::size_t i = 0; i < nimbalo::kPackedFileCount; ++i) {
    const nimbalo::PackedFile& file = nimbalo::kPackedFiles[i];
    const fs::path target(file.Path);
    std::error_code error;
    if (fs::exists(target, error)) continue;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
    const fs::path partial = target.string() + ".part";
    {
      std::ofstream out(partial, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(file.Bytes), static_cast<std::streamsize>(file.Size));
      out.close();
      if (!out) {
        std::cerr << "tplpack: cannot write " << fs::absolute(target, error).string() << "\n";
        fs::remove(partial, error);
        ++failures;
        continue;
      }
    }
    fs::rename(partial, target, error);
    if (error) {
      std::cerr << "tplpack: cannot create " << target.string() << ": " << error.message() << "\n";
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
