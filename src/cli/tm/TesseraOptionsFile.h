#pragma once
// Tessera's options for an analysis, read from an INI file that the user writes once and
// reuses. Reading a file fills an option set and marks it initialised, so every one of the
// 48 options is written into Tessera before the job runs: those the file leaves out with the
// values they already hold (False, 0 or empty in a new set).
//
// The file:
//
//     ; a comment; so is a line starting with #
//     [General]
//     MinimumMatchValue = 75
//     CopySourceOnNoMatch = yes
//
//     [SubstitutionLocalisation]
//     GroupSeparator = " "
//
// - One section a group, named as the option set's property names group them: Concordance,
//   General, Penalties, SubstitutionLocalisation, TermRecognition, Tools,
//   TranslatedTextColours (a trailing "Options" is allowed: [GeneralOptions]).
// - In a section, a key is the property name without "Options" and the group
//   (MinimumMatchValue), or the full property name (OptionsGeneralMinimumMatchValue). Before
//   any section only full names are taken, so a flat file of full names works too.
// - Section and key names are case-insensitive. Each option may be given once.
// - Values: Booleans true/false, yes/no, on/off, 1/0; numbers whole, decimal or "0x"
//   hexadecimal (handy for colours), within the 32-bit range; texts the rest of the line,
//   in double quotes to keep spaces at either end ("" is an empty text).
// - The sections of a rate grid ([Rates], [Shares]; see RateGridFile.h) are passed over
//   here: a client's grid may live in the same file, and its own reader checks them.
// - Comments are whole lines only, since a text value may hold ";" or "#".
// - The file is in the system's narrow encoding (UTF-8 in practice); a UTF-8 byte order mark
//   is skipped.

#include <filesystem>
#include <string>

#include "tessera/clsBATesseraSettings.h"

namespace orv::cli {

// Sets the options the file names and then WasInitialised. Throws UsageError naming the
// file and line for an unreadable file, an unknown section or key (with the closest name
// when one is close), an option given twice, a malformed line or a value of the wrong type
// (with the type expected); `settings` is left unchanged then.
void ReadTesseraOptionsFile(const std::filesystem::path& file, clsBATesseraSettings& settings);

// An options file that sets every option to the value of a new option set, each with a
// comment that names the property and the values it takes: for a user to copy and edit.
// Reading it gives a new option set, marked initialised.
std::string TesseraOptionsTemplate();

}  // namespace orv::cli
