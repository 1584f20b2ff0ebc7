// Copies for the first-run installation:
//   copyhelper -cpf SOURCE TARGET   copies the folder SOURCE into the folder TARGET
//   copyhelper -cp SOURCE TARGET    copies the file SOURCE to the file TARGET
#include <filesystem>
#include <iostream>
#include <string_view>

namespace fs = std::filesystem;

namespace {
int Usage() {
  std::cerr << "usage: copyhelper -cpf SOURCE_FOLDER TARGET_FOLDER\n"
               "       copyhelper -cp SOURCE_FILE TARGET_FILE\n";
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Usage();
  const std::string_view mode = argv[1];
  const fs::path source = argv[2];
  const fs::path target = argv[3];
  std::error_code error;
  if (mode == "-cpf") {
    if (!fs::is_directory(source, error)) {
      std::cerr << "copyhelper: " << source.string() << " is not a folder\n";
      return 1;
    }
    const fs::path into = target / source.filename();
    fs::create_directories(into, error);
    if (!error) {
      fs::copy(source, into, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
               error);
    }
  } else if (mode == "-cp") {
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
    if (!error) {
      fs::permissions(target, fs::status(source).permissions(), error);
    }
  } else {
    return Usage();
  }
  if (error) {
    std::cerr << "copyhelper: cannot copy " << source.string() << " to " << target.string() << ": "
              << error.message() << "\n";
    return 1;
  }
  return 0;
}
