// Small string and file helpers shared by the whole program. Texts are Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nimbalo {

// Milliseconds of a free-running 32-bit tick counter (wraps after about 49 days).
using TickSource = std::uint32_t (*)();
std::uint32_t SystemTickCount();
// Replaces the counter Delay reads (nullptr restores the system's). For tests.
void SetTickSource(TickSource source);

// Waits until the tick counter has advanced by at least `milliseconds` (modulo 2^32),
// running the user-interface thread's pending events on every turn. <= 0 returns at once.
void Delay(int milliseconds);

bool IsHex(const std::string& text);
// Two random lower-case letters, the local minute, the second and a random 0-99, e.g. "qk4170".
std::string RandomName();
// In every line, replaces each occurrence of `search` by `replacement`, left to right,
// without searching inserted text again. Case-sensitive; an empty search changes nothing.
std::vector<std::string>& ReplaceInList(std::vector<std::string>& lines, const std::string& search,
                                        const std::string& replacement);
std::string StripLeading(const std::string& text, char c);
std::string StripTrailing(const std::string& text, char c);
std::string TrimChar(const std::string& text, char c);
std::string RemoveChar(const std::string& text, char c);
// True for "" and for decimal digits whose value fits a signed 32-bit integer.
bool IsNumeric(const std::string& text);

// Copies a file in 2048-byte blocks. 0 copied, 1 same path (after trimming blanks),
// 2 source not opened, 3 target not created, 4 incomplete write. Read, write or close
// errors throw std::system_error.
int CopyFileBlocks(const std::string& source, const std::string& target);

// Replaces every occurrence of `search` (case-sensitive, left to right, no rescan).
std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement);

}  // namespace nimbalo
