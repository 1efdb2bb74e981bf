// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>

#include "bench/LibraryGenerator.h"

// Writes a generated library as the XML property list that iTunes keeps
// beside its library: tab-indented, one key and its value per line, "&", "<"
// and ">" as numeric character references.
namespace quorvella {

// The whole document in memory; for small libraries in tests.
std::string LibraryXml(const GeneratedLibrary& library);

// Streams the document to an open file through a large buffer. Returns false
// and says why in `error` when writing fails.
bool WriteLibraryXml(const GeneratedLibrary& library, std::FILE* file, std::string& error);

// Writes the document to a file at `path` ("-" for standard output).
bool WriteLibraryXmlFile(const GeneratedLibrary& library, const std::string& path, std::string& error);

}  // namespace quorvella
