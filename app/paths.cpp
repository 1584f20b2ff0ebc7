#include "app/paths.h"

namespace nimbalo {

std::string ProgramFolder;
std::string DataFolder;
std::string TempFolder;

std::string TemplatesFolder() {
  return DataFolder + "templates/";
}
std::string ImagesFolder() {
  return DataFolder + "templates/images/";
}

}  // namespace nimbalo
