#pragma once
// The JSON Schema (draft 2020-12) of every JSON document q7xctl prints: the settings of both
// models key by key (their values, ranges and nesting; any subset validates, so that a file of
// some settings for `set --from` does too), the comparison, the check, the identification, the
// keys and the error. It is made from the same descriptions of the settings that the program
// reads and writes them with, once at build time, and installed beside the language files.
#include "cli/fieldtext.h"
#include "cli/jsonwriter.h"

namespace q7x::cli {

// The schema, its titles in the words of `words` (the build uses English).
JsonNode jsonSchema(const FieldText &words);

} // namespace q7x::cli
