// Request texts of the observation download.
#pragma once

#include <string>

namespace nimbalo {

// The public server's folder of decoded reports; the environment variable
// NIMBALO_OBSERVATION_URL, when set and non-empty, replaces it (tests, acceptance checks).
inline constexpr const char* DefaultObservationUrlPrefix =
    "https://tgftp.nws.noaa.gov/data/observations/metar/decoded/";

// The address of the station's decoded report: prefix + `stationId` + ".TXT". The identifier
// is kept as typed; only bytes that cannot stand in an address are percent-encoded.
std::string ObservationUrl(const std::string& stationId);

// The user agent of the program's downloads.
std::string DownloadAgent();

}  // namespace nimbalo
