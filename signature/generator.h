// Signature files from the templates in the templates folder.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/prompt.h"
#include "signature/template_converter.h"

namespace nimbalo {

// "Created by Nimbalo v1.5 • <address>", plain and with the address as a link.
std::string CreatedByText();
std::string CreatedByHtml();

// Percent-encodes control bytes, bytes from 0x80 up, and blank # % * + < >.
std::string EscapeUrl(std::string_view text);

// The locale's short date, a blank and its long time; the date alone at exactly midnight.
std::string SignatureDateTime(const std::tm& local);

// Fills the placeholders of every template into the signature folder (Options.SigFolder)
// as "SIG_" + the template's name, then refreshes "SIG_nb_default.txt" / "SIG_nb_default.htm"
// from the signature chosen in Options.Sig_File. A missing or empty templates folder is
// reported through `prompt` and ends the run before any file is written.
//
// Returns the plain-text signature ("SIG_nb_text.txt") as the main window shows it, with
// the linked "Created by" line in its plain form; nothing when that file does not exist,
// in which case the view keeps what it had.
std::optional<std::vector<std::string>> GenerateSignatures(DuzTextTemplateConverter& converter,
                                                           Prompt& prompt);

}  // namespace nimbalo
